#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "device/device_open.h"
#include "device/direct_input.h"
#include "engine/engine_state.h"
#include "host/dinput/call_log.h"
#include "host/dinput/fault_injection.h"
#include "settings/test_settings.h"
#include "support/call_log_view.h"
#include "support/case_name.h"
#include "support/program_fixture.h"

namespace {

class DeviceOpenTest : public ProgramTest {
 protected:
  // Lists the devices and opens entry `index`, returning where its traffic starts in the log.
  size_t Open(int index = 0) {
    EXPECT_EQ(InitDirectInput().status, DeviceListStatus::Ok);
    host::ClearDebugOutput();
    size_t start = host::CallLogSize();
    result = SelectFFBDevice(dialog, index);
    return start;
  }
  HRESULT result = S_OK;
};

TEST_F(DeviceOpenTest, ConfiguresTheWheelAndCreatesItsFiveEffects) {
  AttachWheel();
  deviceLost = false;
  size_t start = Open();
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(deviceLost);
  EXPECT_TRUE(TraceLines().empty());
  EXPECT_EQ(MethodNamesSince(start),
            (std::vector<std::string>{"CreateDevice", "SetDataFormat", "SetCooperativeLevel", "SetProperty",
                                      "SetProperty", "SetProperty", "GetProperty", "SetProperty", "EnumObjects",
                                      "GetDeviceInfo", "CreateEffect", "CreateEffect", "CreateEffect",
                                      "CreateEffect", "CreateEffect"}));

  std::vector<host::CallRecord> cooperative = CallsOf(host::Method::SetCooperativeLevel, start);
  ASSERT_EQ(cooperative.size(), 1u);
  EXPECT_EQ(cooperative[0].flags, static_cast<DWORD>(DISCL_EXCLUSIVE | DISCL_BACKGROUND));

  struct PropertyRow {
    DWORD property;
    DWORD how;
    DWORD data;
  };
  const PropertyRow expectedSets[] = {
      {9, DIPH_DEVICE, DIPROPAUTOCENTER_OFF},  // DIPROP_AUTOCENTER
      {7, DIPH_DEVICE, 10000},                         // DIPROP_FFGAIN
      {1, DIPH_DEVICE, 10},                            // DIPROP_BUFFERSIZE
  };
  std::vector<host::CallRecord> sets = CallsOf(host::Method::SetProperty, start);
  ASSERT_EQ(sets.size(), 4u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(sets[i].property.property, expectedSets[i].property) << "row " << i;
    EXPECT_EQ(sets[i].property.dwSize, sizeof(DIPROPDWORD)) << "row " << i;
    EXPECT_EQ(sets[i].property.dwHow, expectedSets[i].how) << "row " << i;
    EXPECT_EQ(sets[i].property.data, expectedSets[i].data) << "row " << i;
  }
  // Every axis gets the X axis's logical range.
  EXPECT_EQ(sets[3].property.property, 4u);  // DIPROP_RANGE
  EXPECT_EQ(sets[3].property.dwHow, static_cast<DWORD>(DIPH_DEVICE));
  EXPECT_EQ(sets[3].property.min, 0);
  EXPECT_EQ(sets[3].property.max, 65535);

  std::vector<host::CallRecord> reads = CallsOf(host::Method::GetProperty, start);
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].property.property, 19u);  // DIPROP_LOGICALRANGE
  EXPECT_EQ(reads[0].property.dwObj, static_cast<DWORD>(DIJOFS_X));
  EXPECT_EQ(reads[0].property.dwHow, static_cast<DWORD>(DIPH_BYOFFSET));

  const GUID* types[] = {&GUID_ConstantForce, &GUID_Spring, &GUID_Damper, &GUID_Inertia, &GUID_Friction};
  std::vector<host::CallRecord> creations = CallsOf(host::Method::CreateEffect, start);
  ASSERT_EQ(creations.size(), 5u);
  for (int slot = 0; slot < 5; ++slot) {
    const host::LoggedEffect& e = creations[slot].effectParams;
    EXPECT_EQ(std::memcmp(&creations[slot].guid, types[slot], sizeof(GUID)), 0) << "slot " << slot;
    EXPECT_EQ(e.dwSize, sizeof(DIEFFECT)) << "slot " << slot;
    EXPECT_EQ(e.dwFlags, static_cast<DWORD>(DIEFF_CARTESIAN | DIEFF_OBJECTOFFSETS)) << "slot " << slot;
    EXPECT_EQ(e.dwDuration, INFINITE) << "slot " << slot;
    EXPECT_EQ(e.dwGain, 10000u) << "slot " << slot;
    EXPECT_EQ(e.dwTriggerButton, static_cast<DWORD>(DIEB_NOTRIGGER)) << "slot " << slot;
    EXPECT_EQ(e.cAxes, 2u) << "slot " << slot;
    EXPECT_EQ(e.axes[0], static_cast<DWORD>(DIJOFS_X)) << "slot " << slot;
    EXPECT_EQ(e.axes[1], static_cast<DWORD>(DIJOFS_Y)) << "slot " << slot;
    EXPECT_EQ(e.directions[0], 1) << "slot " << slot;
    EXPECT_EQ(e.directions[1], 0) << "slot " << slot;
    EXPECT_FALSE(e.hasEnvelope) << "slot " << slot;
    EXPECT_EQ(e.typeSpecificSize, slot == 0 ? 4u : 48u) << "slot " << slot;
    for (DWORD b = 0; b < e.typeSpecificCopied; ++b) EXPECT_EQ(e.typeSpecific[b], 0) << "slot " << slot;
    EXPECT_NE(g_pEffect[slot], nullptr) << "slot " << slot;
  }
}

struct ShapeCase {
  const char* what;
  int actuators;
  uint16_t vendor;
  DWORD expectedAxes;
  bool springAlongY;
};

void PrintTo(const ShapeCase& c, std::ostream* out) { *out << c.what; }

class EffectShapeTest : public DeviceOpenTest, public testing::WithParamInterface<ShapeCase> {};

TEST_P(EffectShapeTest, FollowsTheAxisCountAndTheVendor) {
  const ShapeCase& c = GetParam();
  host::AttachDevice(host::GameControllerDescription("Pad", c.vendor, 0x0042, c.actuators));
  size_t start = Open();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ffAxisCount, c.expectedAxes);
  EXPECT_EQ(deviceVendorId, c.vendor);
  std::vector<host::CallRecord> creations = CallsOf(host::Method::CreateEffect, start);
  ASSERT_EQ(creations.size(), 5u);
  for (int slot = 0; slot < 5; ++slot) {
    const host::LoggedEffect& e = creations[slot].effectParams;
    EXPECT_EQ(e.cAxes, c.expectedAxes) << "slot " << slot;
    EXPECT_EQ(e.typeSpecificSize, slot == 0 ? 4u : 24u * c.expectedAxes) << "slot " << slot;
    bool alongY = (slot == 1 && c.springAlongY);
    EXPECT_EQ(e.directions[0], alongY ? 0 : 1) << "slot " << slot;
    if (c.expectedAxes > 1) {
      EXPECT_EQ(e.directions[1], alongY ? 1 : 0) << "slot " << slot;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Devices, EffectShapeTest,
                         testing::Values(ShapeCase{"one actuator", 1, 0x1234, 1, false},
                                         ShapeCase{"two actuators", 2, 0x1234, 2, false},
                                         ShapeCase{"three actuators count as two", 3, 0x1234, 2, false},
                                         ShapeCase{"the Y-spring vendor", 2, 0x045E, 2, true}),
                         test_support::NamedByWhat());

TEST_F(DeviceOpenTest, AnUnimplementedLogicalRangeIsSkippedSilently) {
  host::DeviceDescription pad = host::GameControllerDescription("Pad", 0x1234, 1, 2);
  pad.logicalRangeNotImplemented = true;
  host::AttachDevice(pad);
  size_t start = Open();
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(TraceLines().empty());
  std::vector<host::CallRecord> sets = CallsOf(host::Method::SetProperty, start);
  ASSERT_EQ(sets.size(), 3u);  // autocentre, gain, buffer size; no range
  EXPECT_EQ(CallsOf(host::Method::CreateEffect, start).size(), 5u);
}

struct FailingStepCase {
  host::Method method;
  uint32_t skip;  // matching calls let through first
  const char* trace;
  bool fatal;
  int effectsLeft;
};

void PrintTo(const FailingStepCase& c, std::ostream* out) { *out << c.trace; }

class FailingStepTest : public DeviceOpenTest, public testing::WithParamInterface<FailingStepCase> {};

TEST_P(FailingStepTest, IsTracedAndEndsTheOpening) {
  const FailingStepCase& c = GetParam();
  const HRESULT code = DIERR_INVALIDPARAM;
  AttachWheel();
  ASSERT_EQ(InitDirectInput().status, DeviceListStatus::Ok);
  host::ClearDebugOutput();
  host::FaultScope scope;
  scope.skip = c.skip;
  ASSERT_TRUE(host::FailNextCalls(c.method, 1, code, scope));
  HRESULT hr = SelectFFBDevice(dialog, 0);
  EXPECT_EQ(TraceLines(), std::vector<std::string>{std::string(c.trace) + " " + CodeText(code)});
  EXPECT_EQ(hr, c.fatal ? code : 0);
  int effects = 0;
  for (IDirectInputEffect* effect : g_pEffect) effects += effect != nullptr;
  EXPECT_EQ(effects, c.effectsLeft);
  EXPECT_EQ(g_pDevice == nullptr, c.method == host::Method::CreateDevice);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailingStepTest,
    testing::Values(FailingStepCase{host::Method::CreateDevice, 0, "CreateDevice() Failed", true, 0},
                    FailingStepCase{host::Method::SetDataFormat, 0, "SetDataFormat() Failed", true, 0},
                    FailingStepCase{host::Method::SetCooperativeLevel, 0, "SetCooperativeLevel() Failed", true, 0},
                    FailingStepCase{host::Method::SetProperty, 0, "SetProperty(DIPROP_AUTOCENTER) Failed", true, 0},
                    FailingStepCase{host::Method::SetProperty, 1, "SetProperty(DIPROP_FFGAIN) Failed", true, 0},
                    FailingStepCase{host::Method::SetProperty, 2, "SetProperty(DIPROP_BUFFERSIZE) Failed", true, 0},
                    FailingStepCase{host::Method::SetProperty, 3, "SetProperty(DIPROP_RANGE) Failed", true, 0},
                    FailingStepCase{host::Method::GetProperty, 0, "GetProperty(DIPROP_LOGICALRANGE) Failed", false, 5},
                    FailingStepCase{host::Method::EnumObjects, 0, "EnumObjects() Failed", true, 0},
                    FailingStepCase{host::Method::GetDeviceInfo, 0, "GetDeviceInfo() Failed", false, 5},
                    FailingStepCase{host::Method::CreateEffect, 0, "CreateEffect(0) Failed", true, 0},
                    FailingStepCase{host::Method::CreateEffect, 2, "CreateEffect(2) Failed", true, 2}),
    [](const testing::TestParamInfo<FailingStepCase>& info) { return test_support::CaseName(info.param.trace); });

TEST_F(DeviceOpenTest, AnInvalidIndexKeepsTheOpenDeviceButMarksItLost) {
  AttachWheel();
  OpenFirstDevice();
  IDirectInputDevice8A* open = g_pDevice;
  deviceLost = false;
  host::ClearDebugOutput();
  EXPECT_EQ(SelectFFBDevice(dialog, 7), 1);
  EXPECT_EQ(SelectFFBDevice(dialog, -1), 1);
  EXPECT_EQ(g_pDevice, open);
  EXPECT_TRUE(deviceLost);
  EXPECT_EQ(TraceLines(), (std::vector<std::string>{"SelectFFBDevice() Selected invalid device 7",
                                                    "SelectFFBDevice() Selected invalid device -1"}));
}

TEST_F(DeviceOpenTest, WithoutDirectInputNothingIsOpened) {
  EXPECT_EQ(SelectFFBDevice(dialog, 0), E_FAIL);
  EXPECT_EQ(TraceLines(), std::vector<std::string>{"Invalid g_pDI handle"});
}

TEST_F(DeviceOpenTest, KillFfbOnFocusLossOpensInForegroundMode) {
  AttachWheel();
  testSettings.killFFBOnFocusLoss = true;
  size_t start = Open();
  std::vector<host::CallRecord> cooperative = CallsOf(host::Method::SetCooperativeLevel, start);
  ASSERT_EQ(cooperative.size(), 1u);
  EXPECT_EQ(cooperative[0].flags, static_cast<DWORD>(DISCL_EXCLUSIVE | DISCL_FOREGROUND));
}

TEST_F(DeviceOpenTest, ADeviceWithoutForceFeedbackOpensAsFarAsItCan) {
  host::AttachDevice(host::KeyboardDescription());
  size_t start = Open();
  (void)start;
  EXPECT_NE(g_pDevice, nullptr);
  EXPECT_LT(result, 0);
  std::vector<std::string> lines = TraceLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("Failed (0x"), std::string::npos) << lines[0];
  for (IDirectInputEffect* effect : g_pEffect) EXPECT_EQ(effect, nullptr);
}

}  // namespace

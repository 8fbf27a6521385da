#include <ostream>
#include <string>
#include <vector>

#include "app/program_exit.h"
#include "device/device_open.h"
#include "device/direct_input.h"
#include "host/dinput/fault_injection.h"
#include "host/dinput/live_objects.h"
#include "support/case_name.h"
#include "settings/test_settings.h"
#include "support/program_fixture.h"

namespace {

std::vector<std::string> ListedNames() {
  std::vector<std::string> names;
  for (int i = 0; i < deviceCount; ++i) names.emplace_back(deviceList[i].tszInstanceName);
  return names;
}

class EnumerationTest : public ProgramTest {};

struct ListCase {
  const char* what;
  bool withWheel;
  bool showAll;
  std::vector<std::string> expected;
};

void PrintTo(const ListCase& c, std::ostream* out) { *out << c.what; }

class DevicePreferenceTest : public EnumerationTest, public testing::WithParamInterface<ListCase> {};

TEST_P(DevicePreferenceTest, PrefersForceFeedbackControllersAndFallsBackToEverything) {
  const ListCase& c = GetParam();
  host::AttachDevice(host::KeyboardDescription());
  host::AttachDevice(host::MouseDescription());
  host::AttachDevice(host::GameControllerDescription("Pad", 0x1234, 0x0001, 0));
  if (c.withWheel) AttachWheel();
  testSettings.showAllDevices = c.showAll;
  ASSERT_EQ(InitDirectInput().status, DeviceListStatus::Ok);
  EXPECT_EQ(ListedNames(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, DevicePreferenceTest,
    testing::Values(ListCase{"wheel, keyboard and mouse", true, false, {"Vantrel Virtual Wheel"}},
                    ListCase{"the same with Show all devices", true, true,
                             {"Keyboard", "Mouse", "Pad", "Vantrel Virtual Wheel"}},
                    ListCase{"no force-feedback controller", false, false, {"Keyboard", "Mouse", "Pad"}}),
    test_support::NamedByWhat());

TEST_F(EnumerationTest, ListsAtMostFifteenOfTwentyDevices) {
  for (int i = 0; i < 20; ++i) {
    host::AttachDevice(host::GameControllerDescription("Pad " + std::to_string(i), 0x1234,
                                                       static_cast<uint16_t>(i + 1), 1));
  }
  testSettings.showAllDevices = true;
  ASSERT_EQ(InitDirectInput().status, DeviceListStatus::Ok);
  ASSERT_EQ(deviceCount, 15);
  EXPECT_EQ(ListedNames().back(), "Pad 14");
  // The sixteenth slot stays untouched.
  EXPECT_EQ(deviceList[15].dwSize, 0u);
}

// The device layer answers with a status; what the user is told is the front end's choice
// (the dialog's message boxes are checked with WinMain).
TEST_F(EnumerationTest, NoDeviceAtAllIsAnsweredAsNoDevice) {
  DeviceListResult result = InitDirectInput();
  EXPECT_EQ(result.status, DeviceListStatus::NoDevice);
  EXPECT_EQ(result.code, S_OK);
  EXPECT_EQ(deviceCount, 0);
  EXPECT_EQ(host::MessageBoxCount(), 0u);
  EXPECT_TRUE(IsWindow(dialog));
}

TEST_F(EnumerationTest, CreationAndEnumerationFailuresAreTracedAndReturned) {
  AttachWheel();
  ASSERT_TRUE(host::FailNextCalls(host::Method::DirectInput8Create, 1, E_OUTOFMEMORY));
  DeviceListResult noDirectInput = InitDirectInput();
  EXPECT_EQ(noDirectInput.status, DeviceListStatus::NoDirectInput);
  EXPECT_EQ(noDirectInput.code, E_OUTOFMEMORY);
  EXPECT_EQ(TraceLines(), std::vector<std::string>{"DirectInput8Create() Failed " + CodeText(E_OUTOFMEMORY)});

  host::ClearDebugOutput();
  ASSERT_TRUE(host::FailNextCalls(host::Method::EnumDevices, 1, DIERR_INVALIDPARAM));
  DeviceListResult enumerationFailed = InitDirectInput();
  EXPECT_EQ(enumerationFailed.status, DeviceListStatus::EnumerationFailed);
  EXPECT_EQ(enumerationFailed.code, DIERR_INVALIDPARAM);
  EXPECT_EQ(TraceLines(), std::vector<std::string>{"EnumDevices() Failed " + CodeText(DIERR_INVALIDPARAM)});
  EXPECT_EQ(host::MessageBoxCount(), 0u);
}

TEST_F(EnumerationTest, RefreshKeepsTheSelectedDeviceByItsInstanceGuid) {
  host::AttachDevice(host::GameControllerDescription("Pad A", 0x1234, 1, 1));
  host::DeviceId b = host::AttachDevice(host::GameControllerDescription("Pad B", 0x1234, 2, 2));
  ASSERT_EQ(InitDirectInput().status, DeviceListStatus::Ok);
  int selection = -1;
  ASSERT_EQ(RefreshDeviceList(dialog, selection).status, DeviceListStatus::Ok);
  ASSERT_EQ(ListedNames(), (std::vector<std::string>{"Pad A", "Pad B"}));
  EXPECT_EQ(selection, 0);
  SelectFFBDevice(dialog, 1);

  // A new device arrives: the selection follows "Pad B".
  host::AttachDevice(host::GameControllerDescription("Pad C", 0x1234, 3, 1));
  ASSERT_EQ(RefreshDeviceList(dialog, selection).status, DeviceListStatus::Ok);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Pad A", "Pad B", "Pad C"}));
  EXPECT_EQ(selection, 1);
  EXPECT_EQ(ffAxisCount, 2u);

  // The selected device is unplugged: entry 0 is opened.
  host::DetachDevice(b);
  ASSERT_EQ(RefreshDeviceList(dialog, selection).status, DeviceListStatus::Ok);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Pad A", "Pad C"}));
  EXPECT_EQ(selection, 0);
  EXPECT_EQ(ffAxisCount, 1u);
  EXPECT_NE(g_pDevice, nullptr);
}

TEST_F(EnumerationTest, ReleasingTwiceOrWithNothingOpenDoesNothing) {
  ReleaseDevice();
  ShutdownDirectInput();
  AttachWheel();
  OpenFirstDevice();
  EXPECT_EQ(host::LiveObjects().effects, 5);
  ShutdownDirectInput();
  ShutdownDirectInput();
  ReleaseDevice();
  EXPECT_EQ(g_pDI, nullptr);
  EXPECT_EQ(g_pDevice, nullptr);
  for (IDirectInputEffect* effect : g_pEffect) EXPECT_EQ(effect, nullptr);
  host::LiveObjectCounts live = host::LiveObjects();
  EXPECT_EQ(live.directInput + live.devices + live.effects, 0);
}

struct ReleaseCase {
  const char* what;
  bool unplug;
  HRESULT unacquireFault;
};

void PrintTo(const ReleaseCase& c, std::ostream* out) { *out << c.what; }

class ReleaseTest : public EnumerationTest, public testing::WithParamInterface<ReleaseCase> {};

TEST_P(ReleaseTest, AnUnpluggedOrFailingDeviceIsStillFreedWhole) {
  const ReleaseCase& c = GetParam();
  host::DeviceId wheel = AttachWheel();
  OpenFirstDevice();
  if (c.unplug) {
    ASSERT_TRUE(host::DetachDevice(wheel));
  }
  if (c.unacquireFault != S_OK) {
    ASSERT_TRUE(host::FailNextCalls(host::Method::Unacquire, 1, c.unacquireFault));
  }
  ShutdownDirectInput();
  EXPECT_EQ(g_pDevice, nullptr);
  host::LiveObjectCounts live = host::LiveObjects();
  EXPECT_EQ(live.directInput + live.devices + live.effects, 0);
}

INSTANTIATE_TEST_SUITE_P(Devices, ReleaseTest,
                         testing::Values(ReleaseCase{"unplugged wheel", true, S_OK},
                                         ReleaseCase{"Unacquire failing", false, DIERR_INPUTLOST}),
                         test_support::NamedByWhat());

}  // namespace

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "device/device_open.h"
#include "device/direct_input.h"
#include "engine/engine_state.h"
#include "engine/force_tick.h"
#include "engine/tick_values.h"
#include "host/dinput/call_log.h"
#include "host/dinput/fault_injection.h"
#include "settings/test_settings.h"
#include "support/call_log_view.h"
#include "support/program_fixture.h"

namespace {

class ForceTickTest : public ProgramTest {
 protected:
  // A scripted controller with the given X range; its axes read what the test sets.
  host::DeviceId AttachPad(LONG logicalMin, LONG logicalMax, bool rangeNotImplemented = false) {
    host::DeviceDescription pad = host::GameControllerDescription("Pad", 0x1234, 1, 2);
    pad.logicalMin = logicalMin;
    pad.logicalMax = logicalMax;
    pad.logicalRangeNotImplemented = rangeNotImplemented;
    return host::AttachDevice(pad);
  }
  void OpenAndAcquire() {
    OpenFirstDevice();
    ForceTick();
    ASSERT_FALSE(deviceLost);
    host::ClearDebugOutput();
  }
};

TEST_F(ForceTickTest, WithNoDeviceOpenNothingHappens) {
  ledSweepActive = true;
  ledLevel = -0.1f;
  ForceTick();
  EXPECT_EQ(host::CallLogSize(), 0u);
  EXPECT_EQ(host::RecordedSystemCalls().sleepCalls, 0u);
  EXPECT_EQ(ledLevel, -0.1f);
  EXPECT_EQ(tickCount, 0);
}

TEST_F(ForceTickTest, TheFirstTickAcquiresSwitchesTheActuatorsOnAndReads) {
  AttachWheel();
  OpenFirstDevice();
  size_t start = host::CallLogSize();
  ForceTick();
  // The first tick is a refresh: every slot gets its Start or Stop, here Stop in "Disabled".
  EXPECT_EQ(MethodNamesSince(start),
            (std::vector<std::string>{"Acquire", "SendForceFeedbackCommand", "Poll", "GetDeviceState", "GetProperty",
                                      "Stop", "Stop", "Stop", "Stop", "Stop"}));
  EXPECT_EQ(CallsOf(host::Method::SendForceFeedbackCommand, start)[0].flags, static_cast<DWORD>(DISFFC_SETACTUATORSON));
  EXPECT_EQ(CallsOf(host::Method::GetDeviceState, start)[0].value, 80u);
  EXPECT_EQ(host::RecordedSystemCalls().lastSleepMs, 100u);
  EXPECT_FALSE(deviceLost);
  EXPECT_TRUE(tickValues.refreshedThisTick);
  EXPECT_FALSE(reportRequested);
  // The previous tick time is 0, so the first frame counts as 20 ms.
  EXPECT_EQ(tickValues.frameMs, 20u);

  // The next tick only reads.
  start = host::CallLogSize();
  host::AdvanceVirtualClock(2);
  ForceTick();
  EXPECT_EQ(MethodNamesSince(start), (std::vector<std::string>{"Poll", "GetDeviceState", "GetProperty"}));
  EXPECT_EQ(tickValues.frameMs, 2u);
  EXPECT_FALSE(tickValues.refreshedThisTick);
}

TEST_F(ForceTickTest, AStallOfMoreThanASecondCountsAsTwentyMilliseconds) {
  AttachWheel();
  OpenAndAcquire();
  host::AdvanceVirtualClock(1000);
  ForceTick();
  EXPECT_EQ(tickValues.frameMs, 1000u);
  host::AdvanceVirtualClock(1001);
  ForceTick();
  EXPECT_EQ(tickValues.frameMs, 20u);
}

TEST_F(ForceTickTest, ARunOfAcquireFailuresIsTracedOnce) {
  AttachWheel();
  OpenFirstDevice();
  host::ClearDebugOutput();
  ASSERT_TRUE(host::FailNextCalls(host::Method::Acquire, 5, DIERR_OTHERAPPHASPRIO));
  for (int i = 0; i < 5; ++i) ForceTick();
  // Spelled out: the trace must carry DirectInput's own name for the code, not only E_ACCESSDENIED.
  const std::string line =
      "g_pDevice->Acquire() Failled (0x80070005) ERROR_ACCESS_DENIED & E_ACCESSDENIED & DIERR_OTHERAPPHASPRIO & "
      "DIERR_READONLY & DIERR_HANDLEEXISTS & DSERR_ACCESSDENIED";
  EXPECT_EQ(TraceLines(), std::vector<std::string>{line});
  EXPECT_EQ(host::RecordedSystemCalls().sleepCalls, 5u);
  ForceTick();
  EXPECT_FALSE(deviceLost);

  deviceLost = true;  // as an activation of the window does
  g_pDevice->Unacquire();
  ASSERT_TRUE(host::FailNextCalls(host::Method::Acquire, 1, DIERR_OTHERAPPHASPRIO));
  ForceTick();
  EXPECT_EQ(TraceLines(), (std::vector<std::string>{line, line}));
}

struct FailingCallCase {
  host::Method method;
  const char* trace;
  bool losesDevice;
};

void PrintTo(const FailingCallCase& c, std::ostream* out) { *out << c.trace; }

class FailingCallTest : public ForceTickTest, public testing::WithParamInterface<FailingCallCase> {};

TEST_P(FailingCallTest, IsTracedAndTheNextTicksRecover) {
  const FailingCallCase& c = GetParam();
  const HRESULT code = DIERR_INPUTLOST;
  AttachWheel();
  OpenFirstDevice();
  host::ClearDebugOutput();
  ASSERT_TRUE(host::FailNextCalls(c.method, 1, code));
  ForceTick();
  EXPECT_EQ(TraceLines(), std::vector<std::string>{std::string(c.trace) + " " + CodeText(code)});
  EXPECT_EQ(deviceLost, c.losesDevice);
  host::ClearDebugOutput();
  for (int i = 0; i < 3; ++i) {
    host::AdvanceVirtualClock(1);
    ForceTick();
  }
  EXPECT_TRUE(TraceLines().empty());
  EXPECT_FALSE(deviceLost);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, FailingCallTest,
    testing::Values(FailingCallCase{host::Method::SendForceFeedbackCommand,
                                    "SendForceFeedbackCommand(DISFFC_SETACTUATORSON) Failed", false},
                    FailingCallCase{host::Method::Poll, "g_pDevice->Poll() Failed", true},
                    FailingCallCase{host::Method::GetDeviceState, "g_pDevice->GetDeviceState() Failed", true},
                    FailingCallCase{host::Method::GetProperty, "GetProperty(DIPROP_RANGE) Failed", false}),
    [](const testing::TestParamInfo<FailingCallCase>& info) {
      return std::string(host::MethodName(info.param.method));
    });

TEST_F(ForceTickTest, NormalisesTheCommonFullRange) {
  host::DeviceId pad = AttachPad(0, 65535);
  OpenAndAcquire();
  // The ends of the range are the ends of a 900-degree wheel; between them one raw unit is
  // 900 / 65535 degrees.
  struct Case {
    LONG raw;
    int32_t posX;
    float degrees;
  };
  const Case cases[] = {{0, -10000, -450.0f},
                        {65535, 10000, 450.0f},
                        {32767, 0, -0.00687f},
                        {49151, 4999, 224.99657f},
                        {1, -9999, -449.98627f}};
  for (const Case& c : cases) {
    ASSERT_TRUE(host::SetAxisValue(pad, 0, c.raw));
    ASSERT_TRUE(host::SetAxisValue(pad, 1, c.raw));
    ForceTick();
    EXPECT_EQ(tickValues.axisSpan, 65535) << c.raw;
    EXPECT_EQ(tickValues.posX, c.posX) << c.raw;
    EXPECT_EQ(tickValues.posY, c.posX) << c.raw;
    EXPECT_NEAR(tickValues.wheelDeg, c.degrees, 1e-4) << c.raw;
  }
}

TEST_F(ForceTickTest, AnUnimplementedRangeIsSilentAndUsesTheCentredSpan) {
  host::DeviceId pad = AttachPad(-10000, 10000, true);
  OpenAndAcquire();
  ASSERT_TRUE(host::SetAxisValue(pad, 0, 2500));
  ForceTick();
  EXPECT_TRUE(TraceLines().empty());
  EXPECT_EQ(tickValues.axisSpan, 20000);
  // No minimum could be read: the centred one (-10000) stands, so the position is the raw value.
  EXPECT_EQ(tickValues.lMin, -10000);
  EXPECT_EQ(tickValues.posX, tickValues.lX);
}

TEST_F(ForceTickTest, TargetsStayInsideTheRangeWhateverTheOffsetsAndNoise) {
  AttachWheel();
  OpenAndAcquire();
  testSettings.springRange = 1;
  testSettings.addSin = true;
  testSettings.addRand = true;
  for (int32_t offset : {-10000, -99, 0, 99, 10000}) {
    testSettings.springOffsetX = offset;
    testSettings.springOffsetY = -offset;
    for (int i = 0; i < 300; ++i) {
      ForceTick();
      ASSERT_EQ(tickValues.rangeLimit, 100);
      ASSERT_TRUE(tickValues.targetX >= -99 && tickValues.targetX <= 99) << tickValues.targetX;
      ASSERT_TRUE(tickValues.targetY >= -99 && tickValues.targetY <= 99) << tickValues.targetY;
    }
  }
}

TEST_F(ForceTickTest, RandomForceMayExceedFullScaleOnlyInTheWheelModes) {
  AttachWheel();
  OpenAndAcquire();
  testSettings.addRandForce = true;
  for (int mode = 1; mode <= 7; ++mode) {
    testSettings.forceMode = static_cast<ForceMode>(mode);
    int32_t highest = 0;
    for (int i = 0; i < 2000; ++i) {
      ForceTick();
      highest = std::max(highest, tickValues.forceX);
      ASSERT_GE(tickValues.forceX, 1);
      ASSERT_TRUE(tickValues.forceY >= 1 && tickValues.forceY <= 10000);
    }
    if (mode <= 4) {
      EXPECT_EQ(highest, 10000) << "mode " << mode;
    } else {
      EXPECT_GT(highest, 10000) << "mode " << mode;
      EXPECT_LE(highest, 11499) << "mode " << mode;
    }
  }
}

TEST_F(ForceTickTest, RandomNoiseHoldsItsValueUntilTheNextThirdTick) {
  AttachWheel();
  OpenAndAcquire();
  testSettings.addRand = true;
  while (randNoise == 0 || tickCount % 3 != 0) ForceTick();
  int32_t held = randNoise;
  testSettings.addRand = false;
  while (tickCount % 3 != 2) {
    ForceTick();
    ASSERT_EQ(randNoise, held);
  }
  ForceTick();
  EXPECT_EQ(randNoise, 0);
}

TEST_F(ForceTickTest, UnpluggingMidRunLosesTheDeviceAndKeepsTracingQuiet) {
  host::DeviceId wheel = AttachWheel();
  OpenAndAcquire();
  host::DetachDevice(wheel);
  ForceTick();
  EXPECT_TRUE(deviceLost);
  for (int i = 0; i < 10; ++i) ForceTick();
  std::vector<std::string> lines = TraceLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("g_pDevice->Poll() Failed (0x", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("g_pDevice->Acquire() Failled (0x", 0), 0u) << lines[1];

  host::ReattachDevice(wheel);
  ForceTick();
  EXPECT_FALSE(deviceLost);
}

}  // namespace

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "device/device_open.h"
#include "engine/effect_update.h"
#include "engine/engine_state.h"
#include "engine/force_tick.h"
#include "engine/tick_values.h"
#include "host/dinput/call_log.h"
#include "host/dinput/fault_injection.h"
#include "settings/test_settings.h"
#include "support/call_log_expectations.h"
#include "support/call_log_view.h"
#include "support/program_fixture.h"

namespace {

using host::Method;
using test_support::BytesOf;
using test_support::CallsDuring;

// The effect traffic of a tick, without the reads every tick makes.
const test_support::CallFilter effectCallsOnly{
    .ignored = {Method::Acquire, Method::SendForceFeedbackCommand, Method::Poll, Method::GetDeviceState,
                Method::GetProperty, Method::AddRef, Method::Release, Method::QueryInterface}};

DICONDITION Condition(LONG offset, LONG coefficient, DWORD saturation, LONG deadBand) {
  DICONDITION c;
  std::memset(&c, 0, sizeof(c));
  c.lOffset = offset;
  c.lPositiveCoefficient = coefficient;
  c.lNegativeCoefficient = coefficient;
  c.dwPositiveSaturation = saturation;
  c.dwNegativeSaturation = saturation;
  c.lDeadBand = deadBand;
  return c;
}

class EffectUpdateTest : public ProgramTest {
 protected:
  // Opens the device and runs the first tick, which refreshes and so starts or stops every slot.
  void OpenAndRunFirstTick() {
    OpenFirstDevice();
    Tick();
    ASSERT_FALSE(deviceLost);
    host::ClearDebugOutput();
  }
  static void Tick() {
    host::AdvanceVirtualClock(1);
    ForceTick();
  }
  static size_t SetParametersDuring(int ticks, int32_t slot) {
    size_t start = host::CallLogSize();
    for (int i = 0; i < ticks; ++i) Tick();
    size_t count = 0;
    for (const host::CallRecord& r : CallsOf(Method::SetParameters, start)) count += r.effect == slot;
    return count;
  }
};

TEST_F(EffectUpdateTest, ASteadySpringIsSentOnceUnlessAlwaysUpdating) {
  AttachWheel();
  testSettings.forceMode = ForceMode::SimpleSpring;
  OpenFirstDevice();
  EXPECT_EQ(SetParametersDuring(50, effectSlotSpring), 1u);
  testSettings.alwaysUpdateForces = true;
  EXPECT_EQ(SetParametersDuring(50, effectSlotSpring), 50u);
}

TEST_F(EffectUpdateTest, TheFirstTickRefreshesEverySlotInOrder) {
  AttachWheel();
  testSettings.forceMode = ForceMode::SimpleSpring;
  OpenFirstDevice();
  DICONDITION spring[2] = {Condition(0, 10000, 10000, 0), Condition(0, 10000, 10000, 0)};
  EXPECT_TRUE(CallsDuring(Tick,
                          {
                              {.method = Method::Stop, .effect = 0, .comment = "refresh: constant force off"},
                              {.method = Method::Start,
                               .effect = 1,
                               .flags = 0u,
                               .check = test_support::StartIterations(INFINITE),
                               .comment = "spring on"},
                              {.method = Method::SetParameters,
                               .effect = 1,
                               .flags = static_cast<DWORD>(DIEP_TYPESPECIFICPARAMS),
                               .block = BytesOf(spring),
                               .comment = "both axes' conditions"},
                              {.method = Method::Stop, .effect = 2, .comment = "damper off"},
                              {.method = Method::Stop, .effect = 3, .comment = "inertia off"},
                              {.method = Method::Stop, .effect = 4, .comment = "friction off"},
                          },
                          effectCallsOnly));
}

TEST_F(EffectUpdateTest, SwitchingFromForceSpringToSimpleSpringStopsThenStartsInSlotOrder) {
  AttachWheel();
  testSettings.forceMode = ForceMode::ForceSpring;
  OpenAndRunFirstTick();
  Tick();
  testSettings.forceMode = ForceMode::SimpleSpring;
  DICONDITION spring[2] = {Condition(0, 10000, 10000, 0), Condition(0, 10000, 10000, 0)};
  EXPECT_TRUE(CallsDuring(Tick,
                          {
                              {.method = Method::Stop, .effect = 0, .comment = "constant force off first"},
                              {.method = Method::Start, .effect = 1, .comment = "then the spring"},
                              {.method = Method::SetParameters,
                               .effect = 1,
                               .block = BytesOf(spring),
                               .comment = "with its conditions"},
                          },
                          effectCallsOnly));
}

TEST_F(EffectUpdateTest, AOneAxisDeviceGetsTwentyFourBytesAndAYOnlyChangeIsStillSent) {
  host::AttachDevice(host::GameControllerDescription("One-axis wheel", 0x1234, 0x0002, 1));
  testSettings.forceMode = ForceMode::SimpleSpring;
  OpenAndRunFirstTick();
  ASSERT_EQ(ffAxisCount, 1u);
  EXPECT_EQ(SetParametersDuring(5, effectSlotSpring), 0u);
  testSettings.springOffsetY = 2500;
  DICONDITION x = Condition(0, 10000, 10000, 0);
  EXPECT_TRUE(CallsDuring(
      Tick, {{.method = Method::SetParameters, .effect = 1, .block = BytesOf(x), .comment = "X only, 24 bytes"}},
      effectCallsOnly));
}

TEST_F(EffectUpdateTest, InertiaDampingRunsAloneInModeZero) {
  AttachWheel();
  testSettings.damperType = 2;
  testSettings.damperOffset = -300;
  testSettings.damperCoefficient = 4200;
  testSettings.damperSaturation = 9000;
  testSettings.damperDeadBand = 50;
  OpenFirstDevice();
  DICONDITION damping[2] = {Condition(-300, 4200, 9000, 50), Condition(-300, 4200, 9000, 50)};
  EXPECT_TRUE(CallsDuring(Tick,
                          {
                              {.method = Method::Stop, .effect = 0},
                              {.method = Method::Stop, .effect = 1},
                              {.method = Method::Stop, .effect = 2},
                              {.method = Method::Start, .effect = 3, .comment = "only the inertia runs"},
                              {.method = Method::SetParameters,
                               .effect = 3,
                               .block = BytesOf(damping),
                               .comment = "damping on both axes"},
                              {.method = Method::Stop, .effect = 4},
                          },
                          effectCallsOnly));
}

TEST_F(EffectUpdateTest, TheSpringVendorGetsNegatedOffsetsAndAnUnchangedConstantForce) {
  host::AttachDevice(host::GameControllerDescription("Y-spring wheel", yAxisSpringVendorId, 0x001B, 2));
  testSettings.forceMode = ForceMode::SimpleSpring;
  testSettings.springOffsetX = 2000;
  testSettings.springOffsetY = -1000;
  OpenFirstDevice();
  size_t start = host::CallLogSize();
  Tick();
  std::vector<host::CallRecord> sets = CallsOf(Method::SetParameters, start);
  ASSERT_EQ(sets.size(), 1u);
  DICONDITION sent[2];
  std::memcpy(sent, sets[0].effectParams.typeSpecific, sizeof(sent));
  EXPECT_EQ(sent[0].lOffset, -2000);
  EXPECT_EQ(sent[1].lOffset, 1000);

  testSettings.forceMode = ForceMode::ForceSpring;
  start = host::CallLogSize();
  Tick();
  sets = CallsOf(Method::SetParameters, start);
  ASSERT_EQ(sets.size(), 1u);
  DICONSTANTFORCE force;
  std::memcpy(&force, sets[0].effectParams.typeSpecific, sizeof(force));
  // The wheel sits at the centre, left of the 2000 target: the force is -forceX, not flipped.
  EXPECT_EQ(force.lMagnitude, -10000);
}

TEST_F(EffectUpdateTest, ReverseAndForceMapShapeTheConstantForceAsSent) {
  AttachWheel();
  testSettings.forceMode = ForceMode::ForceSpring;
  testSettings.springSaturationX = 4000;
  testSettings.springOffsetX = -3000;  // the centred wheel is right of the target: +4000
  testSettings.reverseConstantForce = true;
  SetMinForce(500);
  OpenFirstDevice();
  size_t start = host::CallLogSize();
  Tick();
  std::vector<host::CallRecord> sets = CallsOf(Method::SetParameters, start);
  ASSERT_EQ(sets.size(), 1u);
  DICONSTANTFORCE force;
  std::memcpy(&force, sets[0].effectParams.typeSpecific, sizeof(force));
  // -4000 through the map 0:500,10000:10000: -(4000.5 / 10000 * 9500 + 500) = -4300.
  EXPECT_EQ(force.lMagnitude, -4300);
  EXPECT_EQ(tickValues.forceOut, -4300);
}

TEST_F(EffectUpdateTest, AFailedSendIsTracedAndTheBlockIsSentAgainOnceReacquired) {
  AttachWheel();
  testSettings.forceMode = ForceMode::SimpleSpring;
  OpenAndRunFirstTick();
  testSettings.springCoefficient = 6000;
  host::FaultScope scope;
  scope.effect = effectSlotSpring;
  ASSERT_TRUE(host::FailNextCalls(Method::SetParameters, 1, DIERR_INPUTLOST, scope));
  EXPECT_EQ(SetParametersDuring(1, effectSlotSpring), 1u);
  EXPECT_EQ(TraceLines(), std::vector<std::string>{"g_pEffect[1] Failed to set parameter " + CodeText(DIERR_INPUTLOST)});
  EXPECT_TRUE(deviceLost);

  // Nothing changed since, yet the block that never arrived goes out again, exactly once.
  size_t start = host::CallLogSize();
  for (int i = 0; i < 10; ++i) Tick();
  std::vector<host::CallRecord> sets = CallsOf(Method::SetParameters, start);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].result, S_OK);
  DICONDITION sent;
  std::memcpy(&sent, sets[0].effectParams.typeSpecific, sizeof(sent));
  EXPECT_EQ(sent.lPositiveCoefficient, 6000);
}

TEST_F(EffectUpdateTest, AReopenedDeviceGetsItsRunningEffectStartedAndSent) {
  AttachWheel();
  testSettings.forceMode = ForceMode::SimpleSpring;
  OpenAndRunFirstTick();
  Tick();
  // "Kill FFB when focus lost" reopens the device: five new, stopped effects.
  testSettings.killFFBOnFocusLoss = true;
  SelectFFBDevice(dialog, 0);
  size_t start = host::CallLogSize();
  Tick();
  std::vector<host::CallRecord> starts = CallsOf(Method::Start, start);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].effect, effectSlotSpring);
  EXPECT_EQ(CallsOf(Method::SetParameters, start).size(), 1u);
}

}  // namespace

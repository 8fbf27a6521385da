// The controllers work in seconds, not in ticks: at 0.5 ms and at 2 ms per tick the smoothed
// frame time settles on the period, the PID's damping answers the wheel's speed, its integral
// the time the error lasted, and the sine keeps its frequency. The timer counts whole
// milliseconds, so 0.5 ms ticks see it move on every second tick.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <ostream>
#include <vector>

#include "settings/test_settings.h"
#include "device/device_open.h"
#include "engine/engine_state.h"
#include "engine/force_tick.h"
#include "engine/tick_values.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device_registry.h"
#include "support/case_name.h"
#include "support/program_fixture.h"

namespace {

constexpr int forceSpringPidMode = 3;
constexpr int sineWaveMode = 8;

struct TickPeriod {
  const char* what;
  uint32_t microseconds;
};

void PrintTo(const TickPeriod& p, std::ostream* out) { *out << p.what; }

class TickPeriodTest : public ProgramTest, public testing::WithParamInterface<TickPeriod> {
 protected:
  using Position = std::function<double(double seconds)>;

  void SetUp() override {
    ProgramTest::SetUp();
    // Its axis reads -10000..10000, so a raw value is a normalised position as it is.
    host::DeviceDescription pad = host::GameControllerDescription("Pad", 0x1234, 0x0001, 2);
    pad.logicalMin = -10000;
    pad.logicalMax = 10000;
    pad_ = host::AttachDevice(pad);
  }

  // Opens the pad in `mode` with the wheel at the centre, and ticks for a second so that the
  // frame-time average has forgotten the start.
  void Start(int mode) {
    testSettings.forceMode = static_cast<ForceMode>(mode);
    ASSERT_TRUE(host::SetAxisValue(pad_, 0, 0));
    OpenFirstDevice();
    RunFor(1000, [](double) { return 0.0; });
  }

  double PeriodSeconds() const { return GetParam().microseconds * 1e-6; }
  double Seconds() const { return static_cast<double>(trueUs_) * 1e-6; }

  // Ticks for `ms` of true time, the wheel where `position` puts it at each tick, counted in
  // seconds from this call.
  void RunFor(uint32_t ms, const Position& position) {
    const double start = Seconds();
    const uint64_t ticks = ms * 1000ull / GetParam().microseconds;
    for (uint64_t i = 0; i < ticks; ++i) Tick([&](double now) { return position(now - start); });
  }

  // One tick, a period after the last, the wheel where `position` puts it at that moment.
  void Tick(const Position& position) {
    trueUs_ += GetParam().microseconds;
    const uint64_t shownMs = trueUs_ / 1000;
    host::AdvanceVirtualClock(static_cast<uint32_t>(shownMs - timerMs_));
    timerMs_ = shownMs;
    ASSERT_TRUE(host::SetAxisValue(pad_, 0, std::lround(position(Seconds()))));
    ForceTick();
  }
  void Tick() {
    Tick([](double) { return 0.0; });
  }

  // The constant force the device holds now: the last one sent.
  static LONG ConstantForceOnDevice() {
    for (size_t i = host::CallLogSize(); i > 0; --i) {
      const host::CallRecord& r = host::CallLogAt(i - 1);
      if (r.method == host::Method::SetParameters && r.effect == effectSlotConstantForce && SUCCEEDED(r.result)) {
        DICONSTANTFORCE force;
        std::memcpy(&force, r.effectParams.typeSpecific, sizeof(force));
        return force.lMagnitude;
      }
    }
    ADD_FAILURE() << "no constant force was sent";
    return 0;
  }

 private:
  host::DeviceId pad_ = host::noDevice;
  uint64_t trueUs_ = 0;
  uint64_t timerMs_ = 0;
};

TEST_P(TickPeriodTest, TheSmoothedFrameTimeSettlesOnThePeriod) {
  Start(0);
  std::vector<float> frameTimes;
  for (int i = 0; i < 40; ++i) {
    Tick();
    frameTimes.push_back(tickValues.frameDt);
  }
  double sum = 0;
  for (float dt : frameTimes) {
    sum += dt;
    // At 0.5 ms the timer shows 1 ms and 0 ms in turn: the average swings about 5 % around it.
    EXPECT_NEAR(dt, PeriodSeconds(), 0.06 * PeriodSeconds());
  }
  EXPECT_NEAR(sum / static_cast<double>(frameTimes.size()), PeriodSeconds(), 0.01 * PeriodSeconds());
}

// Only the derivative term: Kd x the error's rate of change, in force units per normalised
// unit per second. The wheel turns steadily at 4000 units/s, so Kd 0.25 asks for 1000.
TEST_P(TickPeriodTest, ThePidDampingFollowsTheWheelsSpeed) {
  testSettings.pidKp = 0.0f;
  testSettings.pidKd = 0.25f;
  Start(forceSpringPidMode);
  RunFor(300, [](double seconds) { return -600.0 + 4000.0 * seconds; });
  EXPECT_NEAR(ConstantForceOnDevice(), 1000, 20);
}

// Only the integral term: Ki x the error x the time it lasted. 1000 units off the target for
// 100 ms with Ki 5 make 500, well inside the integral's bound of a tenth of 10000.
TEST_P(TickPeriodTest, ThePidIntegralGrowsWithTimeNotWithTicks) {
  testSettings.pidKp = 0.0f;
  testSettings.pidKd = 0.0f;
  testSettings.pidKi = 5.0f;
  Start(forceSpringPidMode);
  RunFor(100, [](double) { return 1000.0; });
  EXPECT_NEAR(ConstantForceOnDevice(), 500, 10);
}

// "Coefficient" 200 plays 1 Hz: the force crosses zero upward once a second.
TEST_P(TickPeriodTest, TheSineWaveKeepsItsFrequency) {
  testSettings.springCoefficient = 200;
  Start(sineWaveMode);
  std::vector<double> upwardCrossings;
  LONG previous = ConstantForceOnDevice();
  const double end = Seconds() + 3.5;
  while (Seconds() < end) {
    Tick();
    LONG force = ConstantForceOnDevice();
    if (previous < 0 && force >= 0) upwardCrossings.push_back(Seconds());
    previous = force;
  }
  ASSERT_GE(upwardCrossings.size(), 3u);
  double period = (upwardCrossings.back() - upwardCrossings.front()) / static_cast<double>(upwardCrossings.size() - 1);
  EXPECT_NEAR(period, 1.0, 0.002);
}

INSTANTIATE_TEST_SUITE_P(Periods, TickPeriodTest,
                         testing::Values(TickPeriod{"half a millisecond", 500}, TickPeriod{"two milliseconds", 2000}),
                         test_support::NamedByWhat());

}  // namespace

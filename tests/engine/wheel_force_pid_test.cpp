// "Wheel with Force (PID)": the PID controller (Kp 5, Kd 0.25 by default) pulls toward the
// target, and the tyre curve's magnitude at the wheel's position is the most it may ask for.
// Curve values at limit 10000 and target 0: 100 gives 1245, 1000 gives 9164, 3000 gives 6323.
#include <cstdint>
#include <ostream>

#include <gtest/gtest.h>

#include "settings/test_settings.h"
#include "engine/force_tick.h"
#include "engine/position_modes.h"
#include "engine/tick_values.h"
#include "support/case_name.h"

namespace {

constexpr ForceMode wheelForcePidMode = ForceMode::WheelWithForcePid;

TickValues WheelTick(int32_t posX, int32_t forceX, int32_t rangeLimit, bool refreshed) {
  TickValues t{};
  t.posX = posX;
  t.targetX = 0;
  t.forceX = forceX;
  t.forceY = 10000;
  t.rangeLimit = rangeLimit;
  t.frameDt = 0.001f;
  t.refreshedThisTick = refreshed;
  return t;
}

class WheelForcePidTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetTestSettings();
    ResetForceTick();
    for (bool& on : effectOn) on = false;
  }
};

struct PullCase {
  const char* what;
  int32_t posX;
  int32_t forceX;
  int32_t coefficient;
  int32_t rangeLimit;
  int32_t force;    // the constant force asked for
  int32_t targetX;  // where the mode aims
};

void PrintTo(const PullCase& c, std::ostream* out) { *out << c.what; }

class WheelForcePidPullTest : public WheelForcePidTest, public testing::WithParamInterface<PullCase> {};

// The first tick after the mode is chosen (a refresh): the controller starts from rest, so
// its output is Kp x (position - target).
TEST_P(WheelForcePidPullTest, IsTheControllersPushWithinTheCurve) {
  const PullCase& c = GetParam();
  testSettings.springCoefficient = c.coefficient;
  TickValues t = WheelTick(c.posX, c.forceX, c.rangeLimit, true);
  RunWheelMode(t, wheelForcePidMode);
  EXPECT_EQ(t.forceOut, c.force);
  EXPECT_EQ(t.targetX, c.targetX);
  EXPECT_TRUE(effectOn[effectSlotConstantForce]);
  EXPECT_FALSE(effectOn[effectSlotSpring]);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, WheelForcePidPullTest,
    testing::Values(
        // 5 x 100 = 500, below the curve's 1245.
        PullCase{"near the target the controller asks less than the curve", 100, 10000, 10000, 10000, 500, 0},
        PullCase{"further out it still does", 1000, 10000, 10000, 10000, 5000, 0},
        // 5 x 3000 = 15000 is cut to the curve's 6323, on either side.
        PullCase{"the curve limits a larger push", 3000, 10000, 10000, 10000, 6323, 0},
        PullCase{"the curve limits a push the other way", -3000, 10000, 10000, 10000, -6323, 0},
        // Half the magnitude or half the coefficient halves the limit: 3161.
        PullCase{"half the magnitude halves the limit", 3000, 5000, 10000, 10000, 3161, 0},
        PullCase{"half the coefficient halves the limit", 3000, 10000, 5000, 10000, 3161, 0},
        PullCase{"on the target nothing", 0, 10000, 10000, 10000, 0, 0},
        // Range 50: beyond its 5000 the curve has reversed; the target moves to the limit and
        // the full 10000 bounds the pull back to it, 5 x 1000.
        PullCase{"past the reversal the pull is toward the range limit", 6000, 10000, 10000, 5000, 5000, 5000}),
    test_support::NamedByWhat());

// On the next tick the filtered derivative joins in: the wheel moved 10 units in 1 ms, so
// the raw term is 10 x 0.25 / 0.001 = 2500 and a tenth of it passes the filter.
TEST_F(WheelForcePidTest, TheNextTickAddsTheFilteredDerivative) {
  TickValues first = WheelTick(100, 10000, 10000, true);
  RunWheelMode(first, wheelForcePidMode);
  ASSERT_EQ(first.forceOut, 500);
  TickValues second = WheelTick(110, 10000, 10000, false);
  RunWheelMode(second, wheelForcePidMode);
  EXPECT_EQ(second.forceOut, 800);  // 5 x 110 + 250
}

}  // namespace

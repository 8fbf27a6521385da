#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "engine/force_tick.h"
#include "engine/pid_controller.h"
#include "settings/test_settings.h"

namespace {

class PidControllerTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetTestSettings();
    ResetForceTick();
  }
};

TEST_F(PidControllerTest, ProportionalThenFilteredDerivative) {
  // Defaults: Kp 5, Ki 0, Kd 0.25, KdAvg 0.9; at 1 ms the old derivative weighs 0.9.
  PidState state{};
  EXPECT_EQ(PidStep(0.001f, 0, 100, 10000, true, state), 500);
  EXPECT_EQ(state.prevError, 100);
  // raw = 10 * 0.25 / 0.001 = 2500, filtered 0.1 * 2500 = 250; 110 * 5 + 250.
  EXPECT_EQ(PidStep(0.001f, 0, 110, 10000, false, state), 800);
  EXPECT_NEAR(state.derivative, 250.0f, 0.01f);
  // A reset forgets the derivative and the previous error.
  EXPECT_EQ(PidStep(0.001f, 0, 200, 10000, true, state), 1000);
  EXPECT_EQ(state.derivative, 0.0f);
}

TEST_F(PidControllerTest, TheIntegralIsOffUnlessKiIsPositive) {
  for (float ki : {0.0f, -2.0f}) {
    testSettings.pidKi = ki;
    PidState state{};
    for (int i = 0; i < 100; ++i) PidStep(0.001f, 0, 3000, 10000, i == 0, state);
    EXPECT_EQ(state.integral, 0.0f) << "Ki " << ki;
  }
}

TEST_F(PidControllerTest, OutputAndIntegralStayWithinTheirLimits) {
  testSettings.pidKp = 50.0f;
  testSettings.pidKi = 1000.0f;
  testSettings.pidKd = 5.0f;
  PidState state{};
  const int32_t positions[] = {9000, -9000, 120, -10000, 10000, 0, 5000, -7000};
  for (int round = 0; round < 20; ++round) {
    for (int32_t position : positions) {
      int32_t out = PidStep(0.001f, 0, position, 500, round == 0 && position == 9000, state);
      ASSERT_GE(out, -500);
      ASSERT_LE(out, 500);
      ASSERT_GE(state.integral, -50.0f);
      ASSERT_LE(state.integral, 50.0f);
    }
  }
  // The integral did reach its bound, so the bound is what held it.
  EXPECT_EQ(std::fabs(state.integral), 50.0f);
}

TEST_F(PidControllerTest, SettleWaitsHalfASecondAndGivesUpAfterTen) {
  int32_t force = 0;
  const uint32_t t0 = 70000;
  // At rest on the target the derivative is 0 at once, yet 500 ms must pass first.
  EXPECT_FALSE(PidSettle(0.001f, 0, 0, true, t0, force));
  EXPECT_FALSE(PidSettle(0.001f, 0, 0, false, t0 + 500, force));
  EXPECT_TRUE(PidSettle(0.001f, 0, 0, false, t0 + 501, force));
  EXPECT_EQ(force, 0);

  // A wheel that keeps moving never settles on its derivative ...
  int32_t position = 0;
  EXPECT_FALSE(PidSettle(0.001f, 0, position, true, t0, force));
  for (uint32_t ms = 1; ms <= 10000; ++ms) {
    position += (ms % 2 == 0) ? 40 : -40;
    ASSERT_FALSE(PidSettle(0.001f, 0, position, false, t0 + ms, force)) << ms;
  }
  // ... until ten seconds have passed.
  EXPECT_TRUE(PidSettle(0.001f, 0, position + 40, false, t0 + 10001, force));
  EXPECT_EQ(settleStartTime, t0);
}

}  // namespace

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "engine/force_tick.h"
#include "engine/sine_and_cycle.h"
#include "engine/tick_values.h"
#include "settings/test_settings.h"

namespace {

class SineAndCycleTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetTestSettings();
    ResetForceTick();
  }
  static TickValues Tick(int32_t forceX, int32_t posX = 0) {
    TickValues t{};
    t.forceX = forceX;
    t.posX = posX;
    t.frameDt = 0.001f;
    return t;
  }
};

TEST_F(SineAndCycleTest, ACoefficientOfZeroHoldsThePhase) {
  testSettings.springCoefficient = 0;
  testSettings.springOffsetX = 1234;
  for (int i = 0; i < 3; ++i) {
    TickValues t = Tick(10000);
    runSineWave(t);
    EXPECT_EQ(t.forceOut, 1234);
    EXPECT_TRUE(effectOn[effectSlotConstantForce]);
  }
}

TEST_F(SineAndCycleTest, TwoHundredPlaysOneHertzAtOneMillisecondTicks) {
  testSettings.springCoefficient = 200;
  int32_t previous = 0;
  int upCrossings[3] = {};
  int found = 0;
  for (int tick = 1; tick <= 3000 && found < 3; ++tick) {
    TickValues t = Tick(8000);
    runSineWave(t);
    if (previous < 0 && t.forceOut >= 0) upCrossings[found++] = tick;
    previous = t.forceOut;
  }
  ASSERT_GE(found, 2);
  EXPECT_NEAR(upCrossings[1] - upCrossings[0], 1000, 1);
}

TEST_F(SineAndCycleTest, AnOffsetClipsTheWaveAtFullScale) {
  testSettings.springCoefficient = 200;
  testSettings.springOffsetX = 5000;
  int32_t lowest = 0;
  int32_t highest = 0;
  int flat = 0;
  for (int tick = 0; tick < 1000; ++tick) {
    TickValues t = Tick(10000);
    runSineWave(t);
    lowest = std::min(lowest, t.forceOut);
    highest = std::max(highest, t.forceOut);
    flat += t.forceOut == 10000;
  }
  // Sampled every millisecond and truncated toward zero, the trough reads within a unit of -5000.
  EXPECT_GE(lowest, -5000);
  EXPECT_LE(lowest, -4999);
  EXPECT_EQ(highest, 10000);
  EXPECT_NEAR(flat, 333, 3);
}

TEST_F(SineAndCycleTest, FractionsAreDroppedTowardZero) {
  testSettings.springCoefficient = 0;
  for (double value : {-0.9, 0.9}) {
    sinePhase = std::asin(value);
    TickValues t = Tick(1);
    runSineWave(t);
    EXPECT_EQ(t.forceOut, 0) << value;
  }
}

TEST_F(SineAndCycleTest, CycleTurnsOnlyBeyondTheStrictLimits) {
  struct Step {
    int32_t posX;
    int32_t forceOut;
  };
  const Step steps[] = {
      {0, 3000},  {-9000, 3000}, {-9001, -3000}, {0, -3000},   // held between: last direction
      {9000, -3000}, {9001, 3000}, {5000, 3000},
  };
  int row = 0;
  for (const Step& s : steps) {
    ++row;
    TickValues t = Tick(3000, s.posX);
    runCycle(t);
    EXPECT_EQ(t.forceOut, s.forceOut) << "row " << row;
  }
}

TEST_F(SineAndCycleTest, CycleBelowTheLimitOnFirstUsePullsBackAtOnce) {
  TickValues t = Tick(3000, -9500);
  runCycle(t);
  EXPECT_EQ(t.forceOut, -3000);
}

}  // namespace

#include <cstdint>

#include <gtest/gtest.h>

#include "engine/force_tick.h"
#include "engine/position_modes.h"
#include "engine/tick_values.h"
#include "settings/test_settings.h"

namespace {

class PositionModesTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetTestSettings();
    ResetForceTick();
    for (bool& on : effectOn) on = false;
  }
  static TickValues Tick(int32_t posX, int32_t targetX, int32_t forceX, int32_t rangeLimit = 10000) {
    TickValues t{};
    t.posX = posX;
    t.targetX = targetX;
    t.forceX = forceX;
    t.forceY = 10000;
    t.rangeLimit = rangeLimit;
    t.frameDt = 0.001f;
    return t;
  }
};

TEST_F(PositionModesTest, WheelForceCurveSamples) {
  struct Case {
    int32_t position;
    int32_t force;
  };
  const Case cases[] = {{100, 1245}, {500, 5748}, {1000, 9164}, {1450, 9999}, {3000, 6323}, {10000, -2877}, {0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(WheelForceCurve(0, c.position, 10000), c.force) << c.position;
    EXPECT_EQ(WheelForceCurve(0, -c.position, 10000), -c.force) << -c.position;
  }
}

TEST_F(PositionModesTest, MinimumCurveForceLiftsOnlyTheRisingPart) {
  testSettings.applyMinForce = true;
  EXPECT_EQ(WheelForceCurve(0, 10, 10000), 3000);
  EXPECT_EQ(WheelForceCurve(0, -10, 10000), -3000);
  EXPECT_EQ(WheelForceCurve(0, 0, 10000), 0);
  // Past |d| = 0.1368 the curve is left alone.
  EXPECT_EQ(WheelForceCurve(0, 3000, 10000), 6323);
}

TEST_F(PositionModesTest, ShifterCountsNotchEntriesWithinZeroToFour) {
  struct Step {
    int32_t position;
    int32_t saturation;
    int32_t offset;
    int32_t shiftCount;
    bool inNotch;
  };
  const Step steps[] = {
      {-800, 4000, 0, 0, false},  // count 0: the left notch stays firm
      {800, 1000, 0, 1, true},   {900, 1000, 0, 1, true},  // same entry counts once
      {0, 4000, 0, 1, false},    {800, 1000, 0, 2, true},  {0, 4000, 0, 2, false},
      {800, 1000, 0, 3, true},   {0, 4000, 0, 3, false},   {800, 1000, 0, 4, true},
      {0, 4000, 0, 4, false},    {800, 4000, 0, 4, false},  // fifth entry: firm
      {1200, 7000, 600, 4, false},                          // in gear: full magnitude to +600
      {600, 4000, 0, 4, false},   // exactly 600: nothing changes
      {-800, 1000, 0, 3, true},  {-1500, 7000, -600, 3, true}, {-800, 1000, 0, 3, true},  // out and back: once
      {-600, 4000, 0, 3, true},   // exactly -600 keeps the notch
      {-599, 4000, 0, 3, false},
  };
  int row = 0;
  for (const Step& s : steps) {
    ++row;
    ShifterSpring spring = HPatternStep(s.position, 7000);
    EXPECT_EQ(spring.saturation, s.saturation) << "row " << row;
    EXPECT_EQ(spring.offset, s.offset) << "row " << row;
    EXPECT_EQ(shiftCount, s.shiftCount) << "row " << row;
    EXPECT_EQ(inNotch, s.inNotch) << "row " << row;
  }
}

TEST_F(PositionModesTest, ForceSpringPushesWithFullMagnitudeTowardTheTarget) {
  struct Case {
    int32_t posX;
    int32_t forceOut;
  };
  for (Case c : {Case{500, 4000}, Case{-500, -4000}, Case{0, 4000}}) {
    TickValues t = Tick(c.posX, 0, 4000);
    RunForceSpring(t);
    EXPECT_EQ(t.forceOut, c.forceOut) << c.posX;
    EXPECT_TRUE(effectOn[effectSlotConstantForce]);
  }
}

TEST_F(PositionModesTest, WheelModesPastTheCurvesReversal) {
  // "Range" 50: rangeLimit 5000, target 0.
  TickValues t = Tick(3500, 0, 10000, 5000);
  RunWheelMode(t, ForceMode::WheelWithForce);
  EXPECT_EQ(t.targetX, 5000);
  EXPECT_LT(t.forceOut, 0);  // the reversed value is kept
  EXPECT_GT(t.forceOut, -1000);

  for (int32_t forceX : {10000, 3000, 30000}) {
    testSettings.springCoefficient = 2500;
    TickValues beyond = Tick(6000, 0, forceX, 5000);
    RunWheelMode(beyond, ForceMode::WheelWithForce);
    EXPECT_EQ(beyond.forceOut, 10000) << forceX;
    EXPECT_EQ(beyond.targetX, 5000);
  }
}

TEST_F(PositionModesTest, WheelModesSendAZeroCurveAsOneAndShapeByMode) {
  TickValues onTarget = Tick(0, 0, 10000);
  RunWheelMode(onTarget, ForceMode::WheelWithForce);
  EXPECT_EQ(onTarget.forceOut, 1);

  // Mode 5: a spring whose saturation is the curve's magnitude; modes 6 and 7 push.
  TickValues spring = Tick(-1000, 0, 10000);
  RunWheelMode(spring, ForceMode::WheelWithSpring);
  EXPECT_EQ(spring.forceOut, 9164);
  EXPECT_TRUE(effectOn[effectSlotSpring]);
  effectOn[effectSlotSpring] = false;

  // A magnitude of 30000 triples the curve before the bound.
  TickValues tripled = Tick(100, 0, 30000);
  RunWheelMode(tripled, ForceMode::WheelWithForce);
  EXPECT_EQ(tripled.forceOut, 3735);
  EXPECT_TRUE(effectOn[effectSlotConstantForce]);
}

}  // namespace

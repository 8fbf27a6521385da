#include "settings/test_settings.h"

#include <gtest/gtest.h>

namespace {

TEST(TestSettingsDefaults, AreTheFixedStartingValues) {
  ResetTestSettings();
  const TestSettings& s = testSettings;
  struct IntField {
    const char* name;
    int32_t value;
    int32_t expected;
  };
  const IntField ints[] = {
      {"forceMode", static_cast<int32_t>(s.forceMode), 0},
      {"damperType", s.damperType, 0},
      {"springOffsetX", s.springOffsetX, 0},
      {"springOffsetY", s.springOffsetY, 0},
      {"springSaturationX", s.springSaturationX, 10000},
      {"springSaturationY", s.springSaturationY, 10000},
      {"springCoefficient", s.springCoefficient, 10000},
      {"springDeadBand", s.springDeadBand, 0},
      {"springRange", s.springRange, 100},
      {"damperOffset", s.damperOffset, 0},
      {"damperCoefficient", s.damperCoefficient, 5000},
      {"damperSaturation", s.damperSaturation, 10000},
      {"damperDeadBand", s.damperDeadBand, 0},
      {"testRepeat", s.testRepeat, 1},
      {"testMaxCount", s.testMaxCount, 50},
      {"stepTime", s.stepTime, 300},
      {"loopSleepMs", s.loopSleepMs, 1},
      {"wheelAngle", s.wheelAngle, 900},
      {"forceMapCount", s.forceMapCount, 2},
      {"forceMap[0].input", s.forceMap[0].input, 0},
      {"forceMap[0].output", s.forceMap[0].output, 0},
      {"forceMap[1].input", s.forceMap[1].input, 10000},
      {"forceMap[1].output", s.forceMap[1].output, 10000},
  };
  for (const IntField& f : ints) EXPECT_EQ(f.value, f.expected) << f.name;

  EXPECT_FLOAT_EQ(s.pidKp, 5.0f);
  EXPECT_FLOAT_EQ(s.pidKi, 0.0f);
  EXPECT_FLOAT_EQ(s.pidKd, 0.25f);
  EXPECT_FLOAT_EQ(s.pidKdAvg, 0.9f);

  const bool flags[] = {s.addSin, s.addRand, s.addRandForce, s.applyMinForce, s.reverseConstantForce,
                        s.alwaysUpdateForces, s.killFFBOnFocusLoss, s.showAllDevices};
  for (bool flag : flags) EXPECT_FALSE(flag);
}

TEST(SaturationXRange, FollowsTheWheelModes) {
  // "Wheel with Spring", "Wheel with Force" and "Wheel with Force (PID)" reach 30000.
  const int32_t expected[forceModeCount] = {10000, 10000, 10000, 10000, 10000, 30000, 30000, 30000,
                                            10000, 10000, 10000, 10000, 10000, 10000, 10000};
  for (int mode = 0; mode < forceModeCount; ++mode) {
    EXPECT_EQ(SaturationXMaximum(static_cast<ForceMode>(mode)), expected[mode]) << "mode " << mode;
  }
}

TEST(SaturationXRange, LowersTheValueOnlyWhenItLiesAboveTheNewMaximum) {
  ResetTestSettings();
  testSettings.forceMode = ForceMode::WheelWithForce;
  testSettings.springSaturationX = 20000;
  ApplySaturationXRange();
  EXPECT_EQ(testSettings.springSaturationX, 20000);

  testSettings.forceMode = ForceMode::SimpleSpring;
  ApplySaturationXRange();
  EXPECT_EQ(testSettings.springSaturationX, 10000);

  testSettings.forceMode = ForceMode::WheelWithSpring;
  ApplySaturationXRange();
  EXPECT_EQ(testSettings.springSaturationX, 10000);
}

}  // namespace

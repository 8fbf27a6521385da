#include "sim/condition.h"

#include <ostream>

#include <gtest/gtest.h>

#include "sim/wheel_effect.h"
#include "support/case_name.h"

namespace {

using sim::Condition;

Condition Make(int32_t offset, int32_t positiveCoefficient, int32_t negativeCoefficient,
               int32_t positiveSaturation, int32_t negativeSaturation, int32_t deadBand) {
  return Condition{offset, positiveCoefficient, negativeCoefficient,
                   positiveSaturation, negativeSaturation, deadBand};
}

struct ConditionCase {
  const char* what;
  Condition condition;
  double metric;
  double force;
};

void PrintTo(const ConditionCase& c, std::ostream* out) { *out << c.what; }

class ConditionForceTest : public testing::TestWithParam<ConditionCase> {};

TEST_P(ConditionForceTest, FollowsTheDirectInputRule) {
  const ConditionCase& c = GetParam();
  EXPECT_DOUBLE_EQ(sim::ConditionForce(c.condition, c.metric), c.force) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionForceTest,
    testing::Values(
        ConditionCase{"at the offset", Make(0, 10000, 10000, 10000, 10000, 0), 0.0, 0.0},
        ConditionCase{"positive side, full coefficient", Make(0, 10000, 10000, 10000, 10000, 0),
                      2500.0, 2500.0},
        ConditionCase{"positive side, half coefficient", Make(0, 5000, 10000, 10000, 10000, 0),
                      4000.0, 2000.0},
        ConditionCase{"negative side uses the negative coefficient",
                      Make(0, 10000, 2000, 10000, 10000, 0), -5000.0, -1000.0},
        ConditionCase{"measured from the offset", Make(3000, 10000, 10000, 10000, 10000, 0),
                      5000.0, 2000.0},
        ConditionCase{"below a positive offset is the negative side",
                      Make(3000, 10000, 5000, 10000, 10000, 0), 1000.0, -1000.0},
        ConditionCase{"inside the dead band", Make(0, 10000, 10000, 10000, 10000, 1000), 999.0,
                      0.0},
        ConditionCase{"inside the dead band, negative", Make(0, 10000, 10000, 10000, 10000, 1000),
                      -1000.0, 0.0},
        ConditionCase{"from the dead band's upper edge",
                      Make(0, 10000, 10000, 10000, 10000, 1000), 1500.0, 500.0},
        ConditionCase{"from the dead band's lower edge",
                      Make(2000, 10000, 10000, 10000, 10000, 1000), 0.0, -1000.0},
        ConditionCase{"positive saturation limits", Make(0, 10000, 10000, 3000, 10000, 0), 8000.0,
                      3000.0},
        ConditionCase{"negative saturation limits", Make(0, 10000, 10000, 10000, 2500, 0), -8000.0,
                      -2500.0},
        ConditionCase{"each side has its own saturation", Make(0, 10000, 10000, 2500, 10000, 0),
                      -8000.0, -8000.0},
        ConditionCase{"zero saturation silences the side", Make(0, 10000, 10000, 0, 10000, 0),
                      5000.0, 0.0},
        ConditionCase{"negative coefficient pushes the other way",
                      Make(0, -4000, 10000, 10000, 10000, 0), 5000.0, -2000.0},
        ConditionCase{"negative coefficient is still saturated",
                      Make(0, -10000, 10000, 1000, 10000, 0), 5000.0, -1000.0},
        ConditionCase{"metric beyond full scale", Make(0, 10000, 10000, 10000, 10000, 0), 15000.0,
                      10000.0}),
    test_support::NamedByWhat());

TEST(ClampedEffectTest, PullsEveryFieldIntoItsRange) {
  sim::WheelEffect effect;
  effect.gain = 1.7;
  effect.magnitude = -25000;
  effect.condition = Make(12000, 20000, -20000, 15000, -5, -3);
  const sim::WheelEffect clamped = sim::ClampedEffect(effect);
  EXPECT_EQ(clamped.gain, 1.0);
  EXPECT_EQ(clamped.magnitude, -10000);
  EXPECT_EQ(clamped.condition.offset, 10000);
  EXPECT_EQ(clamped.condition.positiveCoefficient, 10000);
  EXPECT_EQ(clamped.condition.negativeCoefficient, -10000);
  EXPECT_EQ(clamped.condition.positiveSaturation, 10000);
  EXPECT_EQ(clamped.condition.negativeSaturation, 0);
  EXPECT_EQ(clamped.condition.deadBand, 0);

  effect.gain = -0.5;
  EXPECT_EQ(sim::ClampedEffect(effect).gain, 0.0);
}

}  // namespace

// How effects, gains and the centring spring become motor torque.
#include <cmath>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "sim/virtual_wheel.h"
#include "support/case_name.h"
#include "wheel_test_support.h"

namespace {

using sim::EffectKind;
using sim::VirtualWheel;
using sim::WheelEffect;
using sim::WheelParameters;
using simtest::ConditionEffect;
using simtest::ConstantForce;
using simtest::FreeWheel;
using simtest::SymmetricCondition;

constexpr double tmax = 2.2;  // default motor limit, N m

// --- Constant force direction ----------------------------------------------------------

struct SignCase {
  int32_t magnitude;
  double torque;
};

void PrintTo(const SignCase& c, std::ostream* out) { *out << "magnitude " << c.magnitude; }

class ConstantForceSignTest : public testing::TestWithParam<SignCase> {};

// DirectInput names where a force comes from: positive magnitude turns toward negative X.
TEST_P(ConstantForceSignTest, PositiveMagnitudeTurnsTowardNegativeAngles) {
  const SignCase& c = GetParam();
  VirtualWheel wheel(FreeWheel());
  wheel.SetEffect(0, ConstantForce(c.magnitude));
  EXPECT_DOUBLE_EQ(wheel.MotorTorque(), c.torque);
  const int32_t centre = wheel.AxisValue(0, 65535);
  wheel.Advance(0.2);
  EXPECT_GT(wheel.Angle() * c.torque, 0.0) << "turned the wrong way";
  EXPECT_GT((wheel.AxisValue(0, 65535) - centre) * c.torque, 0.0) << "axis moved the wrong way";
}

INSTANTIATE_TEST_SUITE_P(Magnitudes, ConstantForceSignTest,
                         testing::Values(SignCase{10000, -tmax}, SignCase{5000, -0.5 * tmax},
                                         SignCase{-2500, 0.25 * tmax}, SignCase{-10000, tmax},
                                         // Out of range: clamped to full scale.
                                         SignCase{30000, -tmax}),
                         [](const testing::TestParamInfo<SignCase>& info) {
                           return "Magnitude" + test_support::CaseName(std::to_string(info.param.magnitude));
                         });

// --- Gains and the motor limit ---------------------------------------------------------

struct GainCase {
  const char* what;
  double deviceGain;
  double effectGain;
  int32_t first;
  int32_t second;  // 0 = one effect only
  double torque;
};

void PrintTo(const GainCase& c, std::ostream* out) { *out << c.what; }

class GainTest : public testing::TestWithParam<GainCase> {};

TEST_P(GainTest, ScalesAndSumsEffectsWithinTheMotorLimit) {
  const GainCase& c = GetParam();
  VirtualWheel wheel(FreeWheel());
  wheel.SetDeviceGain(c.deviceGain);
  wheel.SetEffect(0, ConstantForce(c.first, c.effectGain));
  if (c.second != 0) wheel.SetEffect(7, ConstantForce(c.second, c.effectGain));
  EXPECT_NEAR(wheel.MotorTorque(), c.torque, 1e-12) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GainTest,
    testing::Values(GainCase{"unity", 1.0, 1.0, -5000, 0, 0.5 * tmax},
                    GainCase{"device gain", 0.5, 1.0, -5000, 0, 0.25 * tmax},
                    GainCase{"effect gain", 1.0, 0.5, -5000, 0, 0.25 * tmax},
                    GainCase{"both gains multiply", 0.5, 0.5, -5000, 0, 0.125 * tmax},
                    GainCase{"device gain zero", 0.0, 1.0, -10000, 0, 0.0},
                    GainCase{"device gain above one is one", 1.5, 1.0, -5000, 0, 0.5 * tmax},
                    GainCase{"effects add", 1.0, 1.0, -5000, 2000, 0.3 * tmax},
                    GainCase{"sum clamped to the motor limit", 1.0, 1.0, -10000, -10000, tmax},
                    GainCase{"clamped after the gain", 0.6, 1.0, 10000, 10000, -tmax},
                    GainCase{"gain before the clamp", 0.4, 1.0, 10000, 10000, -0.8 * tmax}),
    test_support::NamedByWhat());

TEST(ConditionGainTest, ConditionsAreScaledLikeForces) {
  VirtualWheel wheel(FreeWheel());
  const double half = wheel.Parameters().rotationRange / 2.0;
  WheelEffect spring = ConditionEffect(EffectKind::Spring, SymmetricCondition(10000));
  spring.gain = 0.5;
  wheel.SetEffect(0, spring);
  wheel.SetDeviceGain(0.8);
  wheel.Reset(0.5 * half);
  EXPECT_NEAR(wheel.MotorTorque(), -0.8 * 0.5 * 0.5 * tmax, 1e-12);
}

// --- Condition metrics -----------------------------------------------------------------

struct MetricCase {
  const char* what;
  EffectKind kind;
  sim::Condition condition;
  double angleFractionOfHalfRange;
  double velocity;
  double torque;
};

void PrintTo(const MetricCase& c, std::ostream* out) { *out << c.what; }

class ConditionMetricTest : public testing::TestWithParam<MetricCase> {};

TEST_P(ConditionMetricTest, ReadsItsMetricAndRestores) {
  const MetricCase& c = GetParam();
  VirtualWheel wheel(FreeWheel());
  wheel.SetEffect(5, ConditionEffect(c.kind, c.condition));
  wheel.Reset(c.angleFractionOfHalfRange * wheel.Parameters().rotationRange / 2.0, c.velocity);
  EXPECT_NEAR(wheel.MotorTorque(), c.torque, 1e-12) << c.what;
}

sim::Condition Sided(int32_t positive, int32_t negative, int32_t saturation = 10000) {
  sim::Condition c;
  c.positiveCoefficient = positive;
  c.negativeCoefficient = negative;
  c.positiveSaturation = saturation;
  c.negativeSaturation = saturation;
  return c;
}

sim::Condition Placed(int32_t coefficient, int32_t offset, int32_t deadBand) {
  return SymmetricCondition(coefficient, offset, deadBand);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionMetricTest,
    testing::Values(
        // Spring: position reads +-10000 at the stops.
        MetricCase{"spring right of centre pulls left", EffectKind::Spring, Sided(10000, 10000),
                   0.5, 0.0, -0.5 * tmax},
        MetricCase{"spring left of centre pulls right", EffectKind::Spring, Sided(10000, 2000),
                   -0.5, 0.0, 0.1 * tmax},
        MetricCase{"spring at its offset", EffectKind::Spring, Placed(10000, 5000, 0), 0.5, 0.0,
                   0.0},
        MetricCase{"spring pulls toward its offset", EffectKind::Spring, Placed(10000, 5000, 0),
                   0.2, 0.0, 0.3 * tmax},
        MetricCase{"spring inside its dead band", EffectKind::Spring, Placed(10000, 0, 1000),
                   0.05, 0.0, 0.0},
        MetricCase{"spring at the stop", EffectKind::Spring, Sided(10000, 10000), 1.0, 0.0,
                   -tmax},
        // Damper: velocity reads 10000 at 10 rad/s.
        MetricCase{"damper brakes positive motion", EffectKind::Damper, Sided(10000, 10000), 0.0,
                   5.0, -0.5 * tmax},
        MetricCase{"damper brakes negative motion", EffectKind::Damper, Sided(10000, 10000), 0.3,
                   -2.0, 0.2 * tmax},
        MetricCase{"damper saturates", EffectKind::Damper, Sided(10000, 10000, 6000), 0.0, 20.0,
                   -0.6 * tmax},
        MetricCase{"damper ignores position", EffectKind::Damper, Sided(10000, 10000), 0.8, 0.0,
                   0.0},
        // Friction: the side of motion, ramped over 0.1 rad/s.
        MetricCase{"friction opposes positive motion", EffectKind::Friction, Sided(5000, 5000),
                   0.0, 1.0, -0.5 * tmax},
        MetricCase{"friction opposes negative motion", EffectKind::Friction, Sided(5000, 3000),
                   0.0, -3.0, 0.3 * tmax},
        MetricCase{"friction at rest", EffectKind::Friction, Sided(5000, 5000), 0.4, 0.0, 0.0},
        MetricCase{"friction inside the speed band", EffectKind::Friction, Sided(5000, 5000), 0.0,
                   0.05, -0.25 * tmax},
        MetricCase{"friction ignores offset and dead band", EffectKind::Friction,
                   Placed(5000, 5000, 3000), 0.0, 1.0, -0.5 * tmax},
        MetricCase{"friction saturates", EffectKind::Friction, Sided(10000, 10000, 2000), 0.0, 1.0,
                   -0.2 * tmax},
        // Inertia reads acceleration, none at the start.
        MetricCase{"inertia at rest", EffectKind::Inertia, Sided(10000, 10000), 0.4, 3.0, 0.0}),
    test_support::NamedByWhat());

// A friction condition on a frictionless rim lets a steady hand creep at the speed where the
// ramp balances it, rather than chattering around rest.
TEST(FrictionConditionTest, BalancesASteadyHandAtACreepSpeed) {
  VirtualWheel wheel(FreeWheel());
  const WheelParameters& p = wheel.Parameters();
  wheel.SetEffect(0, ConditionEffect(EffectKind::Friction, SymmetricCondition(10000)));
  const double hand = 1.0;
  wheel.SetHandTorque(hand);
  wheel.Advance(0.5);
  const double creep = hand / p.maxMotorTorque * p.frictionVelocityBand;
  EXPECT_NEAR(wheel.Velocity(), creep, 1e-6 * creep);
  EXPECT_NEAR(wheel.MotorTorque(), -hand, 1e-6);
}

// --- Slots -----------------------------------------------------------------------------

TEST(EffectSlotTest, RejectsSlotsOutsideTheTable) {
  VirtualWheel wheel(FreeWheel());
  ASSERT_GE(VirtualWheel::effectSlotCount, 16);
  for (const int slot : {-1, VirtualWheel::effectSlotCount, 1000}) {
    EXPECT_FALSE(wheel.SetEffect(slot, ConstantForce(-5000))) << slot;
    EXPECT_FALSE(wheel.SetEffectPlaying(slot, true)) << slot;
    EXPECT_FALSE(wheel.ClearEffect(slot)) << slot;
    EXPECT_EQ(wheel.Effect(slot).kind, EffectKind::None) << slot;
  }
  EXPECT_EQ(wheel.MotorTorque(), 0.0);
}

TEST(EffectSlotTest, EverySlotPlaysStopsAndClears) {
  VirtualWheel wheel(FreeWheel());
  for (int slot = 0; slot < VirtualWheel::effectSlotCount; ++slot) {
    ASSERT_TRUE(wheel.SetEffect(slot, ConstantForce(-100)));
  }
  EXPECT_NEAR(wheel.MotorTorque(), VirtualWheel::effectSlotCount * 0.01 * tmax, 1e-12);

  const int last = VirtualWheel::effectSlotCount - 1;
  ASSERT_TRUE(wheel.SetEffectPlaying(last, false));
  EXPECT_FALSE(wheel.Effect(last).playing);
  EXPECT_NEAR(wheel.MotorTorque(), (VirtualWheel::effectSlotCount - 1) * 0.01 * tmax, 1e-12);

  ASSERT_TRUE(wheel.ClearEffect(0));
  EXPECT_EQ(wheel.Effect(0).kind, EffectKind::None);
  EXPECT_NEAR(wheel.MotorTorque(), (VirtualWheel::effectSlotCount - 2) * 0.01 * tmax, 1e-12);

  wheel.ClearAllEffects();
  EXPECT_EQ(wheel.MotorTorque(), 0.0);
}

TEST(EffectSlotTest, KeepsTheClampedEffect) {
  VirtualWheel wheel(FreeWheel());
  WheelEffect effect = ConstantForce(-12000, 3.0);
  wheel.SetEffect(2, effect);
  EXPECT_EQ(wheel.Effect(2).magnitude, -10000);
  EXPECT_EQ(wheel.Effect(2).gain, 1.0);
  EXPECT_DOUBLE_EQ(wheel.MotorTorque(), tmax);
}

TEST(EffectSlotTest, ANoneEffectPushesNothing) {
  VirtualWheel wheel(FreeWheel());
  WheelEffect effect = ConstantForce(-10000);
  effect.kind = EffectKind::None;
  wheel.SetEffect(0, effect);
  EXPECT_EQ(wheel.MotorTorque(), 0.0);
}

// --- Auto-centre -----------------------------------------------------------------------

TEST(AutoCenterTest, PullsTowardCentreAndIgnoresTheDeviceGain) {
  VirtualWheel wheel;  // auto-centre on by default
  const double k = wheel.Parameters().autoCenterStiffness;
  ASSERT_TRUE(wheel.Parameters().autoCenterEnabled);
  wheel.Reset(0.3);
  EXPECT_DOUBLE_EQ(wheel.MotorTorque(), -k * 0.3);
  wheel.SetDeviceGain(0.0);
  EXPECT_DOUBLE_EQ(wheel.MotorTorque(), -k * 0.3);
  wheel.SetDeviceGain(0.5);
  wheel.SetEffect(0, ConstantForce(-5000));
  EXPECT_NEAR(wheel.MotorTorque(), 0.25 * tmax - k * 0.3, 1e-12);
  wheel.Reset(-5.0);
  EXPECT_DOUBLE_EQ(wheel.MotorTorque(), tmax) << "the spring is held to the motor limit too";
}

// Let go off centre, the default wheel comes back until the spring no longer beats static
// friction.
TEST(AutoCenterTest, ReturnsALetGoWheelNearCentre) {
  VirtualWheel wheel;
  const WheelParameters& p = wheel.Parameters();
  wheel.Reset(1.5);
  wheel.Advance(10.0);
  EXPECT_EQ(wheel.Velocity(), 0.0) << "settled";
  EXPECT_LE(std::abs(wheel.Angle()), p.staticFriction / p.autoCenterStiffness);
}

TEST(AutoCenterTest, SwitchedOffGivesNoCentringTorque) {
  WheelParameters p;
  p.autoCenterEnabled = false;
  VirtualWheel off(p);
  off.Reset(1.5);
  EXPECT_EQ(off.MotorTorque(), 0.0);
  off.Advance(1.0);
  EXPECT_EQ(off.Angle(), 1.5);

  VirtualWheel switched;
  switched.Reset(1.5);
  switched.Advance(0.02);
  ASSERT_LT(switched.Angle(), 1.5) << "the spring was on";
  switched.SetAutoCenter(false);
  EXPECT_FALSE(switched.Parameters().autoCenterEnabled);
  EXPECT_EQ(switched.MotorTorque(), 0.0);
  switched.Advance(2.0);
  const double coasted = switched.Angle();
  EXPECT_EQ(switched.Velocity(), 0.0) << "friction stops it and nothing pulls it on";
  switched.Advance(1.0);
  EXPECT_EQ(switched.Angle(), coasted);
  EXPECT_GT(coasted, 1.0) << "coasted a little way, not back to centre";
}

}  // namespace

// The motor's torque curve, back-EMF and command latency, and that their defaults change
// nothing.
#include <cmath>

#include <gtest/gtest.h>

#include "sim/virtual_wheel.h"
#include "sim/wheel_parameters.h"
#include "wheel_test_support.h"

namespace {

using simtest::ConstantForce;
using simtest::FreeWheel;

TEST(TorqueCurveTest, ShapesTheFractionOfFullTorque) {
  sim::WheelParameters p;
  p.torqueDeadZone = 1000.0;
  p.torqueSaturation = 9000.0;
  p.torqueCurveExponent = 2.0;
  struct Case {
    double force;
    double fraction;
  };
  const Case cases[] = {{0, 0},       {1000, 0},       {-1000, 0},   {5000, 0.25}, {-5000, -0.25},
                        {3000, 0.0625}, {9000, 1.0}, {10000, 1.0}, {-12000, -1.0}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(sim::TorqueFraction(p, c.force), c.fraction) << c.force;
  EXPECT_FALSE(sim::TorqueCurveIsLinear(p));
  const sim::WheelParameters defaults;
  EXPECT_TRUE(sim::TorqueCurveIsLinear(defaults));
  EXPECT_DOUBLE_EQ(sim::TorqueFraction(defaults, 2500), 0.25);
  EXPECT_EQ(defaults.noLoadSpeed, 0.0);
  EXPECT_EQ(defaults.commandLatency, 0.0);
}

TEST(TorqueCurveTest, TheMotorRendersEffectsThroughIt) {
  sim::WheelParameters p = FreeWheel();
  p.torqueDeadZone = 2000.0;
  p.torqueCurveExponent = 1.5;
  sim::VirtualWheel wheel(p);
  wheel.SetEffect(0, ConstantForce(1500));
  EXPECT_EQ(wheel.MotorTorque(), 0.0);
  wheel.SetEffect(0, ConstantForce(6000));
  // A positive constant force turns the wheel toward negative angles.
  EXPECT_NEAR(wheel.MotorTorque(), -std::pow(0.5, 1.5) * p.maxMotorTorque, 1e-12);
}

TEST(BackEmfTest, TorqueAlongTheMotionFallsToNothingAtTheNoLoadSpeed) {
  sim::WheelParameters p = FreeWheel();
  p.noLoadSpeed = 10.0;
  struct Case {
    double velocity;
    int force;
    double torque;
  };
  const Case cases[] = {
      {0.0, -10000, 2.2},   // at rest, all of it
      {5.0, -10000, 1.1},   // half the no-load speed, half the torque
      {12.0, -10000, 0.0},  // beyond it, none
      {5.0, -4000, 0.88},   // a small force stays under the limit
      {-5.0, -10000, 2.2},  // braking is not limited
  };
  for (const Case& c : cases) {
    sim::VirtualWheel wheel(p);
    wheel.Reset(0.0, c.velocity);
    wheel.SetEffect(0, ConstantForce(c.force));
    EXPECT_NEAR(wheel.MotorTorque(), c.torque, 1e-12) << c.velocity << " rad/s, force " << c.force;
  }
}

TEST(BackEmfTest, TheFreeWheelLevelsOffBelowTheNoLoadSpeed) {
  sim::WheelParameters p = FreeWheel();
  p.noLoadSpeed = 10.0;
  p.rotationRange = 1000.0;  // no end stop in reach
  sim::VirtualWheel wheel(p);
  wheel.SetEffect(0, ConstantForce(-10000));
  wheel.Advance(2.0);  // some fifteen time constants (inertia x no-load speed / torque)
  EXPECT_NEAR(wheel.Velocity(), 10.0, 0.01);
}

TEST(CommandLatencyTest, TheMotorActsOnAChangeThatMuchLater) {
  sim::WheelParameters p = FreeWheel();
  p.commandLatency = 0.015;
  sim::VirtualWheel wheel(p);
  wheel.Advance(0.1);
  wheel.SetEffect(0, ConstantForce(-10000));
  EXPECT_EQ(wheel.Effect(0).magnitude, -10000) << "the driver holds it at once";
  EXPECT_EQ(wheel.MotorTorque(), 0.0);
  wheel.Advance(0.0149);
  EXPECT_EQ(wheel.MotorTorque(), 0.0);
  EXPECT_EQ(wheel.Velocity(), 0.0);
  wheel.Advance(0.0002);
  EXPECT_DOUBLE_EQ(wheel.MotorTorque(), p.maxMotorTorque);
  // A stop is late by as much.
  wheel.ClearAllEffects();
  wheel.Advance(0.01);
  EXPECT_DOUBLE_EQ(wheel.MotorTorque(), p.maxMotorTorque);
  wheel.Advance(0.0052);
  EXPECT_EQ(wheel.MotorTorque(), 0.0);
}

TEST(CommandLatencyTest, MoreChangesThanTheRingHoldsApplyTheOldestEarly) {
  sim::WheelParameters p = FreeWheel();
  p.commandLatency = 0.5;
  sim::VirtualWheel wheel(p);
  for (int i = 1; i <= sim::VirtualWheel::pendingChangeRoom + 1; ++i) wheel.SetEffect(0, ConstantForce(-i));
  // The first change had to go in to make room: the motor acts on it already.
  EXPECT_NEAR(wheel.MotorTorque(), 1.0 / 10000.0 * p.maxMotorTorque, 1e-15);
  wheel.Advance(0.5001);
  EXPECT_NEAR(wheel.MotorTorque(), (sim::VirtualWheel::pendingChangeRoom + 1) / 10000.0 * p.maxMotorTorque, 1e-12);
}

}  // namespace

#include "sim/wheel_parameters.h"

#include <cmath>
#include <functional>
#include <numbers>
#include <ostream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "sim/virtual_wheel.h"
#include "support/case_name.h"

namespace {

using sim::WheelParameters;

TEST(WheelParametersTest, DefaultsDescribeABeltDriven900DegreeWheel) {
  const WheelParameters p;
  EXPECT_EQ(sim::FindParameterProblem(p), nullptr);
  EXPECT_DOUBLE_EQ(p.rotationRange, 5.0 * std::numbers::pi);
  EXPECT_DOUBLE_EQ(p.maxMotorTorque, 2.2);
  EXPECT_LE(p.coulombFriction, p.staticFriction);
  // Forces below 7.5 % of full scale do not move it.
  EXPECT_NEAR(p.staticFriction / p.maxMotorTorque, 0.075, 1e-12);
  EXPECT_EQ(p.encoderCountsPerRevolution, 4096);
  EXPECT_EQ(p.encoderNoiseCounts, 0.0);
  EXPECT_TRUE(p.autoCenterEnabled);
  EXPECT_EQ(p.deviceGain, 1.0);
  EXPECT_DOUBLE_EQ(p.subStepSeconds, 1e-4);
}

struct BadCase {
  const char* what;
  std::function<void(WheelParameters&)> spoil;
};

void PrintTo(const BadCase& c, std::ostream* out) { *out << c.what; }

class BadParametersTest : public testing::TestWithParam<BadCase> {};

TEST_P(BadParametersTest, AreReportedAndRefused) {
  WheelParameters bad;
  GetParam().spoil(bad);
  EXPECT_NE(sim::FindParameterProblem(bad), nullptr) << GetParam().what;
  EXPECT_THROW(sim::VirtualWheel{bad}, std::invalid_argument) << GetParam().what;

  sim::VirtualWheel wheel;
  EXPECT_THROW(wheel.SetParameters(bad), std::invalid_argument) << GetParam().what;
  EXPECT_EQ(sim::FindParameterProblem(wheel.Parameters()), nullptr) << "left unchanged";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadParametersTest,
    testing::Values(
        BadCase{"zero range", [](WheelParameters& p) { p.rotationRange = 0.0; }},
        BadCase{"zero inertia", [](WheelParameters& p) { p.inertia = 0.0; }},
        BadCase{"negative torque dead zone", [](WheelParameters& p) { p.torqueDeadZone = -1.0; }},
        BadCase{"saturation at the dead zone",
                [](WheelParameters& p) {
                  p.torqueDeadZone = 3000.0;
                  p.torqueSaturation = 3000.0;
                }},
        BadCase{"zero curve exponent", [](WheelParameters& p) { p.torqueCurveExponent = 0.0; }},
        BadCase{"negative no-load speed", [](WheelParameters& p) { p.noLoadSpeed = -1.0; }},
        BadCase{"latency beyond a second", [](WheelParameters& p) { p.commandLatency = 1.5; }},
        BadCase{"NaN inertia", [](WheelParameters& p) { p.inertia = std::nan(""); }},
        BadCase{"negative damping", [](WheelParameters& p) { p.viscousDamping = -0.1; }},
        BadCase{"kinetic above static",
                [](WheelParameters& p) { p.coulombFriction = p.staticFriction + 0.01; }},
        BadCase{"negative static friction",
                [](WheelParameters& p) {
                  p.staticFriction = -1.0;
                  p.coulombFriction = -2.0;
                }},
        BadCase{"negative motor limit", [](WheelParameters& p) { p.maxMotorTorque = -1.0; }},
        BadCase{"no encoder counts", [](WheelParameters& p) { p.encoderCountsPerRevolution = 0; }},
        BadCase{"negative noise", [](WheelParameters& p) { p.encoderNoiseCounts = -1.0; }},
        BadCase{"negative centring", [](WheelParameters& p) { p.autoCenterStiffness = -1.0; }},
        BadCase{"gain above one", [](WheelParameters& p) { p.deviceGain = 1.01; }},
        BadCase{"zero full-scale velocity",
                [](WheelParameters& p) { p.conditionFullScaleVelocity = 0.0; }},
        BadCase{"zero full-scale acceleration",
                [](WheelParameters& p) { p.conditionFullScaleAcceleration = 0.0; }},
        BadCase{"zero friction band", [](WheelParameters& p) { p.frictionVelocityBand = 0.0; }},
        BadCase{"negative filter", [](WheelParameters& p) { p.accelerationFilterSeconds = -1.0; }},
        BadCase{"zero sub-step", [](WheelParameters& p) { p.subStepSeconds = 0.0; }},
        BadCase{"infinite sub-step", [](WheelParameters& p) { p.subStepSeconds = INFINITY; }}),
    test_support::NamedByWhat());

TEST(WheelParametersTest, ARunTimeChangeKeepsTheWheelInsideNewStops) {
  sim::VirtualWheel wheel;
  wheel.Reset(6.0);
  WheelParameters narrow = wheel.Parameters();
  narrow.rotationRange = sim::DegreesToRadians(270.0);
  wheel.SetParameters(narrow);
  EXPECT_DOUBLE_EQ(wheel.Angle(), sim::DegreesToRadians(135.0));
  EXPECT_DOUBLE_EQ(wheel.Parameters().rotationRange, narrow.rotationRange);
}

}  // namespace

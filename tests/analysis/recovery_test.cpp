// The analysis recovers what the virtual wheel was built with, from logs the real program
// writes: the dead zone, the step test's latency and initial acceleration, the encoder step,
// the break-away force.
#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "analysis/analysis_scenario.h"
#include "app/control_ids.h"
#include "host/driver/user_driver.h"
#include "analysis/min_force_figures.h"
#include "analysis/numeric.h"
#include "analysis/resolution_figures.h"
#include "analysis/response_figures.h"
#include "analysis/step_figures.h"
#include "sim/wheel_parameters.h"

namespace analysis_test {
namespace {

using RecoveryTest = AnalysisScenario;

// The lowest force that moves the rim: the torque curve has to beat the break-away friction.
double TrueDeadZone(const sim::WheelParameters& wheel) {
  double force = 0.0;
  while (force < 10000.0 && TorqueOfForce(wheel, force) <= wheel.staticFriction) force += 1.0;
  return force;
}

TEST_F(RecoveryTest, TheDeadZoneComesOutWithinOneForceStep) {
  struct Case {
    const char* what;
    double torqueDeadZone;
    double exponent;
    double staticFriction;
    double coulombFriction;
  };
  const Case cases[] = {
      {"friction alone (the default wheel)", 0.0, 1.0, 0.165, 0.13},
      {"a motor dead zone over light friction", 1500.0, 1.0, 0.05, 0.04},
      {"a dead zone and a soft curve", 800.0, 1.6, 0.165, 0.13},
      {"a strong curve, no friction to speak of", 0.0, 0.6, 0.01, 0.01},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::WheelParameters wheel;
    wheel.torqueDeadZone = c.torqueDeadZone;
    wheel.torqueCurveExponent = c.exponent;
    wheel.staticFriction = c.staticFriction;
    wheel.coulombFriction = c.coulombFriction;
    analysis::MeasurementLog log = RunAndRead(linearForceMode, wheel);
    analysis::ResponseFigures figures;
    std::string reason;
    ASSERT_TRUE(analysis::AnalyseLinearForceLog(log, figures, reason)) << reason;
    const double truth = TrueDeadZone(wheel);
    const double step = 200.0;  // 10000 / Max Count 50
    std::printf("dead zone: %-40s built %6.0f, recovered %6.0f (hold %6.0f)\n", c.what, truth, figures.deadZone,
                figures.holdLevel);
    ASSERT_FALSE(analysis::IsNone(figures.deadZone));
    EXPECT_GT(figures.deadZone, truth - 1.0);
    EXPECT_LE(figures.deadZone, truth + step);
    EXPECT_LT(figures.holdLevel, truth + 1.0);
  }
}

TEST_F(RecoveryTest, StepLatencyAndInitialAccelerationComeOutWithinTenPercent) {
  struct Case {
    double latencyMs;
    double inertia;
    double saturation;  // Saturation X, force units
  };
  const Case cases[] = {{15.0, 0.03, 10000}, {40.0, 0.03, 10000}, {8.0, 0.06, 10000}, {25.0, 0.02, 5000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.latencyMs);
    sim::WheelParameters wheel;
    wheel.commandLatency = c.latencyMs / 1000.0;
    wheel.inertia = c.inertia;
    analysis::MeasurementLog log = RunAndRead(stepMode, wheel, [&](HWND dialog) {
      if (c.saturation != 10000) {
        ASSERT_TRUE(host::driver::DragTrackbar(dialog, IDC_SATURATION_X, static_cast<int>(c.saturation)));
      }
    });
    analysis::StepFigures figures;
    std::string reason;
    ASSERT_TRUE(analysis::AnalyseStepLog(log, figures, reason)) << reason;
    const analysis::ForceStep* pulse = figures.FirstPulse();
    ASSERT_NE(pulse, nullptr);
    // From rest the net torque is the motor's less the kinetic friction.
    const double acceleration = (TorqueOfForce(wheel, c.saturation) - wheel.coulombFriction) / wheel.inertia;
    std::printf("step: latency built %5.1f ms, recovered %5.1f ms (first move %3.0f ms); acceleration built %6.1f, "
                "recovered %6.1f rad/s^2\n",
                c.latencyMs, pulse->latencyMs, pulse->firstMoveMs, acceleration, pulse->initialAcceleration);
    EXPECT_NEAR(pulse->latencyMs, c.latencyMs, 0.1 * c.latencyMs);
    EXPECT_NEAR(pulse->initialAcceleration, acceleration, 0.1 * acceleration);
  }
}

TEST_F(RecoveryTest, TheEncoderStepComesOutWithinOneRawCount) {
  struct Case {
    int counts;
    int saturation;  // a fine encoder needs a slow sweep to show single counts
  };
  for (const Case& c : {Case{1024, 10000}, Case{4096, 10000}, Case{16384, 2000}}) {
    const int counts = c.counts;
    SCOPED_TRACE(counts);
    sim::WheelParameters wheel;
    wheel.encoderCountsPerRevolution = counts;
    analysis::MeasurementLog log = RunAndRead(resolutionMode, wheel, [&](HWND dialog) {
      ASSERT_TRUE(host::driver::DragTrackbar(dialog, IDC_SATURATION_X, c.saturation));
    });
    analysis::ResolutionFigures figures;
    std::string reason;
    ASSERT_TRUE(analysis::AnalyseResolutionLog(log, figures, reason)) << reason;
    // The 0..65535 axis spans the 900 degrees, 2.5 turns.
    const double stepRaw = 65535.0 / (counts * 2.5);
    std::printf("encoder: built %5d counts/rev (%.3f raw), recovered %.3f raw, %.0f counts/rev\n", counts, stepRaw,
                figures.stepRaw, figures.countsPerRevolution);
    EXPECT_NEAR(figures.stepRaw, stepRaw, 1.0);
    EXPECT_NEAR(figures.stepDegrees, 360.0 / counts, (900.0 / 65535.0));
  }
}

TEST_F(RecoveryTest, TheBreakAwayComesOutWithinOneRampStep) {
  for (double friction : {0.08, 0.165, 0.4}) {
    SCOPED_TRACE(friction);
    sim::WheelParameters wheel;
    wheel.staticFriction = friction;
    wheel.coulombFriction = friction * 0.8;
    analysis::MeasurementLog log = RunAndRead(minForceMode, wheel);
    analysis::MinForceFigures figures;
    std::string reason;
    ASSERT_TRUE(analysis::AnalyseMinForceLog(log, figures, reason)) << reason;
    const double truth = friction / wheel.maxMotorTorque * 10000.0;
    std::printf("break-away: built %6.0f, recovered %6.0f (largest held %6.0f)\n", truth, figures.breakAway,
                figures.largestHeld);
    EXPECT_GT(figures.breakAway, truth);
    EXPECT_LE(figures.breakAway, truth + 50.0);
    EXPECT_LE(figures.largestHeld, truth);
  }
}

}  // namespace
}  // namespace analysis_test

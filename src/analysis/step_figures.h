// Figures of a step-test log: per force step, how late and how hard the wheel answers.
#pragma once

#include <string>
#include <vector>

#include "analysis/measurement_log.h"

namespace analysis {

// Motion is fitted over this long after it is first seen: long enough to average out the
// encoder's counts, short enough that the wheel has not yet gained much speed.
inline constexpr double accelerationFitMs = 30.0;
// Speeds are taken over at least this long, so one count more or less changes them little.
inline constexpr double speedWindowMs = 10.0;

// One stretch of constant force (as logged: minus the force requested).
struct ForceStep {
  double force = 0.0;      // force units; its sign is the way it turns the wheel (position sign)
  double startMs = 0.0;    // time column of its first row
  double endMs = 0.0;      // time column of its last row
  bool moved = false;      // the wheel answered beyond the sensor's noise
  // From the force change to the onset of motion, ms: where the parabola fitted to the first
  // accelerationFitMs of the answer leaves the path the wheel was on (rest, or the motion
  // before a reversal), never below 0. None without an answer, or at zero force.
  double latencyMs;
  // From the force change to the first row beyond the sensor's noise, ms.
  double firstMoveMs;
  // The fitted parabola's acceleration along the force, rad/s^2.
  double initialAcceleration;
  // The largest speed over any speedWindowMs in the step, degrees/s.
  double peakSpeed;
  // After a reversal of the force: from the change to the turning point, ms.
  double reversalMs;
};

struct StepFigures {
  double noiseRaw = 0.0;        // the largest departure from rest before the first pulse, raw units
  double degreesPerRaw = 0.0;   // 0 when the wheel never moved
  std::vector<ForceStep> steps; // the rest at the start is steps[0]
  // The first pulse from rest: the headline figures.
  const ForceStep* FirstPulse() const;
  // The first reversal of a pulse.
  const ForceStep* FirstReversal() const;
};

// False with a reason naming the file and line when the log holds no force step.
bool AnalyseStepLog(const MeasurementLog& log, StepFigures& figures, std::string& reason);

}  // namespace analysis

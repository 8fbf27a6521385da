// The motor's torque curve from step-test logs run at several force levels (Saturation X):
// at each level the first pulse starts the wheel from rest, and its initial acceleration is
// (torque - friction) / inertia before the wheel has any speed for back-EMF or damping to
// eat into. Unlike the linear force test's travel, it does not flatten where the wheel's
// speed runs out.
#pragma once

#include <string>
#include <vector>

#include "analysis/response_figures.h"
#include "analysis/step_figures.h"

namespace analysis {

struct TorqueCurvePoint {
  std::string file;
  double force = 0.0;         // force units, the pulse's level
  double acceleration = 0.0;  // rad/s^2 from rest, 0 when the wheel did not move
  bool moved = false;
};

struct TorqueCurve {
  std::vector<TorqueCurvePoint> points;  // in order of force
  // Acceleration against force, analysed as a response (dead zone, linearity, knee).
  ResponseFigures response;
};

// Needs at least minimumTorqueLevels distinct force levels; logs at a level already seen
// are averaged with it.
inline constexpr int minimumTorqueLevels = 3;
bool TorqueCurveFromStepLogs(const std::vector<std::pair<std::string, StepFigures>>& logs, TorqueCurve& curve,
                             std::string& reason);

}  // namespace analysis

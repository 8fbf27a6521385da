#include "analysis/torque_curve.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "analysis/numeric.h"

namespace analysis {

bool TorqueCurveFromStepLogs(const std::vector<std::pair<std::string, StepFigures>>& logs, TorqueCurve& curve,
                             std::string& reason) {
  curve = TorqueCurve{};
  struct Sum {
    double acceleration = 0.0;
    int count = 0;
    bool moved = false;
    std::string files;
  };
  std::map<double, Sum> byLevel;
  for (const auto& [file, figures] : logs) {
    const ForceStep* pulse = figures.FirstPulse();
    if (pulse == nullptr) continue;
    Sum& sum = byLevel[std::abs(pulse->force)];
    const bool measured = pulse->moved && !IsNone(pulse->initialAcceleration);
    sum.acceleration += measured ? pulse->initialAcceleration : 0.0;
    sum.moved = sum.moved || measured;
    ++sum.count;
    sum.files += (sum.files.empty() ? "" : ", ") + file;
  }
  if (static_cast<int>(byLevel.size()) < minimumTorqueLevels) {
    reason = "a torque curve needs step logs at " + std::to_string(minimumTorqueLevels) +
             " force levels at least (Saturation X), these hold " + std::to_string(byLevel.size());
    return false;
  }
  std::vector<ResponsePoint> points;
  for (const auto& [force, sum] : byLevel) {
    curve.points.push_back({sum.files, force, sum.acceleration / sum.count, sum.moved});
    points.push_back({force, sum.acceleration / sum.count, false, false, 0});
  }
  curve.response.levelUnit = "force units";
  // A level that did not move counts as no acceleration: below the friction.
  return AnalyseResponse(points, "step logs: ", curve.response, reason);
}

}  // namespace analysis

#include "analysis/min_force_figures.h"

#include <algorithm>
#include <cmath>

#include "analysis/numeric.h"
#include "analysis/position_trace.h"

namespace analysis {

bool AnalyseMinForceLog(const MeasurementLog& log, MinForceFigures& figures, std::string& reason) {
  figures = MinForceFigures{};
  figures.breakAway = figures.largestHeld = none;
  if (log.rows() == 0) {
    reason = log.file + ":" + std::to_string(log.lineCount) + ": no rows after the header";
    return false;
  }
  const PositionTrace trace =
      ReadPositionTrace(log, min_force_column::time, min_force_column::rawPosX, min_force_column::posXDeg);
  figures.countRaw = trace.countRaw;
  const std::vector<double> force = log.Column(min_force_column::force);
  // Levels: runs of one force.
  std::vector<std::pair<size_t, size_t>> runs;
  for (size_t i = 0; i < force.size(); ++i) {
    if (runs.empty() || force[i] != force[runs.back().first]) runs.push_back({i, i});
    runs.back().second = i;
  }
  {
    std::vector<double> first(trace.raw.begin() + static_cast<long>(runs.front().first),
                              trace.raw.begin() + static_cast<long>(runs.front().second) + 1);
    const double middle = Median(first);
    for (double value : first) figures.noiseRaw = std::max(figures.noiseRaw, std::abs(value - middle));
  }
  // A level moves the wheel when it leaves it further than the noise and one count away: a
  // reading that flickers between two counts does not.
  const double threshold = figures.noiseRaw + figures.countRaw;
  for (const auto& [first, last] : runs) {
    RampLevel level;
    level.force = -force[first];
    level.startMs = trace.timeMs[first];
    level.travelRaw = trace.raw[last] - trace.raw[first];
    level.moved = std::abs(level.travelRaw) > threshold && figures.countRaw > 0.0;
    figures.levels.push_back(level);
  }
  for (size_t i = 0; i < figures.levels.size(); ++i) {
    if (!figures.levels[i].moved) continue;
    figures.breakAway = std::abs(figures.levels[i].force);
    figures.largestHeld = i > 0 ? std::abs(figures.levels[i - 1].force) : 0.0;
    break;
  }
  return true;
}

}  // namespace analysis

#include "analysis/resolution_figures.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "analysis/position_trace.h"

namespace analysis {

namespace {

// A step between readings must turn up this often to count as real: a glitched row adds one
// or two odd steps, the encoder's own steps recur all along the sweep.
constexpr int realStepRecurrence = 3;

}  // namespace

bool AnalyseResolutionLog(const MeasurementLog& log, ResolutionFigures& figures, std::string& reason) {
  figures = ResolutionFigures{};
  const std::string where = log.file + ":" + std::to_string(log.lineCount) + ": ";
  if (log.rows() == 0) {
    reason = where + "no rows after the header";
    return false;
  }
  const PositionTrace trace =
      ReadPositionTrace(log, resolution_column::time, resolution_column::xPosRaw, resolution_column::xPosDeg);
  figures.degreesPerRaw = std::abs(trace.degreesPerRaw);
  figures.smallestChangeRaw = trace.countRaw;
  figures.durationMs = trace.timeMs.back() - trace.timeMs.front();

  std::vector<double> readings = trace.raw;
  std::sort(readings.begin(), readings.end());
  readings.erase(std::unique(readings.begin(), readings.end()), readings.end());
  figures.distinctReadings = static_cast<int>(readings.size());
  std::map<double, int> steps;
  for (size_t i = 1; i < readings.size(); ++i) ++steps[readings[i] - readings[i - 1]];
  double smallest = 0.0;
  for (const auto& [step, times] : steps) {
    if (times >= realStepRecurrence) {
      smallest = step;
      break;
    }
  }
  if (smallest == 0.0 || figures.degreesPerRaw == 0.0) {
    reason = where + "the wheel did not pass enough encoder counts to measure one (" +
             std::to_string(readings.size()) + " distinct readings)";
    return false;
  }
  // One count spans floor(step) or ceil(step) raw units, two counts at least twice as many.
  // Where those meet (1 and 2 raw units), 2 counts as a single step only when it is at least
  // as common as 1: a slow sweep passes single counts far more often than it skips one.
  const int smallestTimes = steps[smallest];
  double sum = 0.0;
  int count = 0;
  for (const auto& [step, times] : steps) {
    const bool single = step < 2.0 * smallest || (step == 2.0 * smallest && times >= smallestTimes);
    if (step >= smallest && step <= smallest + 1.0 && single) {
      sum += step * times;
      count += times;
    }
  }
  figures.stepRaw = sum / count;
  figures.stepDegrees = figures.stepRaw * figures.degreesPerRaw;
  figures.countsPerRevolution = 360.0 / figures.stepDegrees;
  figures.sweptDegrees = (readings.back() - readings.front()) * figures.degreesPerRaw;
  return true;
}

}  // namespace analysis

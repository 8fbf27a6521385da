#include "analysis/position_trace.h"

#include <algorithm>
#include <cmath>

namespace analysis {

namespace {

std::vector<double> MedianOfThree(const std::vector<double>& values) {
  std::vector<double> out = values;
  for (size_t i = 1; i + 1 < values.size(); ++i) {
    double a = values[i - 1], b = values[i], c = values[i + 1];
    out[i] = std::max(std::min(a, b), std::min(std::max(a, b), c));
  }
  return out;
}

}  // namespace

PositionTrace ReadPositionTrace(const MeasurementLog& log, int timeColumn, int rawColumn, int degreesColumn) {
  PositionTrace trace;
  trace.timeMs = log.Column(timeColumn);
  trace.raw = MedianOfThree(log.Column(rawColumn));
  trace.degrees = MedianOfThree(log.Column(degreesColumn));
  if (trace.raw.empty()) return trace;
  auto [low, high] = std::minmax_element(trace.raw.begin(), trace.raw.end());
  if (*high > *low) {
    const size_t lowIndex = static_cast<size_t>(low - trace.raw.begin());
    const size_t highIndex = static_cast<size_t>(high - trace.raw.begin());
    trace.degreesPerRaw = (trace.degrees[highIndex] - trace.degrees[lowIndex]) / (*high - *low);
  }
  for (size_t i = 1; i < trace.raw.size(); ++i) {
    const double change = std::abs(trace.raw[i] - trace.raw[i - 1]);
    if (change > 0.0 && (trace.countRaw == 0.0 || change < trace.countRaw)) trace.countRaw = change;
  }
  return trace;
}

}  // namespace analysis

// Figures of the resolution test: the steps in which the device reports the wheel's position.
// Single counts show only while the wheel is slow: a fine encoder needs a sweep at a low
// force (Saturation X), or the wheel passes several counts between two ticks from the start.
#pragma once

#include <string>

#include "analysis/measurement_log.h"

namespace analysis {

struct ResolutionFigures {
  // One encoder count in the axis's raw units: the mean of the smallest real steps between
  // the distinct readings the sweep passed (a count may span a fractional number of raw
  // units, so these steps alternate, 6 and 7 for 6.4).
  double stepRaw = 0.0;
  double degreesPerRaw = 0.0;  // from the logged angle against the raw reading
  double stepDegrees = 0.0;
  double countsPerRevolution = 0.0;
  double smallestChangeRaw = 0.0;  // the smallest change between two rows
  double sweptDegrees = 0.0;
  double durationMs = 0.0;
  int distinctReadings = 0;
};

// False with a reason when the wheel did not move through at least a few counts.
bool AnalyseResolutionLog(const MeasurementLog& log, ResolutionFigures& figures, std::string& reason);

}  // namespace analysis

// The position columns of a time-series log, cleaned of single-row glitches, with what the
// encoder's counts look like in it.
#pragma once

#include <vector>

#include "analysis/measurement_log.h"

namespace analysis {

struct PositionTrace {
  std::vector<double> timeMs;
  std::vector<double> raw;      // the device's axis value
  std::vector<double> degrees;  // the wheel angle the program logged
  double degreesPerRaw = 0.0;   // from the two most distant raw readings; 0 if it never moved
  double countRaw = 0.0;        // the smallest change between rows, raw units; 0 if none
};

// Each position is the median of itself and its two neighbours: a single glitched row goes,
// steady motion is kept exactly.
PositionTrace ReadPositionTrace(const MeasurementLog& log, int timeColumn, int rawColumn, int degreesColumn);

}  // namespace analysis

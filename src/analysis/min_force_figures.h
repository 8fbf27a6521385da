// Figures of the minimum-force test: the force that breaks the wheel away, read off the ramp.
#pragma once

#include <string>
#include <vector>

#include "analysis/measurement_log.h"

namespace analysis {

struct RampLevel {
  double force = 0.0;     // force units (the log shows it negated)
  double startMs = 0.0;
  double travelRaw = 0.0; // from the level's first row to its last
  bool moved = false;
};

struct MinForceFigures {
  double noiseRaw = 0.0;    // how far the reading strays at the ramp's first level (no force)
  double countRaw = 0.0;    // the smallest change between two rows
  std::vector<RampLevel> levels;
  // The lowest level at which the wheel travelled more than the noise and a count; none if it
  // never did.
  double breakAway;
  // The highest level below it: the force the wheel swallows, for the host's base offset.
  double largestHeld;
};

bool AnalyseMinForceLog(const MeasurementLog& log, MinForceFigures& figures, std::string& reason);

}  // namespace analysis

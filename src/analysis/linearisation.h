// Linearisation of a measured response: a force map for the program's "Force Map" box (at
// most ten "input:output" pairs, inputs rising from 0 to 10000) and a lookup table in the
// "input|output" line format sims read.
#pragma once

#include <string>
#include <vector>

#include "analysis/response_figures.h"

namespace analysis {

enum class LinearisationMode {
  DeadZone,  // lift every force over the dead zone, linear above it
  Full,      // also straighten the curve above the dead zone
};

// "deadzone" or "full"; false for anything else.
bool ParseLinearisationMode(const std::string& text, LinearisationMode& mode);
const char* ModeName(LinearisationMode mode);

inline constexpr int forceMapPairLimit = 10;
inline constexpr int lutLineCount = 101;

struct ForceMapPair {
  int input;
  int output;
};

struct Linearisation {
  LinearisationMode mode = LinearisationMode::Full;
  std::vector<ForceMapPair> pairs;  // what the box gets
  std::string forceMap;             // the same as text: "0:0,1:700,...,10000:10000"
  // The force (force units) the map's curve asks for at each input 0, 100, ..., 10000,
  // before it is cut down to ten pairs: the lookup table's source.
  std::vector<double> denseOutput;
};

// From a linear-force log's figures. False with a reason when the wheel never moved for
// good (there is no dead zone to lift and no curve to invert).
bool Linearise(const ResponseFigures& figures, LinearisationMode mode, Linearisation& result, std::string& reason);

// The force map as the program applies it to a force magnitude (linear between pairs).
double MapForce(const std::vector<ForceMapPair>& pairs, double magnitude);
// What the response would be with the map in place, normalised as figures.normalised, at
// each level of the figures: the measured curve read at the mapped force.
std::vector<double> PredictedResponse(const ResponseFigures& figures, const std::vector<ForceMapPair>& pairs);

// lutLineCount lines "input|output", both 0..1 with four decimals, input rising by 0.01.
std::string LutText(const Linearisation& linearisation);

}  // namespace analysis

#include "analysis/linearisation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/numeric.h"

namespace analysis {

namespace {

constexpr int fullScale = 10000;
constexpr int denseStep = 100;
// Pairs are added where the ten-pair map strays furthest from the full curve, until it
// strays no more than this (force units).
constexpr double mapTolerance = 5.0;

std::string Text(const std::vector<ForceMapPair>& pairs) {
  std::string text;
  for (const ForceMapPair& pair : pairs) {
    if (!text.empty()) text += ",";
    text += std::to_string(pair.input) + ":" + std::to_string(pair.output);
  }
  return text;
}

int Rounded(double force) { return static_cast<int>(std::lround(std::clamp(force, 0.0, double(fullScale)))); }

}  // namespace

bool ParseLinearisationMode(const std::string& text, LinearisationMode& mode) {
  if (text == "deadzone") mode = LinearisationMode::DeadZone;
  else if (text == "full") mode = LinearisationMode::Full;
  else return false;
  return true;
}

const char* ModeName(LinearisationMode mode) { return mode == LinearisationMode::DeadZone ? "deadzone" : "full"; }

double MapForce(const std::vector<ForceMapPair>& pairs, double magnitude) {
  if (pairs.empty()) return magnitude;
  if (magnitude <= pairs.front().input) return pairs.front().output;
  for (size_t i = 0; i + 1 < pairs.size(); ++i) {
    const ForceMapPair& a = pairs[i];
    const ForceMapPair& b = pairs[i + 1];
    if (magnitude <= b.input) {
      if (b.input == a.input) return b.output;
      return a.output + (magnitude - a.input) / (b.input - a.input) * (b.output - a.output);
    }
  }
  return pairs.back().output;
}

bool Linearise(const ResponseFigures& figures, LinearisationMode mode, Linearisation& result, std::string& reason) {
  result = Linearisation{};
  result.mode = mode;
  if (IsNone(figures.deadZone)) {
    reason = "the wheel never moved for good: no dead zone to lift and no curve to straighten";
    return false;
  }
  const int hold = Rounded(figures.holdLevel);
  const double top = figures.fullLevel;

  // The measured curve, made non-decreasing, from (hold, 0) up; ties keep the higher level
  // at the top, so that the full input still gets the full force.
  std::vector<double> levels{static_cast<double>(hold)}, values{0.0};
  {
    std::vector<double> rawLevels, rawValues;
    for (size_t i = 0; i < figures.points.size(); ++i) {
      const ResponsePoint& p = figures.points[i];
      if (p.outlier || p.level < figures.deadZone) continue;
      rawLevels.push_back(p.level);
      rawValues.push_back(figures.normalised[i]);
    }
    rawValues = IsotonicIncreasing(rawValues);
    for (size_t i = 0; i < rawLevels.size(); ++i) {
      const bool last = i + 1 == rawLevels.size();
      if (rawValues[i] > values.back()) {
        levels.push_back(rawLevels[i]);
        values.push_back(rawValues[i]);
      } else if (last && rawLevels[i] > levels.back()) {
        levels.back() = rawLevels[i];
      }
    }
  }
  const double end = values.back();

  // The force each input needs: dead zone only, a straight line from hold to the top; full,
  // the inverse of the measured curve.
  result.denseOutput.clear();
  for (int input = 0; input <= fullScale; input += denseStep) {
    double output;
    if (input == 0) {
      output = 0.0;
    } else if (mode == LinearisationMode::DeadZone || end <= 0.0) {
      output = hold + (top - hold) * input / fullScale;
    } else {
      output = Interpolate(values, levels, end * input / fullScale);
    }
    result.denseOutput.push_back(std::clamp(output, 0.0, static_cast<double>(fullScale)));
  }

  // The pairs: zero stays zero, the smallest force jumps to the hold level, the top ends it,
  // and the rest go where the map strays furthest from the dense curve.
  std::vector<ForceMapPair> pairs{{0, 0}};
  if (hold > 0) pairs.push_back({1, hold});
  const ForceMapPair last{fullScale, Rounded(result.denseOutput.back())};
  pairs.push_back(last);
  if (mode == LinearisationMode::Full) {
    while (static_cast<int>(pairs.size()) < forceMapPairLimit) {
      double worst = mapTolerance;
      int worstIndex = -1;
      for (size_t k = 1; k + 1 < result.denseOutput.size(); ++k) {
        const int input = static_cast<int>(k) * denseStep;
        const bool taken = std::any_of(pairs.begin(), pairs.end(), [&](const ForceMapPair& p) { return p.input == input; });
        if (taken) continue;
        const double error = std::abs(MapForce(pairs, input) - result.denseOutput[k]);
        if (error > worst) {
          worst = error;
          worstIndex = static_cast<int>(k);
        }
      }
      if (worstIndex < 0) break;
      const ForceMapPair pair{worstIndex * denseStep, Rounded(result.denseOutput[static_cast<size_t>(worstIndex)])};
      pairs.insert(std::upper_bound(pairs.begin(), pairs.end(), pair,
                                    [](const ForceMapPair& a, const ForceMapPair& b) { return a.input < b.input; }),
                   pair);
    }
  }
  result.pairs = pairs;
  result.forceMap = Text(pairs);
  return true;
}

std::vector<double> PredictedResponse(const ResponseFigures& figures, const std::vector<ForceMapPair>& pairs) {
  std::vector<double> predicted;
  for (const ResponsePoint& p : figures.points) predicted.push_back(ResponseAt(figures, MapForce(pairs, p.level)));
  return predicted;
}

std::string LutText(const Linearisation& linearisation) {
  std::vector<double> inputs;
  for (size_t k = 0; k < linearisation.denseOutput.size(); ++k) inputs.push_back(static_cast<double>(k * denseStep));
  std::string text;
  char line[32];
  for (int i = 0; i < lutLineCount; ++i) {
    const double input = i / static_cast<double>(lutLineCount - 1);
    const double force = Interpolate(inputs, linearisation.denseOutput, input * fullScale);
    std::snprintf(line, sizeof line, "%.4f|%.4f\n", input, std::clamp(force / fullScale, 0.0, 1.0));
    text += line;
  }
  return text;
}

}  // namespace analysis

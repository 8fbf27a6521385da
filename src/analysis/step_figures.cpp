#include "analysis/step_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "analysis/numeric.h"
#include "analysis/position_trace.h"

namespace analysis {

namespace {

constexpr double degreesToRadians = std::numbers::pi / 180.0;

int Sign(double x) { return (x > 0.0) - (x < 0.0); }

struct Stretch {
  size_t first;
  size_t last;  // inclusive
  int sign;
};

std::vector<Stretch> ForceStretches(const std::vector<double>& force) {
  std::vector<Stretch> stretches;
  for (size_t i = 0; i < force.size(); ++i) {
    const int sign = Sign(force[i]);
    if (stretches.empty() || stretches.back().sign != sign) stretches.push_back({i, i, sign});
    stretches.back().last = i;
  }
  return stretches;
}

struct Window {
  std::vector<double> time;
  std::vector<double> degrees;
  std::vector<double> raw;
};

Window Rows(const PositionTrace& trace, size_t first, size_t endExclusive, double fromMs, double toMs) {
  Window window;
  for (size_t i = first; i < endExclusive; ++i) {
    if (trace.timeMs[i] < fromMs || trace.timeMs[i] > toMs) continue;
    window.time.push_back(trace.timeMs[i]);
    window.degrees.push_back(trace.degrees[i]);
    window.raw.push_back(trace.raw[i]);
  }
  return window;
}

double PeakSpeed(const PositionTrace& trace, const Stretch& stretch) {
  double peak = 0.0;
  size_t j = stretch.first;
  for (size_t i = stretch.first; i <= stretch.last; ++i) {
    while (j <= stretch.last && trace.timeMs[j] < trace.timeMs[i] + speedWindowMs) ++j;
    if (j > stretch.last) break;
    const double dt = trace.timeMs[j] - trace.timeMs[i];
    if (dt > 0.0) peak = std::max(peak, std::abs(trace.degrees[j] - trace.degrees[i]) / dt * 1000.0);
  }
  return peak;
}

// The turning point after a reversal: the middle of the rows furthest along the old way.
double TurningPointMs(const PositionTrace& trace, const Stretch& stretch, int oldDirection) {
  double best = -1e300;
  size_t firstBest = stretch.first, lastBest = stretch.first;
  for (size_t i = stretch.first; i <= stretch.last; ++i) {
    const double along = oldDirection * trace.degrees[i];
    if (along > best) {
      best = along;
      firstBest = lastBest = i;
    } else if (along == best) {
      lastBest = i;
    }
  }
  return (trace.timeMs[firstBest] + trace.timeMs[lastBest]) / 2.0 - trace.timeMs[stretch.first];
}

}  // namespace

const ForceStep* StepFigures::FirstPulse() const {
  for (const ForceStep& step : steps) {
    if (step.force != 0.0) return &step;
  }
  return nullptr;
}

const ForceStep* StepFigures::FirstReversal() const {
  for (const ForceStep& step : steps) {
    if (!IsNone(step.reversalMs)) return &step;
  }
  return nullptr;
}

bool AnalyseStepLog(const MeasurementLog& log, StepFigures& figures, std::string& reason) {
  figures = StepFigures{};
  if (log.rows() == 0) {
    reason = log.file + ":" + std::to_string(log.lineCount) + ": no rows after the header";
    return false;
  }
  const PositionTrace trace = ReadPositionTrace(log, step_column::time, step_column::rawPosX, step_column::posXDeg);
  const std::vector<double> force = log.Column(step_column::force);
  const std::vector<Stretch> stretches = ForceStretches(force);
  figures.degreesPerRaw = trace.degreesPerRaw;

  // The sensor's noise: how far the resting wheel's reading strays before the first pulse.
  if (stretches.front().sign == 0) {
    std::vector<double> rest(trace.raw.begin() + static_cast<long>(stretches.front().first),
                             trace.raw.begin() + static_cast<long>(stretches.front().last) + 1);
    const double middle = Median(rest);
    for (double value : rest) figures.noiseRaw = std::max(figures.noiseRaw, std::abs(value - middle));
  }
  const double noiseDegrees = figures.noiseRaw * std::abs(trace.degreesPerRaw);
  const double countDegrees = trace.countRaw * std::abs(trace.degreesPerRaw);

  int previousSign = 0;
  for (size_t s = 0; s < stretches.size(); ++s) {
    const Stretch& stretch = stretches[s];
    ForceStep step{};
    std::vector<double> forces(force.begin() + static_cast<long>(stretch.first),
                               force.begin() + static_cast<long>(stretch.last) + 1);
    step.force = Median(forces);
    step.startMs = trace.timeMs[stretch.first];
    step.endMs = trace.timeMs[stretch.last];
    step.latencyMs = step.firstMoveMs = step.initialAcceleration = step.reversalMs = none;
    step.peakSpeed = PeakSpeed(trace, stretch);
    const int direction = stretch.sign;
    if (s > 0 && direction != 0 && trace.degreesPerRaw != 0.0) {
      const double changeMs = step.startMs;
      const Window before = Rows(trace, 0, stretch.first, changeMs - accelerationFitMs, changeMs);
      const bool wasMoving =
          !before.raw.empty() &&
          *std::max_element(before.raw.begin(), before.raw.end()) - *std::min_element(before.raw.begin(), before.raw.end()) >
              figures.noiseRaw + trace.countRaw;
      std::optional<Quadratic> path;
      if (wasMoving) {
        path = FitQuadratic(before.time, before.degrees);
      } else {
        const double restAt = before.degrees.empty() ? trace.degrees[stretch.first] : Median(before.degrees);
        path = Quadratic{restAt, 0.0, 0.0};
      }
      const double threshold = noiseDegrees + (wasMoving ? 1.0 : 0.5) * countDegrees;
      // The answer: the first row (with the next one, so a lone glitch can't count) beyond
      // the noise along the force, measured from where the wheel was going anyway.
      auto beyond = [&](size_t i) { return direction * (trace.degrees[i] - path->At(trace.timeMs[i])) > threshold; };
      size_t answer = stretch.last + 1;
      if (path) {
        for (size_t i = stretch.first; i <= stretch.last; ++i) {
          if (beyond(i) && (i == stretch.last || beyond(i + 1))) {
            answer = i;
            break;
          }
        }
      }
      if (answer <= stretch.last) {
        step.moved = true;
        step.firstMoveMs = trace.timeMs[answer] - changeMs;
        const Window after = Rows(trace, answer, stretch.last + 1, trace.timeMs[answer],
                                  trace.timeMs[answer] + accelerationFitMs);
        std::optional<Quadratic> motion = FitQuadratic(after.time, after.degrees);
        if (motion && direction * motion->c2 > 0.0) {
          step.initialAcceleration = direction * 2.0 * motion->c2 * 1e6 * degreesToRadians;
          // Where the fitted motion's speed meets the speed of the path before.
          const double turn = 2.0 * (path->c2 - motion->c2);
          // An onset fitted before the change is a latency below what the fit resolves, not
          // an answer ahead of the command.
          if (std::abs(turn) > 1e-15) step.latencyMs = std::max(0.0, (motion->c1 - path->c1) / turn - changeMs);
        }
      }
      if (previousSign == -direction) step.reversalMs = TurningPointMs(trace, stretch, previousSign);
    }
    if (direction != 0) previousSign = direction;
    figures.steps.push_back(step);
  }
  if (figures.FirstPulse() == nullptr) {
    reason = log.file + ":" + std::to_string(log.lines.back()) + ": no force step in the log (the force is 0 throughout)";
    return false;
  }
  return true;
}

}  // namespace analysis

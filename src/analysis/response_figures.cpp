#include "analysis/response_figures.h"

#include <algorithm>
#include <cmath>

#include "analysis/numeric.h"

namespace analysis {

namespace {

// A single count's size: the smallest response seen, but never more than a small share of the
// full response (a wheel whose every level moves far has no jitter to see).
constexpr double countShareLimit = 0.005;

void MarkOutliers(std::vector<ResponsePoint>& points, double tolerance) {
  const size_t n = points.size();
  if (n < 3) return;
  for (size_t i = 0; i < n; ++i) {
    double expected, agreement;
    if (i == 0) {
      expected = 2.0 * points[1].response - points[2].response;
      agreement = std::abs(points[1].response - points[2].response);
    } else if (i + 1 == n) {
      expected = 2.0 * points[n - 2].response - points[n - 3].response;
      agreement = std::abs(points[n - 2].response - points[n - 3].response);
    } else {
      expected = (points[i - 1].response + points[i + 1].response) / 2.0;
      agreement = std::abs(points[i - 1].response - points[i + 1].response);
    }
    if (std::abs(points[i].response - expected) > tolerance && agreement < tolerance) points[i].outlier = true;
  }
}

}  // namespace

bool AnalyseResponse(std::vector<ResponsePoint> points, const std::string& where, ResponseFigures& figures,
                     std::string& reason) {
  const char* unit = figures.levelUnit;
  figures = ResponseFigures{};
  figures.levelUnit = unit;
  figures.deadZone = figures.linearityError = figures.linearityErrorAt = figures.knee = none;
  std::stable_sort(points.begin(), points.end(),
                   [](const ResponsePoint& a, const ResponsePoint& b) { return a.level < b.level; });
  if (points.empty()) {
    reason = where + "no steps in the log";
    return false;
  }
  // Outliers, judged against the second largest response so that one glitch can't set the scale.
  std::vector<double> sizes;
  for (const ResponsePoint& p : points) sizes.push_back(std::abs(p.response));
  std::sort(sizes.begin(), sizes.end());
  const double scale = sizes.size() > 1 ? sizes[sizes.size() - 2] : sizes.back();
  double smallest = 0.0;
  for (double size : sizes) {
    if (size > 0.0) {
      smallest = size;
      break;
    }
  }
  MarkOutliers(points, std::max(outlierShare * scale, 3.0 * smallest));

  std::vector<const ResponsePoint*> clean;
  for (const ResponsePoint& p : points) {
    if (!p.outlier) clean.push_back(&p);
  }
  for (const ResponsePoint* p : clean) figures.maxResponse = std::max(figures.maxResponse, p->response);
  const double count = std::min(smallest, countShareLimit * figures.maxResponse);
  figures.jitterDegrees = 1.5 * count;
  for (ResponsePoint& p : points) {
    p.moves = !p.outlier && p.response > figures.jitterDegrees;
    if (p.outlier) ++figures.outliers;
  }
  figures.points = points;
  figures.fullLevel = clean.empty() ? points.back().level : clean.back()->level;

  figures.normalised.assign(points.size(), 0.0);
  if (figures.maxResponse > 0.0) {
    for (size_t i = 0; i < points.size(); ++i) figures.normalised[i] = points[i].response / figures.maxResponse;
  }

  // The dead zone: the start of the last run of moving levels that reaches the top.
  size_t firstMoving = points.size();
  for (size_t i = points.size(); i-- > 0;) {
    if (points[i].outlier) continue;
    if (!points[i].moves) break;
    firstMoving = i;
  }
  if (firstMoving == points.size()) return true;  // it never moves for good: no more figures
  figures.deadZone = points[firstMoving].level;
  for (size_t i = firstMoving; i-- > 0;) {
    if (!points[i].outlier) {
      figures.holdLevel = points[i].level;
      break;
    }
  }

  // Linearity against the line from (deadZone, 0) to the last level.
  size_t lastClean = points.size() - 1;
  while (points[lastClean].outlier) --lastClean;
  const double span = figures.fullLevel - figures.deadZone;
  const double endValue = figures.normalised[lastClean];
  figures.linearityError = 0.0;
  figures.linearityErrorAt = figures.deadZone;
  for (size_t i = firstMoving; i < points.size(); ++i) {
    if (points[i].outlier) continue;
    const double line = span > 0.0 ? endValue * (points[i].level - figures.deadZone) / span : endValue;
    const double error = std::abs(figures.normalised[i] - line);
    if (error > figures.linearityError) {
      figures.linearityError = error;
      figures.linearityErrorAt = points[i].level;
    }
  }

  // The knee, on the smoothed (non-decreasing) curve: the level from which every local slope
  // stays under kneeSlopeShare of the average slope. Two flat slopes at least.
  std::vector<double> levels, values;
  for (size_t i = firstMoving; i < points.size(); ++i) {
    if (points[i].outlier) continue;
    levels.push_back(points[i].level);
    values.push_back(figures.normalised[i]);
  }
  values = IsotonicIncreasing(values);
  if (levels.size() >= 4 && span > 0.0) {
    const double average = values.back() / span;
    size_t knee = levels.size();
    for (size_t i = levels.size() - 1; i-- > 0;) {
      const double slope = (values[i + 1] - values[i]) / (levels[i + 1] - levels[i]);
      if (slope >= kneeSlopeShare * average) break;
      knee = i;
    }
    if (knee + 2 < levels.size()) figures.knee = levels[knee];
  }
  return true;
}

bool AnalyseLinearForceLog(const MeasurementLog& log, ResponseFigures& figures, std::string& reason) {
  std::vector<ResponsePoint> points;
  for (size_t row = 0; row < log.rows(); ++row) {
    const double level = log.at(row, linear_force_column::force);
    if (level <= 0.0) continue;  // the "0, 0, 0, 0, 0" row the test writes first
    points.push_back({level, log.at(row, linear_force_column::deltaXDeg), false, false, log.lines[row]});
  }
  figures.levelUnit = "force units";
  return AnalyseResponse(points, log.file + ":" + std::to_string(log.lineCount) + ": ", figures, reason);
}

bool AnalyseLinearTimeLog(const MeasurementLog& log, ResponseFigures& figures, std::string& reason) {
  std::vector<ResponsePoint> points;
  for (size_t row = 0; row < log.rows(); ++row) {
    const double level = log.at(row, linear_time_column::time);
    if (level <= 0.0) continue;
    // This log counts degrees the other way round from the linear force log.
    points.push_back({level, -log.at(row, linear_time_column::deltaXDeg), false, false, log.lines[row]});
  }
  figures.levelUnit = "ms";
  return AnalyseResponse(points, log.file + ":" + std::to_string(log.lineCount) + ": ", figures, reason);
}

double ResponseAt(const ResponseFigures& figures, double level) {
  std::vector<double> levels{0.0}, values{0.0};
  if (!IsNone(figures.deadZone)) {
    levels.push_back(figures.holdLevel);
    values.push_back(0.0);
  }
  for (size_t i = 0; i < figures.points.size(); ++i) {
    const ResponsePoint& p = figures.points[i];
    if (p.outlier || p.level <= levels.back()) continue;
    levels.push_back(p.level);
    values.push_back(figures.normalised[i]);
  }
  return Interpolate(levels, values, level);
}

}  // namespace analysis

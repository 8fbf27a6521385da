#include "analysis/plots.h"

#include <algorithm>
#include <cmath>

#include "analysis/numeric.h"

namespace analysis {

namespace {

// Distinct on white and to colour-blind eyes (Okabe and Ito).
constexpr const char* blue = "#0072b2";
constexpr const char* orange = "#e69f00";
constexpr const char* green = "#009e73";
constexpr const char* red = "#d55e00";
constexpr const char* purple = "#cc79a7";

PlotSeries Series(std::string label, std::string unit, const char* colour, std::vector<double> values) {
  PlotSeries s;
  s.label = std::move(label);
  s.unit = std::move(unit);
  s.colour = colour;
  s.values = std::move(values);
  return s;
}

Plot TimePlot(const MeasurementLog& log, int timeColumn, std::string title) {
  Plot plot;
  plot.title = std::move(title);
  plot.xLabel = "time (ms)";
  plot.x = log.Column(timeColumn);
  plot.sourceRows = log.rows();
  return plot;
}

std::vector<Plot> StepPlots(const LogAnalysis& a) {
  const MeasurementLog& log = a.log;
  Plot motion = TimePlot(log, step_column::time, "Position and force");
  motion.leftLabel = "position (deg)";
  motion.rightLabel = "force (force units)";
  motion.series.push_back(Series("position", "deg", blue, log.Column(step_column::posXDeg)));
  PlotSeries force = Series("force", "force units", orange, log.Column(step_column::force));
  force.rightAxis = true;
  motion.series.push_back(force);

  Plot speed = TimePlot(log, step_column::time, "Speed");
  speed.leftLabel = "speed (rad/s)";
  speed.series.push_back(Series("speed", "rad/s", green, log.Column(step_column::velocity)));
  return {motion, speed};
}

std::vector<Plot> ResponsePlots(const LogAnalysis& a) {
  const ResponseFigures& f = *a.response;
  const bool byForce = a.log.kind == LogKind::LinearForce;
  Plot curve;
  curve.title = "Response, normalised to its largest";
  curve.xLabel = byForce ? "force (force units)" : "step time (ms)";
  curve.leftLabel = "response (share of largest)";
  std::vector<double> measured, line, outliers, linearised;
  const double span = f.fullLevel - f.deadZone;
  double endValue = 0.0;
  for (size_t i = 0; i < f.points.size(); ++i) {
    if (!f.points[i].outlier) endValue = f.normalised[i];
  }
  std::vector<double> predicted;
  if (a.linearisation) predicted = PredictedResponse(f, a.linearisation->pairs);
  for (size_t i = 0; i < f.points.size(); ++i) {
    const ResponsePoint& p = f.points[i];
    curve.x.push_back(p.level);
    measured.push_back(p.outlier ? none : f.normalised[i]);
    outliers.push_back(p.outlier ? f.normalised[i] : none);
    if (IsNone(f.deadZone) || p.level < f.deadZone) {
      line.push_back(none);
    } else {
      line.push_back(span > 0.0 ? endValue * (p.level - f.deadZone) / span : endValue);
    }
    if (a.linearisation) linearised.push_back(predicted[i]);
  }
  curve.sourceRows = f.points.size();
  PlotSeries points = Series("measured", "", blue, measured);
  points.pointsOnly = true;
  curve.series.push_back(points);
  PlotSeries straight = Series("straight line from the dead zone", "", orange, line);
  straight.dashed = true;
  curve.series.push_back(straight);
  if (a.linearisation) {
    curve.series.push_back(Series("with the force map (" + std::string(ModeName(a.linearisation->mode)) + ")", "", green,
                                  linearised));
  }
  if (f.outliers > 0) {
    PlotSeries odd = Series("outlier rows (left out)", "", red, outliers);
    odd.pointsOnly = true;
    curve.series.push_back(odd);
  }
  std::vector<Plot> plots{curve};
  if (a.linearisation) {
    Plot map;
    map.title = "Force map";
    map.xLabel = "force asked for (force units)";
    map.leftLabel = "force sent (force units)";
    std::vector<double> dense, pairs;
    for (size_t k = 0; k < a.linearisation->denseOutput.size(); ++k) {
      const double input = static_cast<double>(k) * 100.0;
      map.x.push_back(input);
      dense.push_back(a.linearisation->denseOutput[k]);
      pairs.push_back(MapForce(a.linearisation->pairs, input));
    }
    map.sourceRows = map.x.size();
    map.series.push_back(Series("the curve's inverse", "force units", purple, dense));
    map.series.push_back(Series("the map's pairs", "force units", green, pairs));
    plots.push_back(map);
  }
  return plots;
}

std::vector<Plot> ResolutionPlots(const LogAnalysis& a) {
  const MeasurementLog& log = a.log;
  Plot position = TimePlot(log, resolution_column::time, "Raw position during the sweep");
  position.leftLabel = "raw position";
  position.series.push_back(Series("raw position", "raw", blue, log.Column(resolution_column::xPosRaw)));
  Plot change = TimePlot(log, resolution_column::time, "Change per row");
  change.leftLabel = "change (raw)";
  PlotSeries steps = Series("change", "raw", orange, log.Column(resolution_column::deltaX));
  steps.pointsOnly = true;
  change.series.push_back(steps);
  return {position, change};
}

std::vector<Plot> MinForcePlots(const LogAnalysis& a) {
  const MeasurementLog& log = a.log;
  Plot ramp = TimePlot(log, min_force_column::time, "Force ramp and position");
  ramp.leftLabel = "raw position";
  ramp.rightLabel = "force (force units)";
  ramp.series.push_back(Series("raw position", "raw", blue, log.Column(min_force_column::rawPosX)));
  std::vector<double> force = log.Column(min_force_column::force);
  for (double& value : force) value = -value;  // the log writes it negated
  PlotSeries level = Series("force", "force units", orange, force);
  level.rightAxis = true;
  ramp.series.push_back(level);
  return {ramp};
}

}  // namespace

std::vector<Plot> PlotsFor(const LogAnalysis& a) {
  std::vector<Plot> plots;
  if (a.step) plots = StepPlots(a);
  if (a.response) plots = ResponsePlots(a);
  if (a.resolution) plots = ResolutionPlots(a);
  if (a.minForce) plots = MinForcePlots(a);
  for (Plot& plot : plots) {
    if (plot.x.size() > plotRowLimit) plot = Decimated(plot, plotBuckets);
  }
  return plots;
}

Plot Decimated(const Plot& plot, size_t buckets) {
  Plot out = plot;
  out.x.clear();
  for (PlotSeries& s : out.series) s.values.clear();
  const size_t n = plot.x.size();
  if (n == 0 || buckets == 0) return out;
  const double first = plot.x.front();
  const double width = (plot.x.back() - first) / static_cast<double>(buckets);
  std::vector<size_t> keep;
  size_t start = 0;
  while (start < n) {
    // The slice: rows whose x falls in the same bucket as the first one's.
    const double bucket = width > 0.0 ? std::floor((plot.x[start] - first) / width) : 0.0;
    size_t end = start + 1;
    while (end < n && (width > 0.0 ? std::floor((plot.x[end] - first) / width) : 0.0) <= bucket) ++end;
    keep.clear();
    keep.push_back(start);
    keep.push_back(end - 1);
    for (const PlotSeries& s : plot.series) {
      size_t low = start, high = start;
      for (size_t i = start; i < end; ++i) {
        if (IsNone(s.values[i])) continue;
        if (IsNone(s.values[low]) || s.values[i] < s.values[low]) low = i;
        if (IsNone(s.values[high]) || s.values[i] > s.values[high]) high = i;
      }
      keep.push_back(low);
      keep.push_back(high);
    }
    std::sort(keep.begin(), keep.end());
    keep.erase(std::unique(keep.begin(), keep.end()), keep.end());
    for (size_t i : keep) {
      out.x.push_back(plot.x[i]);
      for (size_t k = 0; k < plot.series.size(); ++k) out.series[k].values.push_back(plot.series[k].values[i]);
    }
    start = end;
  }
  return out;
}

}  // namespace analysis

// The plots of a log's page: the log's own series against time or level, and the lines the
// figures are measured against.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/log_analysis.h"

namespace analysis {

// Beyond this many rows a plot keeps, in each of plotBuckets slices of its x range, the rows
// where each series is lowest and highest: every peak and dip stays, at a few thousand
// points.
inline constexpr size_t plotRowLimit = 8000;
inline constexpr size_t plotBuckets = 2000;

struct PlotSeries {
  std::string label;
  std::string unit;
  std::string colour;  // CSS colour, also how the page check finds it drawn
  bool rightAxis = false;
  bool pointsOnly = false;  // measured points, not joined
  bool dashed = false;
  std::vector<double> values;  // one per x; none leaves a gap
};

struct Plot {
  std::string title;
  std::string xLabel;
  std::string leftLabel;
  std::string rightLabel;
  std::vector<double> x;
  std::vector<PlotSeries> series;
  size_t sourceRows = 0;  // before decimation
};

std::vector<Plot> PlotsFor(const LogAnalysis& analysis);
// The plot cut down to the extremes of each series per slice of x (x must not decrease).
Plot Decimated(const Plot& plot, size_t buckets);

}  // namespace analysis

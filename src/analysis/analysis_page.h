// The page of one log: its figures and interactive plots (zoom by dragging, values on hover),
// one self-contained HTML file with uPlot inlined.
#pragma once

#include <string>

#include "analysis/log_analysis.h"

namespace analysis {

std::string PageHtml(const LogAnalysis& analysis);
// "runs/log2 2024-03-05 14-07-09.csv" gives "runs/log2 2024-03-05 14-07-09.html"; a name
// without ".csv" gets ".html" added.
std::string PagePathFor(const std::string& logPath);
// False with a reason when the file can't be written.
bool WritePage(const LogAnalysis& analysis, const std::string& pagePath, std::string& reason);

}  // namespace analysis

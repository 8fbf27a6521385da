// The figures of one log as a JSON object: "file", "kind", "rows", "notes", the figures of
// its kind and, for a linear-force log, "deadZone" (force units) and "forceMap" (the text
// for the program's box). A figure that could not be measured is null.
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/log_analysis.h"

namespace analysis {

nlohmann::json FiguresJson(const LogAnalysis& analysis);

}  // namespace analysis

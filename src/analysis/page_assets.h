// uPlot's script, style sheet and licence, embedded at build time from the npm package the
// build installs (see cmake/page_assets.cmake): the pages carry them, so they work offline.
#pragma once

#include <string_view>

namespace analysis {

std::string_view UplotScript();
std::string_view UplotStyle();
std::string_view UplotLicence();
std::string_view UplotVersion();

}  // namespace analysis

// Lines and fields of a log as real files hold them: "," or ", " between fields, CR LF or LF
// line ends.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace analysis {

// The lines without their line ends; a last line without one counts too. Views into text.
std::vector<std::string_view> SplitLines(std::string_view text);
// The comma-separated fields, each without the blanks around it.
std::vector<std::string_view> SplitFields(std::string_view line);
bool IsBlank(std::string_view line);
// A finite decimal number filling the whole field ("12", "-3.500000"); nothing otherwise.
std::optional<double> ParseNumber(std::string_view field);

}  // namespace analysis

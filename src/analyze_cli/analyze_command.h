// vantrel-analyze: figures, pages and linearisations of measurement logs, as a command.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace analyze_cli {

inline constexpr int exitAnalysed = 0;
inline constexpr int exitBadArguments = 2;
inline constexpr int exitNotAnalysed = 3;

// Runs the command with these arguments (without the program name); the table or the JSON
// lines go to out, reasons and usage errors to err. Returns the exit code.
int RunAnalyzeCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace analyze_cli

// Reads the five kinds of log, tolerant of what real files hold: "," or ", ", CR LF or LF,
// blank lines, a last row cut short by an unplugged wheel, a header with no rows. Rows that
// can't be read are left out with a note; a file of another kind, or one with too many
// unreadable rows, gets a one-line reason naming the file and the line.
#pragma once

#include <string>
#include <string_view>

#include "analysis/measurement_log.h"

namespace analysis {

// Unreadable rows that are not the last one are left out, up to this share of the rows;
// beyond it the file is refused (it is most likely not a log).
inline constexpr double unreadableRowShareLimit = 0.1;

// Reads a log from its bytes; `file` names it in reasons and notes. False with a reason
// such as "runs.csv:1: not a measurement log (header \"a, b\")".
bool ParseLog(std::string_view text, const std::string& file, MeasurementLog& log, std::string& reason);
// Reads the file at path.
bool ReadLogFile(const std::string& path, MeasurementLog& log, std::string& reason);

}  // namespace analysis

// The five kinds of measurement log, told apart by their header line, and their columns.
#pragma once

#include <optional>
#include <string_view>

namespace analysis {

enum class LogKind { Step, LinearForce, LinearTime, Resolution, MinForce };

// Short machine name: "step", "linear-force", "linear-time", "resolution", "min-force".
const char* KindName(LogKind kind);
// What a person calls it: "step test" and so on.
const char* KindTitle(LogKind kind);
// The header line the program writes for this kind, fields joined by ", ".
const char* KindHeader(LogKind kind);
int ColumnCount(LogKind kind);

// The kind whose header this line is, whatever the spacing around the commas, the case of
// the letters, or a byte-order mark in front; nothing for any other line.
std::optional<LogKind> KindOfHeader(std::string_view line);

// Column positions, one set per kind.
namespace step_column {
enum { time, dt, force, posX, rawPosX, posXDeg, velocity };
}
namespace linear_force_column {
enum { force, startX, endX, deltaX, deltaXDeg };
}
namespace linear_time_column {
enum { count, time, startX, endX, deltaX, deltaXDeg };
}
namespace resolution_column {
enum { count, time, deltaTime, force, xPos, xPosRaw, xPosDeg, deltaX, deltaXDeg };
}
namespace min_force_column {
enum { time, dt, force, posX, rawPosX, posXDeg };
}

}  // namespace analysis

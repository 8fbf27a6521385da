#include "analysis/log_kind.h"

#include <array>
#include <cctype>
#include <string>

#include "analysis/csv_text.h"

namespace analysis {

namespace {

struct KindInfo {
  LogKind kind;
  const char* name;
  const char* title;
  const char* header;
  int columns;
};

constexpr std::array<KindInfo, 5> kinds = {{
    {LogKind::Step, "step", "step test", "time(ms), dt, force, posX, rawPosX, posXDeg, velX (rad/s)", 7},
    {LogKind::LinearForce, "linear-force", "linear force test", "force, startX, endX, deltaX, deltaXDeg", 5},
    {LogKind::LinearTime, "linear-time", "linear time test", "count, time (ms), startX, endX, deltaX, deltaXDeg", 6},
    {LogKind::Resolution, "resolution", "resolution test",
     "count, time (ms), deltaTime (ms), force, xPos, xPosRaw, xPosDeg, deltaX, deltaXDeg", 9},
    {LogKind::MinForce, "min-force", "minimum force test", "time(ms), dt, force, posX, rawPosX, posXDeg", 6},
}};

const KindInfo& Info(LogKind kind) { return kinds[static_cast<size_t>(kind)]; }

// The header with the fields trimmed, lowered and joined by ", ".
std::string Canonical(std::string_view line) {
  std::string text;
  for (std::string_view field : SplitFields(line)) {
    if (!text.empty()) text += ", ";
    for (char c : field) text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

}  // namespace

const char* KindName(LogKind kind) { return Info(kind).name; }
const char* KindTitle(LogKind kind) { return Info(kind).title; }
const char* KindHeader(LogKind kind) { return Info(kind).header; }
int ColumnCount(LogKind kind) { return Info(kind).columns; }

std::optional<LogKind> KindOfHeader(std::string_view line) {
  if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
  const std::string canonical = Canonical(line);
  for (const KindInfo& info : kinds) {
    if (canonical == Canonical(info.header)) return info.kind;
  }
  return std::nullopt;
}

}  // namespace analysis

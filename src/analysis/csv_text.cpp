#include "analysis/csv_text.h"

#include <charconv>
#include <cmath>

namespace analysis {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (true) {
    size_t end = line.find(',', start);
    if (end == std::string_view::npos) {
      fields.push_back(Trim(line.substr(start)));
      return fields;
    }
    fields.push_back(Trim(line.substr(start, end - start)));
    start = end + 1;
  }
}

bool IsBlank(std::string_view line) { return Trim(line).empty(); }

std::optional<double> ParseNumber(std::string_view field) {
  if (field.empty()) return std::nullopt;
  double value = 0.0;
  const char* first = field.data();
  const char* last = field.data() + field.size();
  // from_chars takes no plus sign; printf never writes one, but a hand-edited file may.
  if (*first == '+') ++first;
  auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
  if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace analysis

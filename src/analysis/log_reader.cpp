#include "analysis/log_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "analysis/csv_text.h"

namespace analysis {

std::vector<double> MeasurementLog::Column(int column) const {
  std::vector<double> values;
  values.reserve(rows());
  for (size_t row = 0; row < rows(); ++row) values.push_back(at(row, column));
  return values;
}

namespace {

std::string Where(const std::string& file, int line) { return file + ":" + std::to_string(line) + ": "; }

std::string Shortened(std::string_view text) {
  constexpr size_t limit = 60;
  std::string out(text.substr(0, limit));
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  if (text.size() > limit) out += "...";
  return out;
}

}  // namespace

bool ParseLog(std::string_view text, const std::string& file, MeasurementLog& log, std::string& reason) {
  log = MeasurementLog{};
  log.file = file;
  const std::vector<std::string_view> lines = SplitLines(text);
  log.lineCount = static_cast<int>(lines.size());

  size_t header = 0;
  while (header < lines.size() && IsBlank(lines[header])) ++header;
  if (header == lines.size()) {
    reason = file + ": empty, no header line";
    return false;
  }
  const int headerLine = static_cast<int>(header) + 1;
  std::optional<LogKind> kind = KindOfHeader(lines[header]);
  if (!kind) {
    reason = Where(file, headerLine) + "not a measurement log (header \"" + Shortened(lines[header]) + "\")";
    return false;
  }
  log.kind = *kind;
  log.columns = ColumnCount(*kind);

  size_t last = lines.size();
  while (last > header + 1 && IsBlank(lines[last - 1])) --last;

  int unreadable = 0;
  int firstUnreadable = 0;
  std::vector<double> row(static_cast<size_t>(log.columns));
  for (size_t i = header + 1; i < last; ++i) {
    const int lineNumber = static_cast<int>(i) + 1;
    if (IsBlank(lines[i])) continue;
    const std::vector<std::string_view> fields = SplitFields(lines[i]);
    bool readable = fields.size() == static_cast<size_t>(log.columns);
    for (size_t f = 0; readable && f < fields.size(); ++f) {
      std::optional<double> value = ParseNumber(fields[f]);
      if (!value) readable = false;
      else row[f] = *value;
    }
    if (!readable) {
      if (i + 1 == last) {
        log.notes.push_back("line " + std::to_string(lineNumber) + ": cut short, left out");
      } else {
        log.notes.push_back("line " + std::to_string(lineNumber) + ": unreadable row \"" + Shortened(lines[i]) +
                            "\", left out");
        if (unreadable++ == 0) firstUnreadable = lineNumber;
      }
      continue;
    }
    log.cells.insert(log.cells.end(), row.begin(), row.end());
    log.lines.push_back(lineNumber);
  }
  const double total = static_cast<double>(log.rows() + static_cast<size_t>(unreadable));
  if (unreadable > 1 && unreadable > unreadableRowShareLimit * total) {
    reason = Where(file, firstUnreadable) + std::to_string(unreadable) + " of " +
             std::to_string(static_cast<long long>(total)) + " rows unreadable as a " + KindTitle(log.kind) +
             " log, the first here";
    return false;
  }
  return true;
}

bool ReadLogFile(const std::string& path, MeasurementLog& log, std::string& reason) {
  // C streams: a read error (a folder given for a file) is a status, not an exception.
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    reason = path + ": cannot be opened (" + std::strerror(errno) + ")";
    return false;
  }
  std::string bytes;
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  const int error = std::ferror(file) ? errno : 0;
  std::fclose(file);
  if (error != 0) {
    reason = path + ": cannot be read (" + std::strerror(error) + ")";
    return false;
  }
  return ParseLog(bytes, path, log, reason);
}

}  // namespace analysis

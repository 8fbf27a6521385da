// One measurement log as read: its kind, its rows as numbers, and what was left out.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/log_kind.h"

namespace analysis {

struct MeasurementLog {
  std::string file;  // as named in reasons and on the page
  LogKind kind = LogKind::Step;
  int columns = 0;
  // Row-major: rows() rows of `columns` numbers.
  std::vector<double> cells;
  // The file's line number of every row, for reasons that point at a line.
  std::vector<int> lines;
  // The number of lines in the file, blank ones included.
  int lineCount = 0;
  // One line each about rows left out ("line 57: cut short, left out").
  std::vector<std::string> notes;

  size_t rows() const { return lines.size(); }
  double at(size_t row, int column) const { return cells[row * static_cast<size_t>(columns) + column]; }
  // All of one column.
  std::vector<double> Column(int column) const;
};

}  // namespace analysis

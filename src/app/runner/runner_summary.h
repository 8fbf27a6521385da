// What vantrel-measure prints: one progress line per step of a run on the error stream, and
// the table of runs on the output at the end.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "engine/engine_output.h"

struct RunRecord {
  ForceMode mode;
  int32_t run;
  std::string logPath;  // empty: no log could be made
  int32_t rowsWritten;
  bool hasMinForceLevel;
  int32_t minForceLevel;
  const char* ending;   // "" when the run ended by itself, else why it did not
  std::string figures;  // the log's main figures, or why there are none; "" when not analysed
};

RunRecord RecordOf(const FinishedRun& run);
// A run cut short: what the engine had of it when it stopped.
RunRecord RecordOfUnfinished(const MeasurementProgress& progress, const char* ending);

// Prints a progress line when the test, run or phase changed or the run passed another tenth.
class ProgressLine {
 public:
  explicit ProgressLine(std::FILE* err) : err_(err) {}
  void Update(const MeasurementProgress& progress);

 private:
  std::FILE* err_;
  ForceMode mode_ = ForceMode::Disabled;
  int32_t run_ = 0;
  int32_t phase_ = -1;
  int32_t tenth_ = -1;
};

// The table, each run's main figures on a line of their own under it.
void PrintSummary(std::FILE* out, const std::vector<RunRecord>& runs);

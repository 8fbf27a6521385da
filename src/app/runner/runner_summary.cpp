#include "app/runner/runner_summary.h"

#include <algorithm>

#include "app/runner/runner_options.h"

RunRecord RecordOf(const FinishedRun& run) {
  return RunRecord{run.mode, run.run, run.logPath, run.rowsWritten, run.hasMinForceLevel, run.minForceLevel, "", ""};
}

RunRecord RecordOfUnfinished(const MeasurementProgress& progress, const char* ending) {
  return RunRecord{progress.mode, progress.run, progress.logPath, progress.rowsWritten, false, 0, ending, ""};
}

void ProgressLine::Update(const MeasurementProgress& progress) {
  int32_t tenth = progress.percent / 10;
  if (progress.mode == mode_ && progress.run == run_ && progress.phase == phase_ && tenth == tenth_) return;
  mode_ = progress.mode;
  run_ = progress.run;
  phase_ = progress.phase;
  tenth_ = tenth;
  std::fprintf(err_, "%s run %d/%d: %s, %d%%\n", TestName(progress.mode), progress.run, progress.runs,
               progress.phaseName != nullptr ? progress.phaseName : "", progress.percent);
  std::fflush(err_);
}

namespace {

std::string Result(const RunRecord& run) {
  std::string result;
  if (run.hasMinForceLevel) {
    char text[96];
    std::snprintf(text, sizeof(text), "break-away %d (%0.1f%%), ", run.minForceLevel,
                  static_cast<double>(run.minForceLevel) / 100.0);
    result += text;
  }
  result += std::to_string(run.rowsWritten) + " rows";
  if (run.ending[0] != '\0') result += std::string(", ") + run.ending;
  return result;
}

}  // namespace

void PrintSummary(std::FILE* out, const std::vector<RunRecord>& runs) {
  size_t testWidth = 4;
  size_t logWidth = 8;
  for (const RunRecord& run : runs) {
    testWidth = std::max(testWidth, std::string(TestName(run.mode)).size() + 2 + std::to_string(run.run).size());
    logWidth = std::max(logWidth, run.logPath.empty() ? 9 : run.logPath.size());
  }
  std::fprintf(out, "%-*s  %-*s  %s\n", static_cast<int>(testWidth), "test", static_cast<int>(logWidth), "log file",
               "result");
  for (const RunRecord& run : runs) {
    std::string test = std::string(TestName(run.mode)) + " #" + std::to_string(run.run);
    std::fprintf(out, "%-*s  %-*s  %s\n", static_cast<int>(testWidth), test.c_str(), static_cast<int>(logWidth),
                 run.logPath.empty() ? "(no log)" : run.logPath.c_str(), Result(run).c_str());
    if (!run.figures.empty()) std::fprintf(out, "%-*s  %s\n", static_cast<int>(testWidth), "", run.figures.c_str());
  }
  std::fflush(out);
}

#include "app/run_pages.h"

#include "analysis/run_outputs.h"
#include "engine/engine_output.h"

namespace {

uint32_t seenFinishedRuns = 0;

}  // namespace

bool WritePageOfFinishedRun(std::string& reason) {
  if (engineOutput.finishedRunSerial == seenFinishedRuns) return true;
  seenFinishedRuns = engineOutput.finishedRunSerial;
  const FinishedRun& run = engineOutput.lastFinishedRun;
  if (run.logPath[0] == '\0') return true;
  return analysis::WriteAnalysisPage(run.logPath, reason);
}

void ResetRunPages() { seenFinishedRuns = engineOutput.finishedRunSerial; }

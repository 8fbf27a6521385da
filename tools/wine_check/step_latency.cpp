#include "step_latency.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "measurement_logs.h"
#include "program_controls.h"
#include "program_process.h"
#include "remote_window.h"

namespace {

constexpr int stepTestMode = 11;
constexpr DWORD stepTestWaitMs = 60000;

struct Row {
  long time = 0;
  long force = 0;
  long rawX = 0;
};

std::optional<Row> ParseRow(const std::string& line) {
  Row row;
  long dt = 0, posX = 0;
  if (std::sscanf(line.c_str(), "%ld, %ld, %ld, %ld, %ld", &row.time, &dt, &row.force, &posX, &row.rawX) != 5) {
    return std::nullopt;
  }
  return row;
}

}  // namespace

std::optional<long> FirstPulseLatencyMs(const std::vector<std::string>& lines) {
  std::optional<Row> pulse;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::optional<Row> row = ParseRow(lines[i]);
    if (!row) return std::nullopt;
    if (!pulse) {
      if (row->force != 0) pulse = row;
    } else if (row->rawX != pulse->rawX) {
      return row->time - pulse->time;
    }
  }
  return std::nullopt;
}

int MeasureStepLatency(int runs) {
  HWND dialog = nullptr;
  remote::WaitUntil([&] { return (dialog = FindProgramWindow(0)) != nullptr; }, windowWaitMs);
  if (dialog == nullptr) {
    std::printf("no window \"%s\"\n", programCaption);
    return 1;
  }
  std::string folder = DocumentsFolderPath();
  const std::string pattern = "log 2*.csv";
  std::vector<long> latencies;
  for (int run = 1; run <= runs; ++run) {
    std::set<std::string> before = LogNames(folder, pattern);
    // A new log name needs a new second.
    Sleep(1000);
    SelectMode(dialog, stepTestMode);
    if (!WaitForDisabled(dialog, stepTestWaitMs)) {
      std::printf("run %d: the step test did not end\n", run);
      return 1;
    }
    std::string name = NewLogName(folder, pattern, before);
    std::vector<std::string> lines;
    std::optional<long> latency;
    if (!name.empty() && SplitCrLfLines(ReadWholeFile(folder + "\\" + name), &lines)) {
      latency = FirstPulseLatencyMs(lines);
    }
    if (!latency) {
      std::printf("run %d: no latency in \"%s\"\n", run, name.c_str());
      return 1;
    }
    std::printf("run %d: %s: first position change %ld ms after the force\n", run, name.c_str(), *latency);
    std::fflush(stdout);
    latencies.push_back(*latency);
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf("%d runs: median %ld ms, min %ld ms, max %ld ms\n", runs, latencies[latencies.size() / 2],
              latencies.front(), latencies.back());
  return 0;
}

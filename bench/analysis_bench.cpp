// The analysis at its worst case: a 70,000-row linear time log read, analysed and written as
// its page (decimated plots, uPlot inlined), as vantrel-analyze and the program do it.
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "analysis/analysis_page.h"
#include "analysis/log_analysis.h"
#include "analysis/log_reader.h"
#include "analysis/run_outputs.h"
#include "support/long_linear_time_log.h"

namespace {

namespace fs = std::filesystem;

class LongLogFile {
 public:
  LongLogFile() : folder_(fs::temp_directory_path() / ("vantrel-bench-" + std::to_string(getpid()))) {
    fs::create_directories(folder_);
    path_ = (folder_ / "log3 long.csv").string();
    std::ofstream(path_, std::ios::binary) << LongLinearTimeLog(70000);
  }
  ~LongLogFile() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  fs::path folder_;
  std::string path_;
};

void BM_AnalyseAndWritePage_LinearTime70000(benchmark::State& state) {
  LongLogFile log;
  for (auto _ : state) {
    std::string reason;
    if (!analysis::WriteAnalysisPage(log.path().c_str(), reason)) state.SkipWithError(reason.c_str());
  }
}
BENCHMARK(BM_AnalyseAndWritePage_LinearTime70000)->Unit(benchmark::kMillisecond);

// Its parts: reading the file, the figures, the page's text.
void BM_ReadLog_LinearTime70000(benchmark::State& state) {
  LongLogFile log;
  for (auto _ : state) {
    analysis::MeasurementLog read;
    std::string reason;
    benchmark::DoNotOptimize(analysis::ReadLogFile(log.path(), read, reason));
  }
}
BENCHMARK(BM_ReadLog_LinearTime70000)->Unit(benchmark::kMillisecond);

void BM_PageHtml_LinearTime70000(benchmark::State& state) {
  LongLogFile log;
  analysis::LogAnalysis analysed;
  std::string reason;
  analysis::AnalyseLogFile(log.path(), analysis::LinearisationMode::Full, analysed, reason);
  for (auto _ : state) benchmark::DoNotOptimize(analysis::PageHtml(analysed));
}
BENCHMARK(BM_PageHtml_LinearTime70000)->Unit(benchmark::kMillisecond);

}  // namespace

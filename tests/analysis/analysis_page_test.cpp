// The page of each kind of log, from logs the program wrote: figures, the plots' series and
// uPlot inlined with its licence. With VANTREL_PAGE_SAMPLES set, the logs and pages are also
// kept in that folder for the browser check (tools/page_check).
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "analysis/analysis_page.h"
#include "analysis/analysis_scenario.h"
#include "analysis/log_analysis.h"
#include "analysis/log_reader.h"
#include "analysis/page_assets.h"
#include "analysis/plots.h"
#include "app/control_ids.h"
#include "host/driver/user_driver.h"
#include "support/long_linear_time_log.h"

namespace analysis_test {
namespace {

namespace fs = std::filesystem;

// The JSON the page's plots are drawn from.
nlohmann::json PageData(const std::string& html) {
  const std::string open = "<script type=\"application/json\" id=\"vantrel-data\">";
  const size_t start = html.find(open);
  const size_t end = html.find("</script>", start);
  if (start == std::string::npos || end == std::string::npos) return nullptr;
  return nlohmann::json::parse(html.substr(start + open.size(), end - start - open.size()));
}

class AnalysisPageTest : public AnalysisScenario {
 protected:
  // Analyses the log at logPath, writes its page and keeps both in the samples folder.
  nlohmann::json PageOf(const std::string& sampleName) {
    analysis::LogAnalysis analysis;
    std::string reason;
    EXPECT_TRUE(analysis::AnalyseLogFile(logPath, analysis::LinearisationMode::Full, analysis, reason)) << reason;
    const std::string page = analysis::PagePathFor(logPath);
    EXPECT_TRUE(analysis::WritePage(analysis, page, reason)) << reason;
    if (const char* samples = std::getenv("VANTREL_PAGE_SAMPLES")) {
      fs::create_directories(samples);
      fs::copy_file(logPath, fs::path(samples) / (sampleName + ".csv"), fs::copy_options::overwrite_existing);
      fs::copy_file(page, fs::path(samples) / (sampleName + ".html"), fs::copy_options::overwrite_existing);
    }
    const std::string html = folder->Read(fs::path(page).filename().string());
    EXPECT_NE(html.find(std::string(analysis::UplotLicence()).substr(0, 40)), std::string::npos) << "licence inlined";
    EXPECT_NE(html.find(std::string(analysis::UplotScript()).substr(0, 200)), std::string::npos) << "uPlot inlined";
    EXPECT_EQ(html.find("src=\"http"), std::string::npos) << "nothing fetched";
    return PageData(html);
  }
};

// Every series of every plot holds at least one drawable value.
void ExpectSeriesWithValues(const nlohmann::json& data, size_t plots) {
  ASSERT_EQ(data["plots"].size(), plots);
  for (const nlohmann::json& plot : data["plots"]) {
    ASSERT_EQ(plot["data"].size(), plot["series"].size() + 1) << plot["title"];
    for (size_t s = 1; s < plot["data"].size(); ++s) {
      const nlohmann::json& values = plot["data"][s];
      EXPECT_EQ(values.size(), plot["data"][0].size());
      EXPECT_TRUE(std::any_of(values.begin(), values.end(), [](const nlohmann::json& v) { return v.is_number(); }))
          << plot["title"] << " series " << s;
    }
  }
}

TEST_F(AnalysisPageTest, EachKindOfLogGetsItsFiguresAndPlots) {
  sim::WheelParameters wheel;
  wheel.torqueDeadZone = 1200.0;
  wheel.torqueCurveExponent = 1.4;
  wheel.commandLatency = 0.012;
  wheel.noLoadSpeed = 14.0;
  struct Case {
    int mode;
    const char* sample;  // also the kind's name
    size_t plots;
    std::vector<std::string> series;  // of the first plot
  };
  const Case cases[] = {
      {stepMode, "step", 2, {"position", "force"}},
      {linearForceMode, "linear-force", 2, {"measured", "straight line from the dead zone", "with the force map (full)"}},
      {linearTimeMode, "linear-time", 1, {"measured", "straight line from the dead zone"}},
      {resolutionMode, "resolution", 2, {"raw position"}},
      {minForceMode, "min-force", 1, {"raw position", "force"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sample);
    RunAndRead(c.mode, wheel);
    const nlohmann::json data = PageOf(c.sample);
    ASSERT_TRUE(data.is_object());
    ExpectSeriesWithValues(data, c.plots);
    std::vector<std::string> labels;
    for (const nlohmann::json& s : data["plots"][0]["series"]) labels.push_back(s["label"]);
    EXPECT_EQ(labels, c.series);
    EXPECT_EQ(data["figures"]["kind"], c.sample);
  }
}

TEST_F(AnalysisPageTest, ALongLogIsDecimatedToItsExtremes) {
  folder->Write("log3 long.csv", LongLinearTimeLog(70000));
  logPath = folder->path() + "/log3 long.csv";
  const nlohmann::json data = PageOf("linear-time-70000");
  ExpectSeriesWithValues(data, 1);
  const nlohmann::json& plot = data["plots"][0];
  EXPECT_EQ(plot["sourceRows"], 70000);
  EXPECT_LE(plot["rows"].get<size_t>(), 4 * analysis::plotBuckets);
  // The extremes survive: the first and last level, and the largest response.
  EXPECT_EQ(plot["data"][0].front(), 1);
  EXPECT_EQ(plot["data"][0].back(), 70000);
  double largest = 0;
  for (const nlohmann::json& v : plot["data"][1]) {
    if (v.is_number()) largest = std::max(largest, v.get<double>());
  }
  EXPECT_DOUBLE_EQ(largest, 1.0);
}

TEST(PlotDecimationTest, KeepsEachSeriesLowestAndHighestRowPerSlice) {
  analysis::Plot plot;
  analysis::PlotSeries a, b;
  for (int i = 0; i < 1000; ++i) {
    plot.x.push_back(i);
    a.values.push_back(i == 517 ? 50.0 : 0.0);   // one spike
    b.values.push_back(i == 250 ? -7.0 : 1.0);   // one dip
  }
  plot.series = {a, b};
  const analysis::Plot cut = analysis::Decimated(plot, 10);
  EXPECT_LE(cut.x.size(), 10u * 6u);
  EXPECT_NE(std::find(cut.x.begin(), cut.x.end(), 517.0), cut.x.end());
  EXPECT_NE(std::find(cut.x.begin(), cut.x.end(), 250.0), cut.x.end());
  EXPECT_EQ(*std::max_element(cut.series[0].values.begin(), cut.series[0].values.end()), 50.0);
  EXPECT_EQ(*std::min_element(cut.series[1].values.begin(), cut.series[1].values.end()), -7.0);
  EXPECT_TRUE(std::is_sorted(cut.x.begin(), cut.x.end()));
}

}  // namespace
}  // namespace analysis_test

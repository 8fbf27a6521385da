// vantrel-analyze as a user runs it, on logs the program wrote: the table, --json, --lut,
// --mode, the pages beside the logs, and the exit codes.
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "analysis/analysis_page.h"
#include "analysis/analysis_scenario.h"
#include "analysis/run_outputs.h"
#include "analyze_cli/analyze_command.h"
#include "app/control_ids.h"
#include "settings/test_settings.h"
#include "host/driver/user_driver.h"

namespace analysis_test {
namespace {

namespace fs = std::filesystem;

struct CommandRun {
  int code;
  std::string out;
  std::string err;
};

CommandRun Analyze(const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  const int code = analyze_cli::RunAnalyzeCommand(arguments, out, err);
  return {code, out.str(), err.str()};
}

class AnalyzeCommandTest : public AnalysisScenario {
 protected:
  // A linear-force log of a wheel with a motor dead zone, and a step log.
  void MakeLogs() {
    sim::WheelParameters wheel;
    wheel.torqueDeadZone = 1500.0;
    RunAndRead(linearForceMode, wheel);
    const std::string linear = logPath;
    const std::string linearText = folder->Read(fs::path(linear).filename().string());
    RunAndRead(stepMode, wheel);
    // Both into the current (second) folder.
    folder->Write("linear.csv", linearText);
    linearForceLog = folder->path() + "/linear.csv";
    stepLog = logPath;
  }
  std::string linearForceLog;
  std::string stepLog;
};

TEST_F(AnalyzeCommandTest, PrintsATableAndWritesAPageBesideEachLog) {
  MakeLogs();
  const CommandRun run = Analyze({linearForceLog, stepLog});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("== " + linearForceLog + " (linear force test, 51 rows)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("dead zone"), std::string::npos);
  EXPECT_NE(run.out.find("force map (full)"), std::string::npos);
  EXPECT_NE(run.out.find("(step test,"), std::string::npos);
  EXPECT_NE(run.out.find("latency"), std::string::npos);
  EXPECT_TRUE(fs::exists(folder->path() + "/linear.html"));
  EXPECT_TRUE(fs::exists(analysis::PagePathFor(stepLog)));
}

TEST_F(AnalyzeCommandTest, JsonGivesOneObjectPerFileWithTheForceMapTheBoxTakes) {
  MakeLogs();
  for (const char* mode : {"full", "deadzone"}) {
    SCOPED_TRACE(mode);
    const CommandRun run = Analyze({"--json", "--no-html", "--mode", mode, linearForceLog, stepLog});
    ASSERT_EQ(run.code, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::vector<nlohmann::json> objects;
    while (std::getline(lines, line)) objects.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]["file"], linearForceLog);
    EXPECT_EQ(objects[0]["kind"], "linear-force");
    EXPECT_EQ(objects[0]["forceMapMode"], mode);
    // The dead zone is where the torque beats the break-away friction (7.5 % of full torque):
    // 1500 plus 7.5 % of the 8500 above it, 2137.5, found within one 200-unit step.
    const double deadZone = objects[0]["deadZone"].get<double>();
    EXPECT_GT(deadZone, 2137.5);
    EXPECT_LE(deadZone, 2337.5);
    const std::string map = objects[0]["forceMap"].get<std::string>();
    ResetTestSettings();
    ParseForceMap(map.c_str());
    std::string shown;
    for (int i = 0; i < testSettings.forceMapCount; ++i) {
      shown += (i ? "," : "") + std::to_string(testSettings.forceMap[i].input) + ":" +
               std::to_string(testSettings.forceMap[i].output);
    }
    EXPECT_EQ(shown, map);
    EXPECT_EQ(objects[1]["kind"], "step");
    EXPECT_TRUE(objects[1]["figures"]["latencyMs"].is_number());
  }
  EXPECT_FALSE(fs::exists(folder->path() + "/linear.html")) << "--no-html";
}

TEST_F(AnalyzeCommandTest, LutHoldsInputOutputLinesFromZeroToOne) {
  MakeLogs();
  const std::string lut = folder->path() + "/wheel.lut";
  const CommandRun run = Analyze({"--no-html", "--lut", lut, "--mode", "deadzone", linearForceLog});
  ASSERT_EQ(run.code, 0) << run.err;
  std::istringstream lines(folder->Read("wheel.lut"));
  std::string line;
  std::vector<std::pair<double, double>> rows;
  while (std::getline(lines, line)) {
    const size_t bar = line.find('|');
    ASSERT_NE(bar, std::string::npos) << line;
    rows.emplace_back(std::stod(line.substr(0, bar)), std::stod(line.substr(bar + 1)));
  }
  ASSERT_EQ(rows.size(), 101u);
  EXPECT_EQ(rows.front(), std::make_pair(0.0, 0.0));
  EXPECT_EQ(rows.back(), std::make_pair(1.0, 1.0));
  for (size_t i = 1; i < rows.size(); ++i) {
    EXPECT_NEAR(rows[i].first, i / 100.0, 1e-9);
    EXPECT_GE(rows[i].second, rows[i - 1].second);
  }
  // Dead zone only: the smallest input jumps to the force the wheel still swallows, then a
  // straight line to full force.
  EXPECT_GT(rows[1].second, 0.20);
  EXPECT_NEAR(rows[50].second, (rows[1].second + 1.0) / 2.0, 0.01);
}

TEST_F(AnalyzeCommandTest, ExitCodesTellBadArgumentsFromLogsThatCannotBeAnalysed) {
  MakeLogs();
  folder->Write("laps.csv", "name, lap, time\r\nAnna, 1, 93.2\r\n");
  const std::string other = folder->path() + "/laps.csv";
  struct Case {
    std::vector<std::string> arguments;
    int code;
    std::string err;  // what the error output starts with
  };
  const std::vector<Case> cases = {
      {{}, 2, "vantrel-analyze: no log named"},
      {{"--mode", "curved", linearForceLog}, 2, "vantrel-analyze: --mode takes deadzone or full"},
      {{"--method", "guess", linearForceLog}, 2, "vantrel-analyze: --method takes"},
      {{"--frobnicate", linearForceLog}, 2, "vantrel-analyze: "},
      {{"--lut", folder->path() + "/a.lut", linearForceLog, linearForceLog}, 2, "vantrel-analyze: --lut takes one"},
      // The others are still analysed, the refused one gets its reason.
      {{"--no-html", other, linearForceLog}, 3, other + ":1: not a measurement log"},
      {{"--no-html", folder->path() + "/missing.csv"}, 3, folder->path() + "/missing.csv: cannot be opened"},
      {{"--no-html", folder->path()}, 3, folder->path() + ": cannot be read (Is a directory)"},
      {{"--no-html", "--lut", folder->path() + "/a.lut", stepLog}, 3, "vantrel-analyze: --lut: no linear-force log"},
      {{"--lut", folder->path() + "/no/such/folder/a.lut", "--no-html", linearForceLog}, 3, "vantrel-analyze: "},
  };
  for (const Case& c : cases) {
    const CommandRun run = Analyze(c.arguments);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
  }
  const CommandRun mixed = Analyze({"--no-html", other, linearForceLog});
  EXPECT_NE(mixed.out.find("== " + linearForceLog), std::string::npos) << "the good file is still analysed";
  EXPECT_EQ(Analyze({"--help"}).code, 0);
}

TEST_F(AnalyzeCommandTest, StepLogsAtSeveralLevelsMakeATorqueCurveAndItsLookupTable) {
  sim::WheelParameters wheel;
  wheel.torqueDeadZone = 1500.0;
  std::vector<std::string> texts;
  for (int level : {4000, 7000, 10000}) {
    RunAndRead(stepMode, wheel, [&](HWND dialog) {
      ASSERT_TRUE(host::driver::DragTrackbar(dialog, IDC_SATURATION_X, level));
    });
    texts.push_back(folder->Read(fs::path(logPath).filename().string()));
  }
  std::vector<std::string> arguments{"--json", "--no-html", "--method", "acceleration", "--lut",
                                     folder->path() + "/steps.lut"};
  for (size_t i = 0; i < texts.size(); ++i) {
    folder->Write("step" + std::to_string(i) + ".csv", texts[i]);
    arguments.push_back(folder->path() + "/step" + std::to_string(i) + ".csv");
  }
  const CommandRun run = Analyze(arguments);
  ASSERT_EQ(run.code, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  nlohmann::json curve;
  while (std::getline(lines, line)) {
    nlohmann::json object = nlohmann::json::parse(line);
    if (object["kind"] == "torque-curve") curve = object;
  }
  ASSERT_TRUE(curve.is_object()) << run.out;
  ASSERT_EQ(curve["points"].size(), 3u);
  // Torque above the 1500 dead zone is linear: the accelerations (less the same friction at
  // each level) grow by equal steps, 4000 -> 7000 -> 10000.
  const double a4 = curve["points"][0]["acceleration"], a7 = curve["points"][1]["acceleration"],
               a10 = curve["points"][2]["acceleration"];
  EXPECT_NEAR(a7 - a4, a10 - a7, 0.1 * (a10 - a4));
  EXPECT_TRUE(curve["forceMap"].is_string());
  const std::string lut = folder->Read("steps.lut");
  EXPECT_EQ(std::count(lut.begin(), lut.end(), '\n'), 101);
  EXPECT_EQ(lut.substr(0, 14), "0.0000|0.0000\n");
}

TEST_F(AnalyzeCommandTest, TheEntryPointsForTheProgramWriteThePageAndGiveTheMainFigures) {
  MakeLogs();
  std::string reason, figures;
  const std::string before = folder->Read(fs::path(stepLog).filename().string());
  ASSERT_TRUE(analysis::WriteAnalysisPage(stepLog.c_str(), reason)) << reason;
  EXPECT_EQ(folder->Read(fs::path(stepLog).filename().string()), before) << "the log stays byte for byte";
  const std::string page = analysis::PagePathFor(stepLog);
  EXPECT_GT(fs::file_size(page), 50000u) << "uPlot is inlined";
  ASSERT_TRUE(analysis::MainFiguresOfLog(linearForceLog.c_str(), figures, reason)) << reason;
  EXPECT_EQ(figures.rfind("linear force test: dead zone ", 0), 0u) << figures;
  EXPECT_NE(figures.find("force map 0:0,1:"), std::string::npos) << figures;
  ASSERT_TRUE(analysis::MainFiguresOfLog(stepLog.c_str(), figures, reason)) << reason;
  EXPECT_EQ(figures.rfind("step test: latency ", 0), 0u) << figures;

  EXPECT_FALSE(analysis::WriteAnalysisPage((folder->path() + "/missing.csv").c_str(), reason));
  EXPECT_EQ(reason, folder->path() + "/missing.csv: cannot be opened (No such file or directory)");
  EXPECT_FALSE(analysis::MainFiguresOfLog(nullptr, figures, reason));
}

}  // namespace
}  // namespace analysis_test

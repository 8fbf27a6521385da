// Single bad rows do not move the figures: a glitched start position in a linear force log,
// one count of jitter below the dead zone, a glitched reading in a step log.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/analysis_scenario.h"
#include "analysis/csv_text.h"
#include "analysis/log_reader.h"
#include "analysis/response_figures.h"
#include "analysis/step_figures.h"

namespace analysis_test {
namespace {

// A linear force log the program wrote on a virtual wheel with a dead zone, a soft curve and
// back-EMF (dead zone 2600, knee 9000).
std::string CommittedLinearForceLog() {
  std::ifstream in(std::string(VANTREL_TEST_DATA_DIR) + "/analysis/log2 virtual wheel.csv", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The log with the row of this force replaced.
std::string WithRow(const std::string& text, const std::string& force, const std::string& row) {
  const size_t at = text.find("\r\n" + force + ", ");
  const size_t end = text.find("\r\n", at + 2);
  return text.substr(0, at + 2) + row + text.substr(end);
}

analysis::ResponseFigures Figures(const std::string& text) {
  analysis::MeasurementLog log;
  analysis::ResponseFigures figures;
  std::string reason;
  EXPECT_TRUE(analysis::ParseLog(text, "log2.csv", log, reason)) << reason;
  EXPECT_TRUE(analysis::AnalyseLinearForceLog(log, figures, reason)) << reason;
  return figures;
}

TEST(GlitchToleranceTest, ALinearForceLogKeepsItsFiguresThroughOneBadRow) {
  const std::string clean = CommittedLinearForceLog();
  ASSERT_FALSE(clean.empty());
  const analysis::ResponseFigures reference = Figures(clean);
  ASSERT_EQ(reference.deadZone, 2600);
  ASSERT_EQ(reference.outliers, 0);
  struct Case {
    const char* what;
    std::string force;
    std::string row;
    int outliers;
    double linearityTolerance;  // without its last level the line ends one level lower
  };
  const Case cases[] = {
      // The start read 4000 units off: the travel comes out far too short.
      {"a glitched start position mid-curve", "5000", "5000, 4100, 950, -3150, -141.000000", 1, 0.005},
      {"a glitched start at full force", "10000", "10000, -5000, 2200, 7200, 324.000000", 1, 0.02},
      // One count of travel below the dead zone is jitter, not motion.
      {"one count of jitter below the dead zone", "1400", "1400, 0, 2, 2, 0.082397", 0, 0.005},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const analysis::ResponseFigures figures = Figures(WithRow(clean, c.force, c.row));
    EXPECT_EQ(figures.outliers, c.outliers);
    EXPECT_EQ(figures.deadZone, reference.deadZone);
    EXPECT_EQ(figures.knee, reference.knee);
    EXPECT_NEAR(figures.linearityError, reference.linearityError, c.linearityTolerance);
    EXPECT_NEAR(figures.maxResponse, reference.maxResponse, 0.5);
  }
}

using StepGlitchTest = AnalysisScenario;

TEST_F(StepGlitchTest, AGlitchedReadingDoesNotMoveTheStepFigures) {
  sim::WheelParameters wheel;
  wheel.commandLatency = 0.02;
  RunAndRead(stepMode, wheel);
  const std::string clean = folder->Read(folder->Files(LogPrefix(stepMode)).at(0));
  // A row inside the rest before the first pulse reads 500 raw units (6.9 degrees) off.
  std::vector<std::string> lines;
  for (std::string_view line : analysis::SplitLines(clean)) lines.emplace_back(line);
  const size_t row = 100;
  std::vector<std::string_view> fields = analysis::SplitFields(lines[row]);
  ASSERT_EQ(fields[2], "0") << "a row of the rest";
  const long raw = std::stol(std::string(fields[4]));
  const double degrees = std::stod(std::string(fields[5]));
  lines[row] = std::string(fields[0]) + ", " + std::string(fields[1]) + ", 0, " + std::string(fields[3]) + ", " +
               std::to_string(raw - 500) + ", " + std::to_string(degrees - 500 * 900.0 / 65535.0) + ", 0.000000";
  std::string glitched;
  for (const std::string& line : lines) glitched += line + "\r\n";

  analysis::StepFigures reference, figures;
  analysis::MeasurementLog log;
  std::string reason;
  ASSERT_TRUE(analysis::ParseLog(clean, "log.csv", log, reason));
  ASSERT_TRUE(analysis::AnalyseStepLog(log, reference, reason)) << reason;
  ASSERT_TRUE(analysis::ParseLog(glitched, "log.csv", log, reason));
  ASSERT_TRUE(analysis::AnalyseStepLog(log, figures, reason)) << reason;
  EXPECT_EQ(figures.noiseRaw, reference.noiseRaw);
  ASSERT_EQ(figures.steps.size(), reference.steps.size());
  for (size_t i = 0; i < figures.steps.size(); ++i) {
    EXPECT_EQ(figures.steps[i].peakSpeed, reference.steps[i].peakSpeed) << i;
  }
  EXPECT_EQ(figures.FirstPulse()->latencyMs, reference.FirstPulse()->latencyMs);
  EXPECT_EQ(figures.FirstPulse()->initialAcceleration, reference.FirstPulse()->initialAcceleration);
  EXPECT_NEAR(figures.FirstPulse()->latencyMs, 20.0, 2.0);
}

}  // namespace
}  // namespace analysis_test

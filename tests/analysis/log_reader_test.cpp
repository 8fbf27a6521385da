// The readers take what real log files hold and refuse the rest with a reason that names the
// file and the line.
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "analysis/log_analysis.h"
#include "analysis/log_reader.h"

namespace analysis_test {
namespace {

using analysis::LogKind;

struct ReadCase {
  const char* what;
  std::string text;
  LogKind kind;
  size_t rows;
  size_t notes;
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.what; }

class ReadsTolerantlyTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadsTolerantlyTest, KeepsTheGoodRows) {
  const ReadCase& c = GetParam();
  analysis::MeasurementLog log;
  std::string reason;
  ASSERT_TRUE(analysis::ParseLog(c.text, "run.csv", log, reason)) << c.what << ": " << reason;
  EXPECT_EQ(log.kind, c.kind) << c.what;
  EXPECT_EQ(log.rows(), c.rows) << c.what;
  EXPECT_EQ(log.notes.size(), c.notes) << c.what;
}

const std::string stepHeader = "time(ms), dt, force, posX, rawPosX, posXDeg, velX (rad/s)";
const std::string forceHeader = "force, startX, endX, deltaX, deltaXDeg";

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadsTolerantlyTest,
    testing::Values(
        ReadCase{"as the program writes it", forceHeader + "\r\n0, 0, 0, 0, 0\r\n200, 0, 0, 0, 0.000000\r\n",
                 LogKind::LinearForce, 2, 0},
        ReadCase{"commas alone, LF", "force,startX,endX,deltaX,deltaXDeg\n0,0,0,0,0\n200,1,5,4,0.18\n",
                 LogKind::LinearForce, 2, 0},
        ReadCase{"blank lines at the end", forceHeader + "\r\n200, 0, 4, 4, 0.18\r\n\r\n\r\n  \r\n",
                 LogKind::LinearForce, 1, 0},
        ReadCase{"a last row cut by an unplug", stepHeader + "\r\n0, 1, 0, 5, 32767, 0.0, 0.0\r\n1, 1, 0, 5, 327",
                 LogKind::Step, 1, 1},
        ReadCase{"a header with no rows", stepHeader + "\r\n", LogKind::Step, 0, 0},
        ReadCase{"a byte-order mark and another spacing",
                 "\xEF\xBB\xBF" "Count ,Time (ms),  deltaTime (ms),force,xPos,xPosRaw,xPosDeg,deltaX,deltaXDeg\n"
                 "0, 0, 0, 10000, 0, 32767, 0.000, 0, 0.000\n",
                 LogKind::Resolution, 1, 0},
        ReadCase{"one garbled row among many", forceHeader + "\n" + [] {
                   std::string rows;
                   for (int i = 1; i <= 20; ++i) rows += std::to_string(i * 200) + ", 0, 9, 9, 0.4\n";
                   return rows + "x, y\n4400, 0, 9, 9, 0.4\n";
                 }(),
                 LogKind::LinearForce, 21, 1},
        ReadCase{"the linear time and minimum force logs",
                 "count, time (ms), startX, endX, deltaX, deltaXDeg\r\n0, 6, 0, 2, 2, -0.082\r\n", LogKind::LinearTime,
                 1, 0},
        ReadCase{"minimum force", "time(ms), dt, force, posX, rawPosX, posXDeg\r\n0, 0, 0, 0, 32767, 0.0\r\n",
                 LogKind::MinForce, 1, 0}));

struct RefusedCase {
  const char* what;
  std::string text;
  std::string reason;  // the whole reason
};

void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.what; }

class RefusesWithAReasonTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusesWithAReasonTest, NamesTheFileAndLine) {
  const RefusedCase& c = GetParam();
  analysis::MeasurementLog log;
  std::string reason;
  EXPECT_FALSE(analysis::ParseLog(c.text, "run.csv", log, reason)) << c.what;
  EXPECT_EQ(reason, c.reason) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusesWithAReasonTest,
    testing::Values(
        RefusedCase{"an empty file", "", "run.csv: empty, no header line"},
        RefusedCase{"blank lines only", "\r\n\r\n", "run.csv: empty, no header line"},
        RefusedCase{"another kind of CSV", "name, lap, time\r\nAnna, 1, 93.2\r\n",
                    "run.csv:1: not a measurement log (header \"name, lap, time\")"},
        RefusedCase{"a header after blank lines, of another kind", "\n\nforce, startX\n",
                    "run.csv:3: not a measurement log (header \"force, startX\")"},
        RefusedCase{"rows of another kind under the header",
                    forceHeader + "\n1, 2\n3, 4\n5, 6\n7, 8\n",
                    "run.csv:2: 3 of 3 rows unreadable as a linear force test log, the first here"}));

TEST(LogAnalysisTest, AHeaderWithNoRowsGetsAReasonAtItsLastLine) {
  const char* headers[] = {"time(ms), dt, force, posX, rawPosX, posXDeg, velX (rad/s)",
                           "force, startX, endX, deltaX, deltaXDeg",
                           "count, time (ms), startX, endX, deltaX, deltaXDeg",
                           "count, time (ms), deltaTime (ms), force, xPos, xPosRaw, xPosDeg, deltaX, deltaXDeg",
                           "time(ms), dt, force, posX, rawPosX, posXDeg"};
  for (const char* header : headers) {
    analysis::MeasurementLog log;
    std::string reason;
    ASSERT_TRUE(analysis::ParseLog(std::string(header) + "\r\n", "empty.csv", log, reason)) << reason;
    analysis::LogAnalysis analysis;
    EXPECT_FALSE(analysis::AnalyseLog(log, analysis::LinearisationMode::Full, analysis, reason)) << header;
    EXPECT_EQ(reason.rfind("empty.csv:1: ", 0), 0u) << reason;
  }
}

TEST(LogAnalysisTest, AFileThatCannotBeOpenedSaysSo) {
  analysis::LogAnalysis analysis;
  std::string reason;
  const std::string missing = (std::filesystem::temp_directory_path() / "vantrel-no-such-log.csv").string();
  EXPECT_FALSE(analysis::AnalyseLogFile(missing, analysis::LinearisationMode::Full, analysis, reason));
  EXPECT_EQ(reason, missing + ": cannot be opened (No such file or directory)");
}

}  // namespace
}  // namespace analysis_test

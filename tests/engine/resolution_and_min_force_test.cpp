// The resolution and minimum-force tests, started from the mode combo and run on the
// virtual clock to the end, checked against what the wheel was built with.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "host/driver/user_driver.h"
#include "support/case_name.h"
#include "support/measurement_fixture.h"

namespace {

namespace driver = host::driver;

constexpr int minForceMode = 10;
constexpr int resolutionMode = 14;

const char resolutionHeader[] = "count, time (ms), deltaTime (ms), force, xPos, xPosRaw, xPosDeg, deltaX, deltaXDeg";
const std::regex resolutionRow("-?\\d+, -?\\d+, -?\\d+, -?\\d+, -?\\d+, -?\\d+, -?\\d+\\.\\d{3}, -?\\d+, -?\\d+\\.\\d{3}");
const char minForceHeader[] = "time(ms), dt, force, posX, rawPosX, posXDeg";
const std::regex minForceRow("-?\\d+, -?\\d+, -?\\d+, -?\\d+, -?\\d+, -?\\d+\\.\\d{6}");
const char resultPrefix[] = "Your maximum value for steeringFFBBaseOffset is ";

host::DeviceId AttachScriptedWheel(LONG rawX = 32768) {
  host::DeviceId id = host::AttachDevice(host::GameControllerDescription("Scripted Wheel", 0x1209, 0x0002, 2));
  host::SetAxisValue(id, 0, rawX);
  return id;
}

// Degrees of one raw unit of the 0..65535 axis on a 900-degree wheel.
constexpr double degreesPerRaw = 900.0 / 65535.0;

using ResolutionTest = MeasurementTest;
using MinForceTest = MeasurementTest;

TEST_F(ResolutionTest, TheSweepLogsEveryTickUntilTheWheelPassesMinusNineThousand) {
  AttachWheel();
  RunToDisabled(resolutionMode, nullptr);
  std::vector<std::string> lines = OnlyLog("logRes ");
  ASSERT_GT(lines.size(), 50u);
  EXPECT_EQ(lines[0], resolutionHeader);
  for (size_t i = 1; i < lines.size(); ++i) {
    ASSERT_TRUE(std::regex_match(lines[i], resolutionRow)) << i << ": " << lines[i];
    std::vector<double> row = CsvNumbers(lines[i]);
    EXPECT_EQ(row[0], static_cast<double>(i - 1));
    EXPECT_EQ(row[3], 10000);
    EXPECT_GT(row[4], -9000) << i;
    if (i == 1) {
      EXPECT_EQ(row[1], 0);
      EXPECT_EQ(row[2], 0);
      EXPECT_EQ(row[7], 0);
      continue;
    }
    std::vector<double> previous = CsvNumbers(lines[i - 1]);
    EXPECT_EQ(row[2], 1) << i;
    EXPECT_EQ(row[1], previous[1] + row[2]) << i;
    EXPECT_EQ(row[7], row[5] - previous[5]) << i;
    // The change in degrees is the change of the logged angle; both are shown to three
    // decimals, well below the 0.014 degrees of one raw unit.
    EXPECT_NEAR(row[8], row[6] - previous[6], 0.0015) << i;
  }
  // A positive force turns the wheel toward -X: the sweep ends on the tick after the last row.
  EXPECT_LT(CsvNumbers(lines.back())[4], -8000);
}

TEST_F(ResolutionTest, ARawStepIsLoggedInDegreesOfTheAxisSpan) {
  host::DeviceId wheel = AttachScriptedWheel();
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, resolutionMode)); })
      // A still wheel: 2000 ms of kick, 501 of centring, 300 of rest, then the sweep.
      .Wait(3000)
      .Then([wheel](HWND) { host::SetAxisValue(wheel, 0, 32769); })
      .Wait(100)
      .Then([wheel](HWND) { host::SetAxisValue(wheel, 0, 0); })
      .WaitUntil(ShowsDisabled, 60000)
      .Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  ASSERT_FALSE(session.timedOut());
  std::vector<std::string> lines = OnlyLog("logRes ");
  std::vector<std::string> steps;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (CsvFields(lines[i])[7] != "0") steps.push_back(lines[i]);
  }
  // The step to 0 ends the sweep without a row; the one-unit step is 900 / 65535 degrees.
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(CsvFields(steps[0])[7], "1");
  EXPECT_EQ(CsvFields(steps[0])[8], "0.014");
}

TEST_F(ResolutionTest, ASweepThatStartsBeyondMinusNineThousandEndsWithoutARow) {
  AttachScriptedWheel(2000);  // posX -9389, and it never moves
  RunToDisabled(resolutionMode, nullptr);
  std::vector<std::string> lines = OnlyLog("logRes ");
  EXPECT_EQ(lines, std::vector<std::string>{resolutionHeader});
}

// Ground truth: the smallest change the log shows is one step of the wheel's encoder.
class EncoderStepTest : public ResolutionTest, public testing::WithParamInterface<int64_t> {};

TEST_P(EncoderStepTest, IsTheSmallestLoggedChange) {
  const int64_t counts = GetParam();
  sim::WheelParameters wheel;
  wheel.encoderCountsPerRevolution = counts;
  AttachWheelWith(wheel);
  RunToDisabled(resolutionMode, nullptr);
  std::vector<std::string> lines = OnlyLog("logRes ");
  double smallest = 1e9;
  for (size_t i = 1; i < lines.size(); ++i) {
    double deltaX = std::fabs(CsvNumbers(lines[i])[7]);
    if (deltaX > 0) smallest = std::min(smallest, deltaX);
  }
  ASSERT_LT(smallest, 1e9);
  double stepDegrees = 360.0 / static_cast<double>(counts);
  double measured = smallest * degreesPerRaw;
  std::printf("encoder %lld counts/rev: step set %.4f deg, smallest logged change %.4f deg (%.0f raw)\n",
              static_cast<long long>(counts), stepDegrees, measured, smallest);
  // The axis reports the stepped angle in whole raw units: within one of them.
  EXPECT_NEAR(measured, stepDegrees, degreesPerRaw);
}

INSTANTIATE_TEST_SUITE_P(Encoders, EncoderStepTest, testing::Values(1024, 4096, 16384),
                         [](const testing::TestParamInfo<int64_t>& info) {
                           return std::to_string(info.param) + "CountsPerRevolution";
                         });

struct ResultLineCase {
  const char* what;
  bool virtualWheel;
  double staticFriction;  // N m, virtual wheel only
  int moveAfterMs;        // scripted wheel: a changed reading this long after the selection; 0: never
  const char* result;
};

void PrintTo(const ResultLineCase& c, std::ostream* out) { *out << c.what; }

class ResultLineTest : public MinForceTest, public testing::WithParamInterface<ResultLineCase> {};

TEST_P(ResultLineTest, NamesTheLevelBelowTheFirstMove) {
  const ResultLineCase& c = GetParam();
  host::DeviceId wheel = host::noDevice;
  if (c.virtualWheel) {
    sim::WheelParameters parameters;
    parameters.staticFriction = c.staticFriction;
    parameters.coulombFriction = std::min(parameters.coulombFriction, c.staticFriction);
    wheel = AttachWheelWith(parameters);
  } else {
    wheel = AttachScriptedWheel();
  }
  std::string result;
  UserSession session;
  session.Wait(50).Then([](HWND dialog) {
    EXPECT_EQ(driver::Text(dialog, IDC_STATUS), "");
    ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, minForceMode));
  });
  if (c.moveAfterMs > 0) session.Wait(c.moveAfterMs).Then([wheel](HWND) { host::SetAxisValue(wheel, 0, 32770); });
  session.WaitUntil(ShowsDisabled, 60000).Then([&](HWND dialog) {
    result = driver::Text(dialog, IDC_STATUS);
    driver::ClickCloseBox(dialog);
  });
  ASSERT_EQ(session.Run(), 0);
  EXPECT_FALSE(session.timedOut());
  EXPECT_EQ(result, std::string(resultPrefix) + c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Wheels, ResultLineTest,
    testing::Values(
        // Break-away at 975 of 10000: level 950 holds, 1000 moves.
        ResultLineCase{"first move at 1000", true, 0.0975 * 2.2, 0, "9.5% (950)"},
        // The kick ends after 2000 ms and the rest after 300 more: level 0 runs from then on.
        ResultLineCase{"moving at level 0", false, 0, 2400, "-0.5% (-50)"},
        ResultLineCase{"never moves", false, 0, 0, "-0.0% (-1)"}),
    test_support::NamedByWhat());

// Ground truth: the reported value is the largest level that holds the wheel, so it lies
// within one ramp step at or below the wheel's break-away force.
class BreakAwayForceTest : public MinForceTest, public testing::WithParamInterface<double> {};

TEST_P(BreakAwayForceTest, IsTheReportedValue) {
  const double share = GetParam();
  sim::WheelParameters parameters;
  parameters.staticFriction = share * parameters.maxMotorTorque;
  parameters.coulombFriction = parameters.staticFriction * 0.8;
  AttachWheelWith(parameters);
  std::string result;
  RunToDisabled(minForceMode, nullptr, 60000, [&](HWND dialog) { result = driver::Text(dialog, IDC_STATUS); });
  std::smatch m;
  ASSERT_TRUE(std::regex_match(result, m, std::regex(std::string(resultPrefix) + "-?\\d+\\.\\d% \\((-?\\d+)\\)")))
      << result;
  int reported = std::atoi(m[1].str().c_str());
  double breakAway = share * 10000.0;
  std::printf("break-away set %.0f (%.1f %%), reported %d\n", breakAway, share * 100, reported);
  EXPECT_LE(reported, breakAway);
  EXPECT_GT(reported + 50, breakAway);
}

// Off the ramp's levels and on one (the default 7.5 %, where the level equal to it holds).
INSTANTIATE_TEST_SUITE_P(Shares, BreakAwayForceTest, testing::Values(0.0333, 0.075, 0.1523, 0.2911),
                         [](const testing::TestParamInfo<double>& info) {
                           return "BreakAwayAt" + std::to_string(std::lround(info.param * 10000)) + "Units";
                         });

TEST_F(MinForceTest, TheRampIsLoggedLevelByLevelUpToFourThousand) {
  AttachScriptedWheel();
  RunToDisabled(minForceMode, nullptr, 60000);
  std::vector<std::string> lines = OnlyLog("log_mforce ");
  ASSERT_GT(lines.size(), 2u);
  EXPECT_EQ(lines[0], minForceHeader);
  std::vector<std::pair<int, int>> runs;
  for (size_t i = 1; i < lines.size(); ++i) {
    ASSERT_TRUE(std::regex_match(lines[i], minForceRow)) << i << ": " << lines[i];
    std::vector<double> row = CsvNumbers(lines[i]);
    int force = static_cast<int>(row[2]);
    if (runs.empty() || runs.back().first != force) {
      // A level's first tick shows the new level and the time the previous one was held.
      if (!runs.empty()) {
        EXPECT_EQ(row[1], 201) << i;
      }
      runs.push_back({force, 0});
    }
    ++runs.back().second;
  }
  // Levels 0, 50, ... 3950 held for 201 ticks each; 4000 requested, logged once, and the end.
  ASSERT_EQ(runs.size(), 81u);
  for (size_t level = 0; level < 80; ++level) {
    EXPECT_EQ(runs[level], std::make_pair(-50 * static_cast<int>(level), 201)) << level;
  }
  EXPECT_EQ(runs[80], std::make_pair(-4000, 1));
}

TEST_F(MinForceTest, EachRunOfARepeatWritesTheResultLine) {
  AttachScriptedWheel();
  std::string afterFirst;
  std::string afterLast;
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) {
        Enter(dialog, IDC_REPEAT, "2");
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, minForceMode));
      })
      .WaitUntil([](HWND dialog) { return !driver::Text(dialog, IDC_STATUS).empty(); }, 60000)
      .Then([&](HWND dialog) {
        afterFirst = driver::Text(dialog, IDC_STATUS);
        EXPECT_FALSE(ShowsDisabled(dialog));
        // Blanked here so that the second run's write shows.
        SetWindowTextA(GetDlgItem(dialog, IDC_STATUS), "");
      })
      .WaitUntil(ShowsDisabled, 60000)
      .Then([&](HWND dialog) {
        afterLast = driver::Text(dialog, IDC_STATUS);
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  ASSERT_FALSE(session.timedOut());
  EXPECT_EQ(afterFirst, std::string(resultPrefix) + "-0.0% (-1)");
  EXPECT_EQ(afterLast, afterFirst);
  EXPECT_EQ(folder->Files("log_mforce ").size(), 2u);
}

}  // namespace

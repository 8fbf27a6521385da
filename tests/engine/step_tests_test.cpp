// The step, linear force and linear time tests, started from the mode combo and run on the
// virtual clock to the end, with their logs read back byte for byte.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <numbers>
#include <ostream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "engine/engine_state.h"
#include "host/driver/user_driver.h"
#include "host/system.h"
#include "support/case_name.h"
#include "support/measurement_fixture.h"

namespace {

namespace driver = host::driver;

constexpr int stepTestMode = 11;
constexpr int linearForceMode = 12;
constexpr int linearTimeMode = 13;

const char stepHeader[] = "time(ms), dt, force, posX, rawPosX, posXDeg, velX (rad/s)";
const std::regex stepRow("-?\\d+, -?\\d+, -?\\d+, -?\\d+, -?\\d+, -?\\d+\\.\\d{6}, -?\\d+\\.\\d{6}");
const std::regex linearForceRow("-?\\d+, -?\\d+, -?\\d+, -?\\d+, -?\\d+\\.\\d{6}");
const std::regex linearTimeRow("-?\\d+, -?\\d+, -?\\d+, -?\\d+, -?\\d+, -?\\d+\\.\\d{6}");
const std::regex stepLogName("log \\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d( \\(\\d+\\))?\\.csv");

// The force column of a step log as runs of equal values: (force, rows).
std::vector<std::pair<int, int>> ForceRuns(const std::vector<std::string>& lines) {
  std::vector<std::pair<int, int>> runs;
  for (size_t i = 1; i < lines.size(); ++i) {
    int force = static_cast<int>(CsvNumbers(lines[i])[2]);
    if (runs.empty() || runs.back().first != force) runs.push_back({force, 0});
    ++runs.back().second;
  }
  return runs;
}

// The log names the pattern gives for each second from `from` to `to`.
std::vector<std::string> NamesBetween(const char* prefix, std::time_t from, std::time_t to) {
  std::vector<std::string> names;
  for (std::time_t t = from; t <= to; ++t) {
    char name[64];
    std::string pattern = std::string(prefix) + " %Y-%m-%d %H-%M-%S.csv";
    std::strftime(name, sizeof(name), pattern.c_str(), std::localtime(&t));
    names.push_back(name);
  }
  return names;
}

host::DeviceId AttachScriptedWheel() {
  host::DeviceId id = host::AttachDevice(host::GameControllerDescription("Scripted Wheel", 0x1209, 0x0002, 2));
  host::SetAxisValue(id, 0, 32768);
  return id;
}

using StepTestTest = MeasurementTest;

TEST_F(StepTestTest, WithTheDefaultsEachPhaseIsLoggedForItsTimeAndTheModeReturnsToDisabled) {
  AttachWheel();
  std::time_t before = std::time(nullptr);
  UserSession session;
  DWORD priorityDuringRun = 0;
  int runsWhenDone = -1;
  session.Wait(50)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, stepTestMode)); })
      .Wait(1000)
      .Then([&](HWND) { priorityDuringRun = host::RecordedSystemCalls().priorityClass; })
      .WaitUntil(ShowsDisabled, 60000)
      .Then([&](HWND dialog) {
        runsWhenDone = testRunCount;
        EXPECT_EQ(host::RecordedSystemCalls().priorityClass, static_cast<uint32_t>(HIGH_PRIORITY_CLASS));
        EXPECT_EQ(driver::Text(dialog, IDC_MODE), "Disabled");
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  std::time_t after = std::time(nullptr);
  ASSERT_FALSE(session.timedOut());
  EXPECT_EQ(priorityDuringRun, static_cast<DWORD>(REALTIME_PRIORITY_CLASS));
  EXPECT_EQ(runsWhenDone, 1);

  // A free name is the pattern itself, in the local time of the start.
  std::vector<std::string> names = folder->Files();
  ASSERT_EQ(names.size(), 1u);
  std::vector<std::string> expected = NamesBetween("log", before, after);
  EXPECT_NE(std::find(expected.begin(), expected.end(), names[0]), expected.end()) << names[0];

  std::vector<std::string> lines = CsvLines(folder->Read(names[0]));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], stepHeader);
  // Rest 0..299 ms, three pulses of 0..300 ms and the release 0..799 ms, one row per 1 ms
  // tick, the force column negated.
  EXPECT_EQ(ForceRuns(lines), (std::vector<std::pair<int, int>>{{0, 300}, {-10000, 301}, {10000, 301}, {-10000, 301},
                                                                {0, 800}}));
  for (size_t i = 1; i < lines.size(); ++i) {
    ASSERT_TRUE(std::regex_match(lines[i], stepRow)) << i << ": " << lines[i];
    std::vector<std::string> fields = CsvFields(lines[i]);
    EXPECT_EQ(fields[1], "1") << i;
    if (i > 1) {
      std::vector<double> previous = CsvNumbers(lines[i - 1]);
      std::vector<double> row = CsvNumbers(lines[i]);
      EXPECT_EQ(row[0] - previous[0], 1.0) << i;
      // The velocity is the logged angle's change over the millisecond, in radians per second.
      // The angle column holds a single-precision value to six decimals: a few 1e-5 degrees,
      // far below the 0.24 rad/s of one raw unit per millisecond.
      double velocity = (row[5] - previous[5]) * (std::numbers::pi / 180.0) / 0.001;
      EXPECT_NEAR(row[6], velocity, 1e-3) << i;
    }
  }
}

TEST_F(StepTestTest, TheVelocityColumnUsesTheAxisSpan) {
  host::DeviceId wheel = AttachScriptedWheel();
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, stepTestMode)); })
      // The scripted wheel never moves: 2000 ms of kick, 501 of centring, then the logged phases.
      .Wait(3000)
      .Then([wheel](HWND) { host::SetAxisValue(wheel, 0, 32778); })
      .WaitUntil(ShowsDisabled, 60000)
      .Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  std::vector<std::string> lines = OnlyLog("log ");
  std::vector<std::string> moving;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string velocity = CsvFields(lines[i])[6];
    if (velocity != "0.000000") moving.push_back(lines[i]);
  }
  ASSERT_EQ(moving.size(), 1u);
  std::vector<std::string> fields = CsvFields(moving[0]);
  EXPECT_EQ(fields[4], "32778");
  EXPECT_EQ(fields[6], "2.396882");
}

struct KickEndCase {
  const char* what;
  bool jitter;
  double firstRowFrom;
  double firstRowTo;
};

void PrintTo(const KickEndCase& c, std::ostream* out) { *out << c.what; }

class KickEndTest : public StepTestTest, public testing::WithParamInterface<KickEndCase> {};

TEST_P(KickEndTest, AfterTwoChangedReadingsOrAfterTwoSeconds) {
  const KickEndCase& c = GetParam();
  host::DeviceId wheel = AttachScriptedWheel();
  UserSession session;
  session.Wait(50).Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, stepTestMode)); });
  if (c.jitter) {
    session.Wait(100)
        .Then([wheel](HWND) { host::SetAxisValue(wheel, 0, 32770); })
        .Wait(5)
        .Then([wheel](HWND) { host::SetAxisValue(wheel, 0, 32768); });
  }
  session.WaitUntil(ShowsDisabled, 60000).Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  std::vector<std::string> lines = OnlyLog("log ");
  ASSERT_GT(lines.size(), 1u);
  double firstRowTime = CsvNumbers(lines[1])[0];
  EXPECT_GE(firstRowTime, c.firstRowFrom);
  EXPECT_LE(firstRowTime, c.firstRowTo);
}

INSTANTIATE_TEST_SUITE_P(Readings, KickEndTest,
                         testing::Values(
                             // Kick 2000 ms, centring 501 ms: the first row comes after both.
                             KickEndCase{"still wheel", false, 2501, 2520},
                             // Two changed readings 100 ms into the kick end it there.
                             KickEndCase{"jittering reading", true, 600, 700}),
                         test_support::NamedByWhat());

// The physics ground truth: the acceleration the step test's velocity column shows during
// the first pulse is the wheel's own, (motor torque - kinetic friction) / inertia.
class AccelerationTest : public StepTestTest, public testing::WithParamInterface<double> {};

TEST_P(AccelerationTest, TheVelocityCurveShowsTheWheelsOwn) {
  const double inertia = GetParam();
  sim::WheelParameters wheel;
  wheel.inertia = inertia;
  AttachWheelWith(wheel);
  RunToDisabled(stepTestMode, nullptr);
  std::vector<std::string> lines = OnlyLog("log ");
  // Rows of the first pulse (logged force -10000), from 10 ms to 200 ms into it.
  std::vector<double> times;
  std::vector<double> velocities;
  double pulseStart = -1;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::vector<double> row = CsvNumbers(lines[i]);
    if (row[2] != -10000) {
      if (pulseStart >= 0) break;
      continue;
    }
    if (pulseStart < 0) pulseStart = row[0];
    double t = (row[0] - pulseStart) / 1000.0;
    if (t < 0.010 || t > 0.200) continue;
    times.push_back(t);
    velocities.push_back(row[6]);
  }
  ASSERT_GT(times.size(), 100u);
  double meanT = 0, meanV = 0;
  for (size_t i = 0; i < times.size(); ++i) {
    meanT += times[i];
    meanV += velocities[i];
  }
  meanT /= static_cast<double>(times.size());
  meanV /= static_cast<double>(times.size());
  double sxy = 0, sxx = 0;
  for (size_t i = 0; i < times.size(); ++i) {
    sxy += (times[i] - meanT) * (velocities[i] - meanV);
    sxx += (times[i] - meanT) * (times[i] - meanT);
  }
  double measured = -sxy / sxx;  // a positive force turns the wheel toward -X
  double expected = (wheel.maxMotorTorque - wheel.coulombFriction) / wheel.inertia;
  std::printf("inertia %.3f kg m^2: acceleration set %.1f rad/s^2, measured %.1f rad/s^2 (%+.1f %%)\n", inertia,
              expected, measured, (measured / expected - 1) * 100);
  EXPECT_NEAR(measured, expected, expected * 0.10);
}

INSTANTIATE_TEST_SUITE_P(RimInertias, AccelerationTest, testing::Values(0.02, 0.03, 0.06),
                         [](const testing::TestParamInfo<double>& info) {
                           return "Inertia" + test_support::CaseName(std::to_string(info.param).substr(0, 4));
                         });

TEST_F(StepTestTest, RepeatWritesOneLogPerRunAndANewSelectionCountsFromZero) {
  AttachWheel();
  int runsAfterFirst = -1;
  int runsAfterSecond = -1;
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) {
        Enter(dialog, IDC_REPEAT, "3");
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, stepTestMode));
      })
      .WaitUntil(ShowsDisabled, 60000)
      .Then([&](HWND dialog) {
        runsAfterFirst = testRunCount;
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, stepTestMode));
      })
      .Wait(10)
      .WaitUntil(ShowsDisabled, 60000)
      .Then([&](HWND dialog) {
        runsAfterSecond = testRunCount;
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  ASSERT_FALSE(session.timedOut());
  EXPECT_EQ(runsAfterFirst, 3);
  EXPECT_EQ(runsAfterSecond, 3);
  std::vector<std::string> names = folder->Files();
  ASSERT_EQ(names.size(), 6u);
  for (const std::string& name : names) {
    EXPECT_TRUE(std::regex_match(name, stepLogName)) << name;
    std::vector<std::string> lines = CsvLines(folder->Read(name));
    EXPECT_EQ(lines.size(), 2004u) << name;
  }
}

TEST_F(StepTestTest, ARunNeverOverwritesALogOfTheSameName) {
  AttachWheel();
  // Every name the next seconds can give is taken already.
  std::time_t now = std::time(nullptr);
  std::vector<std::string> taken = NamesBetween("log", now, now + 30);
  for (const std::string& name : taken) folder->Write(name, "earlier run\r\n");
  RunToDisabled(stepTestMode, nullptr);
  std::vector<std::string> names = folder->Files();
  ASSERT_EQ(names.size(), taken.size() + 1);
  for (const std::string& name : taken) EXPECT_EQ(folder->Read(name), "earlier run\r\n") << name;
  std::vector<std::string> fresh;
  for (const std::string& name : names) {
    if (std::find(taken.begin(), taken.end(), name) == taken.end()) fresh.push_back(name);
  }
  ASSERT_EQ(fresh.size(), 1u);
  std::string stem = fresh[0].substr(0, fresh[0].size() - std::string(" (2).csv").size());
  EXPECT_EQ(fresh[0], stem + " (2).csv");
  EXPECT_NE(std::find(taken.begin(), taken.end(), stem + ".csv"), taken.end());
  EXPECT_EQ(CsvLines(folder->Read(fresh[0])).size(), 2004u);
}

TEST_F(StepTestTest, ARefreshMidRunKeepsTheRowsSoFarAndStartsANewLog) {
  AttachWheel();
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, stepTestMode)); })
      .Wait(1500)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ClickButton(dialog, IDC_REFRESH)); })
      .WaitUntil(ShowsDisabled, 60000)
      .Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  ASSERT_FALSE(session.timedOut());
  std::vector<std::string> names = folder->Files();
  ASSERT_EQ(names.size(), 2u);
  std::vector<size_t> rows;
  for (const std::string& name : names) {
    std::vector<std::string> lines = CsvLines(folder->Read(name));
    ASSERT_FALSE(lines.empty()) << name;
    EXPECT_EQ(lines[0], stepHeader);
    for (size_t i = 1; i < lines.size(); ++i) ASSERT_TRUE(std::regex_match(lines[i], stepRow)) << name << " " << i;
    rows.push_back(lines.size() - 1);
  }
  // The cut run has its rows up to the refresh; the run after it is whole.
  std::sort(rows.begin(), rows.end());
  EXPECT_GT(rows[0], 100u);
  EXPECT_LT(rows[0], 2003u);
  EXPECT_EQ(rows[1], 2003u);
  EXPECT_EQ(testRunCount, 1);
}

TEST_F(StepTestTest, UnpluggingTheWheelMidRunClosesTheLogAndTheReturningWheelStartsAnew) {
  host::DeviceId wheel = AttachWheel();
  host::AttachDevice(host::KeyboardDescription());
  std::string cutLog;
  std::vector<std::string> namesWhileAway;
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, stepTestMode)); })
      .Wait(1500)
      .Then([wheel](HWND) { ASSERT_TRUE(driver::UnplugDevice(wheel)); })
      .Wait(3000)
      .Then([&](HWND dialog) {
        ASSERT_TRUE(driver::WindowExists(dialog));
        namesWhileAway = folder->Files();
        if (namesWhileAway.size() == 1) cutLog = folder->Read(namesWhileAway[0]);
        host::DeviceDescription same = host::VirtualWheelDescription();
        same.instanceGuid = host::DeviceInstanceGuid(wheel);
        ASSERT_EQ(driver::PlugDevice(same), wheel);
      })
      .WaitUntil(ShowsDisabled, 60000)
      .Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  ASSERT_FALSE(session.timedOut());
  ASSERT_EQ(namesWhileAway.size(), 1u);
  // Closed while the wheel was away: every row so far is on disk, whole.
  std::vector<std::string> cut = CsvLines(cutLog);
  ASSERT_GT(cut.size(), 100u);
  EXPECT_LT(cut.size(), 2004u);
  for (size_t i = 1; i < cut.size(); ++i) ASSERT_TRUE(std::regex_match(cut[i], stepRow)) << i;
  std::vector<std::string> names = folder->Files();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(folder->Read(namesWhileAway[0]), cutLog);
  for (const std::string& name : names) {
    if (name != namesWhileAway[0]) {
      EXPECT_EQ(CsvLines(folder->Read(name)).size(), 2004u);
    }
  }
}

TEST_F(StepTestTest, ClosingTheWindowMidRunClosesTheLogWithItsRows) {
  AttachWheel();
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, stepTestMode)); })
      .Wait(1500)
      .Then([](HWND dialog) { ASSERT_TRUE(PostMessageA(dialog, WM_CLOSE, 0, 0)); });
  ASSERT_EQ(session.Run(), 0);
  std::vector<std::string> lines = OnlyLog("log ");
  ASSERT_GT(lines.size(), 100u);
  EXPECT_LT(lines.size(), 2004u);
  for (size_t i = 1; i < lines.size(); ++i) ASSERT_TRUE(std::regex_match(lines[i], stepRow)) << i;
}

struct LinearForceCase {
  const char* maxCount;
  std::vector<int> forces;
};

void PrintTo(const LinearForceCase& c, std::ostream* out) { *out << "Max Count " << c.maxCount; }

std::vector<int> FiftyStepsOf200() {
  std::vector<int> forces;
  for (int i = 1; i <= 50; ++i) forces.push_back(200 * i);
  return forces;
}

class LinearForceTest : public StepTestTest, public testing::WithParamInterface<LinearForceCase> {};

TEST_P(LinearForceTest, StepsUpToTheFullForce) {
  const LinearForceCase& c = GetParam();
  AttachWheel();
  RunToDisabled(linearForceMode, [&](HWND dialog) { Enter(dialog, IDC_MAX_COUNT, c.maxCount); }, 600000);
  std::vector<std::string> lines = OnlyLog("log2 ");
  ASSERT_EQ(lines.size(), c.forces.size() + 2);
  EXPECT_EQ(lines[0], "force, startX, endX, deltaX, deltaXDeg");
  EXPECT_EQ(lines[1], "0, 0, 0, 0, 0");
  for (size_t i = 0; i < c.forces.size(); ++i) {
    const std::string& line = lines[i + 2];
    ASSERT_TRUE(std::regex_match(line, linearForceRow)) << line;
    std::vector<double> row = CsvNumbers(line);
    EXPECT_EQ(row[0], c.forces[i]);
    EXPECT_EQ(row[3], row[2] - row[1]) << line;
    // Degrees on the axis's own span agree with the normalised travel.
    EXPECT_NEAR(row[4], row[3] * 900.0 / 20000.0, 0.1) << line;
    // A positive force turns the wheel toward -X, logged as positive travel; forces below
    // the wheel's break-away (750) leave it where it is.
    if (c.forces[i] < 700) {
      EXPECT_EQ(row[3], 0) << line;
    }
    if (c.forces[i] >= 2000) {
      EXPECT_GT(row[3], 0) << line;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(MaxCounts, LinearForceTest,
                         testing::Values(LinearForceCase{"50", FiftyStepsOf200()},
                                         LinearForceCase{"3", {3333, 6666, 10000}}),
                         [](const testing::TestParamInfo<LinearForceCase>& info) {
                           return "MaxCount" + std::string(info.param.maxCount);
                         });

TEST_F(StepTestTest, TheLinearTimeTestStepsGrowToTheStepTime) {
  AttachWheel();
  RunToDisabled(linearTimeMode, nullptr, 600000);
  std::vector<std::string> lines = OnlyLog("log3 ");
  ASSERT_EQ(lines.size(), 51u);
  EXPECT_EQ(lines[0], "count, time (ms), startX, endX, deltaX, deltaXDeg");
  for (int i = 0; i < 50; ++i) {
    const std::string& line = lines[static_cast<size_t>(i) + 1];
    ASSERT_TRUE(std::regex_match(line, linearTimeRow)) << line;
    std::vector<double> row = CsvNumbers(line);
    EXPECT_EQ(row[0], i);
    // At least (i + 1) * 300 / 50 ms, measured on 1 ms ticks.
    EXPECT_GE(row[1], 6 * (i + 1)) << line;
    EXPECT_LE(row[1], 6 * (i + 1) + 1) << line;
    EXPECT_EQ(row[4], row[3] - row[2]) << line;
    // The opposite sign to the linear force test's degrees.
    EXPECT_NEAR(row[5], -row[4] * 900.0 / 20000.0, 0.1) << line;
    EXPECT_GT(row[4], 0) << line;
  }
}

struct NoLogCase {
  const char* what;
  std::string folder;  // empty: the shell has no documents folder
  const char* trace;
};

void PrintTo(const NoLogCase& c, std::ostream* out) { *out << c.what; }

class NoLogTest : public StepTestTest, public testing::WithParamInterface<NoLogCase> {};

TEST_P(NoLogTest, TheTestStillRunsAndReturnsToDisabled) {
  const NoLogCase& c = GetParam();
  host::SetDocumentsFolder(c.folder.empty() ? nullptr : c.folder.c_str());
  AttachWheel();
  DWORD priorityDuringRun = 0;
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, stepTestMode)); })
      .Wait(1000)
      .Then([&](HWND) { priorityDuringRun = host::RecordedSystemCalls().priorityClass; })
      .WaitUntil(ShowsDisabled, 60000)
      .Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  EXPECT_FALSE(session.timedOut());
  EXPECT_EQ(priorityDuringRun, static_cast<DWORD>(HIGH_PRIORITY_CLASS));
  EXPECT_TRUE(folder->Files().empty());
  int traced = 0;
  for (const std::string& line : TraceLines()) {
    if (line.rfind(c.trace, 0) == 0) ++traced;
  }
  EXPECT_EQ(traced, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, NoLogTest,
    testing::Values(NoLogCase{"no documents folder", "", "SHGetFolderPathA() Failed (0x80004005) E_FAIL"},
                    NoLogCase{"folder gone", "/nonexistent/vantrel/documents",
                              "fopen(\"/nonexistent/vantrel/documents/log "},
                    NoLogCase{"path over 260 bytes", "/tmp/" + std::string(240, 'd'), "Log path too long in \"/tmp/ddd"}),
    test_support::NamedByWhat());

}  // namespace

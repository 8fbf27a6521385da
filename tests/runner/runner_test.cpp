// vantrel-measure on the virtual wheel and the virtual clock: the logs it writes, its exit
// codes, Ctrl+C and a wheel unplugged mid-test.
#include <csignal>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "host/dinput/device_registry.h"
#include "host/driver/user_driver.h"
#include "runner/runner_fixture.h"
#include "support/measurement_modes.h"
#include "support/program_torque.h"

namespace {

namespace driver = host::driver;

class SameBytesTest : public RunnerTest, public testing::WithParamInterface<MeasurementMode> {};

// The dialog's user picks the test at the first moment the program looks for input; the
// runner starts it right after opening the device: both first run it on the first tick.
TEST_P(SameBytesTest, TheRunnerWritesTheDialogsLogByteForByte) {
  const MeasurementMode& c = GetParam();
  AttachWheel();
  UserSession session;
  session.Then([&c](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, c.mode)); })
      .WaitUntil(ShowsDisabled, 200000)
      .Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  ASSERT_FALSE(session.timedOut());
  std::vector<std::string> dialogLogs = folder->Files(c.logPrefix);
  ASSERT_EQ(dialogLogs.size(), 1u);
  std::string dialogBytes = folder->Read(dialogLogs[0]);
  // The dialog wrote the run's analysis page beside its log when the run ended.
  EXPECT_EQ(folder->Pages(c.logPrefix).size(), 1u);

  StartAfresh();
  AttachWheel();
  RunnerResult result = RunRunner({c.name});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::vector<std::string> runnerLogs = folder->Files(c.logPrefix);
  ASSERT_EQ(runnerLogs.size(), 1u);
  std::string runnerBytes = folder->Read(runnerLogs[0]);
  EXPECT_GT(CsvLines(runnerBytes).size(), 2u);
  EXPECT_EQ(runnerBytes, dialogBytes);
  EXPECT_EQ(folder->Pages(c.logPrefix).size(), 1u);
  // The summary names the log it wrote, and the figures of the run under it.
  EXPECT_NE(result.out.find(runnerLogs[0]), std::string::npos) << result.out;
  EXPECT_NE(result.out.find(" test: "), std::string::npos) << result.out;
}

INSTANTIATE_TEST_SUITE_P(Tests, SameBytesTest, testing::ValuesIn(allMeasurements), NamedByMeasurement());

TEST_F(RunnerTest, AllRunsTheFiveTestsInTurnAndSummarisesEachRun) {
  AttachWheel();
  RunnerResult result = RunRunner({"--repeat", "2", "--max-count", "3", "all"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  for (const char* prefix : {"log ", "log2 ", "log3 ", "logRes ", "log_mforce "}) {
    EXPECT_EQ(folder->Files(prefix).size(), 2u) << prefix;
  }
  // Header, ten rows (two per test), in the order the tests ran.
  std::vector<std::string> order;
  size_t at = 0;
  for (const char* test : {"min-force #1", "min-force #2", "step #1", "step #2", "linear-force #1", "linear-time #2",
                           "resolution #1", "resolution #2"}) {
    size_t found = result.out.find(test, at);
    ASSERT_NE(found, std::string::npos) << test << " in\n" << result.out;
    at = found;
  }
  // Both minimum-force runs report the wheel's break-away (7.5 % of full force).
  size_t first = result.out.find("break-away 750 (7.5%)");
  ASSERT_NE(first, std::string::npos) << result.out;
  EXPECT_NE(result.out.find("break-away 750 (7.5%)", first + 1), std::string::npos) << result.out;
  // The linear-force log: the first row and three steps.
  EXPECT_NE(result.out.find("4 rows"), std::string::npos) << result.out;
  // Each run's main figures follow its row.
  EXPECT_NE(result.out.find("minimum force test: break-away at 800 force units, largest held 750"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("step test: latency"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("resolution test: smallest step"), std::string::npos) << result.out;
  // Progress lines name the test, the run, the phase and the share done.
  EXPECT_NE(result.err.find("linear-time run 2/2: step, 33%"), std::string::npos) << result.err;
}

TEST_F(RunnerTest, ListShowsTheDevicesAsTheDialogListsThem) {
  AttachWheel();
  host::AttachDevice(host::GameControllerDescription("Pad With Motors", 0x1234, 0x0002, 1));
  host::AttachDevice(host::KeyboardDescription());
  RunnerResult withForceFeedback = RunRunner({"--list"});
  EXPECT_EQ(withForceFeedback.exitCode, 0);
  EXPECT_EQ(withForceFeedback.out,
            "0  Vantrel Virtual Wheel  (force feedback)\n1  Pad With Motors  (force feedback)\n");

  StartAfresh();
  host::AttachDevice(host::GameControllerDescription("Plain Pad", 0x1234, 0x0003, 0));
  RunnerResult without = RunRunner({"--list"});
  EXPECT_EQ(without.exitCode, 0);
  EXPECT_EQ(without.out, "0  Plain Pad\n");
}

struct DeviceCase {
  const char* name;
  bool wheel;
  bool plainPad;
  std::vector<std::string> arguments;
  int exitCode;
  const char* message;
};

void PrintTo(const DeviceCase& c, std::ostream* out) { *out << c.name; }

class DeviceChoiceTest : public RunnerTest, public testing::WithParamInterface<DeviceCase> {};

TEST_P(DeviceChoiceTest, TheDeviceIsFoundOrTheRunEndsWithThree) {
  const DeviceCase& c = GetParam();
  if (c.plainPad) host::AttachDevice(host::GameControllerDescription("Plain Pad", 0x1234, 0x0003, 0));
  if (c.wheel) AttachWheel();
  RunnerResult result = RunRunner(c.arguments);
  EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
  EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  if (c.exitCode != 0) {
    EXPECT_TRUE(folder->Files().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Devices, DeviceChoiceTest,
    testing::Values(
        DeviceCase{.name = "ByName", .wheel = true, .plainPad = false,
                   .arguments = {"--device", "Vantrel Virtual Wheel", "--max-count", "1", "linear-force"},
                   .exitCode = 0, .message = "vantrel-measure: Vantrel Virtual Wheel"},
        DeviceCase{.name = "ByIndex", .wheel = true, .plainPad = false,
                   .arguments = {"--device", "0", "--max-count", "1", "linear-force"}, .exitCode = 0,
                   .message = "vantrel-measure: Vantrel Virtual Wheel"},
        DeviceCase{.name = "IndexBeyondTheList", .wheel = true, .plainPad = false,
                   .arguments = {"--device", "3", "step"}, .exitCode = 3, .message = "no device 3 (there are 1)"},
        DeviceCase{.name = "UnknownName", .wheel = true, .plainPad = false,
                   .arguments = {"--device", "Other Wheel", "step"}, .exitCode = 3,
                   .message = "no device named \"Other Wheel\""},
        DeviceCase{.name = "NoDeviceAtAll", .wheel = false, .plainPad = false, .arguments = {"step"}, .exitCode = 3,
                   .message = "no device"},
        DeviceCase{.name = "NoneWithForceFeedback", .wheel = false, .plainPad = true, .arguments = {"step"},
                   .exitCode = 3, .message = "no device with force feedback"},
        DeviceCase{.name = "ChosenOneWithoutForceFeedback", .wheel = false, .plainPad = true,
                   .arguments = {"--device", "Plain Pad", "step"}, .exitCode = 3,
                   .message = "\"Plain Pad\" has no force feedback"}),
    [](const testing::TestParamInfo<DeviceCase>& info) { return std::string(info.param.name); });

// Ctrl+C (SIGINT on the host, a console control event on Windows) in the middle of the step
// test's pulses: the forces stop, the log is closed whole, and the exit code says so.
TEST_F(RunnerTest, CtrlCStopsTheForceClosesTheLogAndExitsWith130) {
  host::DeviceId wheel = AttachWheel();
  double torqueWhileRunning = 0;
  bool sent = false;
  RunnerResult result = RunRunner({"step"}, [&](uint64_t sleptMs) {
    // Well into the pulses: the kick, centring and rest take about a second here.
    if (sleptMs < 1500 || sent) return;
    torqueWhileRunning = ProgramTorque(*host::VirtualWheelOf(wheel));
    sent = true;
    std::raise(SIGINT);
  });
  ASSERT_TRUE(sent);
  EXPECT_EQ(result.exitCode, 130) << result.err;
  EXPECT_GT(std::abs(torqueWhileRunning), 1.0) << "the pulses were not running: the case proves nothing";
  EXPECT_EQ(ProgramTorque(*host::VirtualWheelOf(wheel)), 0.0);
  std::vector<std::string> logs = folder->Files("log ");
  ASSERT_EQ(logs.size(), 1u);
  std::vector<std::string> lines = CsvLines(folder->Read(logs[0]));
  EXPECT_GT(lines.size(), 100u);
  EXPECT_NE(result.out.find("step #1"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("interrupted"), std::string::npos) << result.out;
}

TEST_F(RunnerTest, AWheelUnpluggedMidTestEndsWithFourAndKeepsTheLog) {
  host::DeviceId wheel = AttachWheel();
  bool unplugged = false;
  RunnerResult result = RunRunner({"step", "min-force"}, [&](uint64_t sleptMs) {
    if (sleptMs >= 1500 && !unplugged) unplugged = host::DetachDevice(wheel);
  });
  ASSERT_TRUE(unplugged);
  EXPECT_EQ(result.exitCode, 4) << result.err;
  EXPECT_NE(result.err.find("device lost during step"), std::string::npos) << result.err;
  EXPECT_NE(result.out.find("device lost"), std::string::npos) << result.out;
  std::vector<std::string> logs = folder->Files("log ");
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_GT(CsvLines(folder->Read(logs[0])).size(), 100u);
  // The second test never started.
  EXPECT_TRUE(folder->Files("log_mforce ").empty());
}

}  // namespace

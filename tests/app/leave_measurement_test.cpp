// A measurement left mid-run for another mode keeps the rows it wrote, but neither its log
// open nor the real-time priority: a real-time busy loop in a live mode can starve the machine.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "host/driver/user_driver.h"
#include "host/system.h"
#include "support/measurement_fixture.h"
#include "support/measurement_modes.h"

namespace {

namespace driver = host::driver;
namespace fs = std::filesystem;

constexpr int simpleSpringMode = 1;

// Files of `folder` that this process holds open.
std::vector<std::string> OpenFilesIn(const std::string& folder) {
  std::vector<std::string> open;
  std::error_code error;
  for (auto it = fs::directory_iterator("/proc/self/fd", error); !error && it != fs::directory_iterator();
       it.increment(error)) {
    std::error_code linkError;
    fs::path target = fs::read_symlink(it->path(), linkError);
    if (!linkError && target.parent_path() == fs::path(folder)) open.push_back(target.filename().string());
  }
  return open;
}

class LeaveMeasurementTest : public MeasurementTest, public testing::WithParamInterface<MeasurementMode> {};

TEST_P(LeaveMeasurementTest, AnotherModeClosesTheLogAndDropsTheRealTimePriority) {
  const MeasurementMode& mode = GetParam();
  AttachWheel();
  DWORD priorityWhileRunning = 0;
  std::vector<std::string> openWhileRunning;
  std::vector<std::string> openAfterLeaving;
  DWORD priorityAfterLeaving = 0;
  std::string logAfterLeaving;
  UserSession session;
  session.Wait(50)
      .Then([&](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, mode.mode)); })
      // Mid-run for every test: past the opening phases of the shortest (the step test).
      .Wait(1000)
      .Then([&](HWND dialog) {
        priorityWhileRunning = host::RecordedSystemCalls().priorityClass;
        openWhileRunning = OpenFilesIn(folder->path());
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, simpleSpringMode));
      })
      .Wait(500)
      .Then([&](HWND dialog) {
        priorityAfterLeaving = host::RecordedSystemCalls().priorityClass;
        openAfterLeaving = OpenFilesIn(folder->path());
        std::vector<std::string> names = folder->Files(mode.logPrefix);
        if (names.size() == 1) logAfterLeaving = folder->Read(names[0]);
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  ASSERT_EQ(priorityWhileRunning, static_cast<DWORD>(REALTIME_PRIORITY_CLASS)) << "the test was not running";
  ASSERT_EQ(openWhileRunning.size(), 1u);
  EXPECT_EQ(priorityAfterLeaving, static_cast<DWORD>(HIGH_PRIORITY_CLASS));
  EXPECT_TRUE(openAfterLeaving.empty()) << openAfterLeaving.front();
  // What was written so far is on disk, every line whole, from the header on.
  std::vector<std::string> lines = CsvLines(logAfterLeaving);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(folder->Files(mode.logPrefix).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Tests, LeaveMeasurementTest, testing::ValuesIn(allMeasurements), NamedByMeasurement());

}  // namespace

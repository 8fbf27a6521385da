// A shortened soak: the long one (10 million ticks) is the vantrel_soak target.
#include <gtest/gtest.h>

#include "support/soak_scenario.h"

namespace {

TEST(SoakTest, AHundredThousandRestlessTicksLeakNothingAndLoseNoLog) {
  SoakReport report = RunSoak(100000, 20261210);
  EXPECT_EQ(report.exitCode, 0);
  EXPECT_FALSE(report.leftRunning);
  EXPECT_GT(report.ticks, 20000u);
  EXPECT_GT(report.logsWritten, 0u);
  EXPECT_LE(report.maxLiveDirectInput, 1);
  EXPECT_LE(report.maxLiveDevices, 1);
  EXPECT_LE(report.maxLiveEffects, 5);
  // At most one log open per measurement test.
  EXPECT_LE(report.maxOpenFiles, report.openFilesBefore + 5);
  if (report.heapAtSecondCheckpoint != 0) {
    EXPECT_LE(report.maxHeapLater, report.heapAtSecondCheckpoint + 512 * 1024);
  }
  EXPECT_EQ(report.liveObjectsAfterExit, 0);
  EXPECT_EQ(report.openFilesAfterExit, report.openFilesBefore);
  EXPECT_TRUE(report.unclosedLogs.empty()) << report.unclosedLogs.size() << " logs not closed";
  // "Disabled" means the wheel is left alone, whatever happened before.
  EXPECT_GT(report.disabledTicksChecked, 100u);
  EXPECT_EQ(report.forceLeftOn, 0u) << report.firstForceLeftOn;
}

}  // namespace

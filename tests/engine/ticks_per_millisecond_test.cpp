// With "Sleep (ms)" 0 the loop runs several ticks in one millisecond. Every measurement test
// must still end, with the results it gives at one tick per millisecond: a phase's entry
// actions run once, when it is entered, not on every tick of its first millisecond.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "host/driver/user_driver.h"
#include "support/measurement_fixture.h"
#include "support/measurement_modes.h"

namespace {

namespace driver = host::driver;

// Longer than the longest test with the defaults (the linear tests' 50 steps).
constexpr uint32_t maxRunMs = 200000;

// What a test found, in the terms a user reads it: the text for what must match exactly, and
// durations that may differ by the tick (rows are one per tick, and a phase that ends in the
// middle of a millisecond hands over to the next one within it).
struct Outcome {
  std::string text;
  std::vector<double> durationsMs;
};

Outcome Summarise(const MeasurementMode& mode, const std::vector<std::string>& lines, const std::string& status) {
  Outcome outcome;
  std::ostringstream out;
  auto numbers = [&](size_t i) { return CsvNumbers(lines[i]); };
  switch (mode.mode) {
    case 10:  // the result line
      out << status;
      break;
    case 11: {  // the force runs and how long each lasted, by the log's time column
      int force = 0;
      double runStart = 0;
      for (size_t i = 1; i < lines.size(); ++i) {
        std::vector<double> row = numbers(i);
        if (i == 1 || static_cast<int>(row[2]) != force) {
          if (i > 1) outcome.durationsMs.push_back(row[0] - runStart);
          force = static_cast<int>(row[2]);
          runStart = row[0];
          out << force << " ";
        }
      }
      break;
    }
    case 12:  // one row per step: its force
      for (size_t i = 1; i < lines.size(); ++i) out << numbers(i)[0] << " ";
      break;
    case 13:  // one row per step: its number and measured length
      for (size_t i = 1; i < lines.size(); ++i) {
        out << numbers(i)[0] << " ";
        outcome.durationsMs.push_back(numbers(i)[1]);
      }
      break;
    case 14: {  // the smallest real position step, in raw counts
      double smallest = 0;
      for (size_t i = 1; i < lines.size(); ++i) {
        double delta = std::fabs(numbers(i)[7]);
        if (delta > 0 && (smallest == 0 || delta < smallest)) smallest = delta;
      }
      out << "smallest step " << smallest << ", rows > 0: " << (lines.size() > 1);
      break;
    }
  }
  outcome.text = out.str();
  return outcome;
}

class TicksPerMillisecondTest : public MeasurementTest, public testing::WithParamInterface<MeasurementMode> {
 protected:
  // The test's outcome from its one log, which is then removed; no text when it never ended.
  Outcome TakeOutcome(bool ended, const std::string& status) {
    if (!ended) return {};
    std::vector<std::string> lines = OnlyLog(GetParam().logPrefix);
    for (const std::string& name : folder->Files()) std::filesystem::remove(folder->path() + "/" + name);
    return Summarise(GetParam(), lines, status);
  }
};

TEST_P(TicksPerMillisecondTest, ThreeTicksPerMillisecondEndWithTheSameResult) {
  const MeasurementMode& mode = GetParam();
  AttachWheel();
  Outcome atOneTick;
  Outcome atThreeTicks;
  UserSession session;
  auto start = [&](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, mode.mode)); };
  auto finish = [&](Outcome& outcome) {
    return [&, this](HWND dialog) {
      outcome = TakeOutcome(ShowsDisabled(dialog), driver::Text(dialog, IDC_STATUS));
    };
  };
  session.Wait(50)
      .Then(start)
      .WaitUntil(ShowsDisabled, maxRunMs)
      .Then(finish(atOneTick))
      .Then([&](HWND dialog) {
        // From now on the loop does not sleep, and a millisecond passes every third pass.
        Enter(dialog, IDC_SLEEP, "0");
        session.AdvanceClockEvery(3);
      })
      .Then(start)
      .WaitUntil(ShowsDisabled, maxRunMs)
      .Then(finish(atThreeTicks))
      .Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  ASSERT_NE(atOneTick.text, "") << "did not end at one tick per millisecond";
  ASSERT_NE(atThreeTicks.text, "") << "did not end at three ticks per millisecond";
  EXPECT_EQ(atThreeTicks.text, atOneTick.text);
  ASSERT_EQ(atThreeTicks.durationsMs.size(), atOneTick.durationsMs.size());
  for (size_t i = 0; i < atOneTick.durationsMs.size(); ++i) {
    EXPECT_NEAR(atThreeTicks.durationsMs[i], atOneTick.durationsMs[i], 1.0) << "duration " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Tests, TicksPerMillisecondTest, testing::ValuesIn(allMeasurements), NamedByMeasurement());

}  // namespace

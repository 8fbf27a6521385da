// The minimum-force ramp starts from a wheel at rest. Straight after a spring mode the wheel
// still swings when the kick has moved it; a ramp started then sees it move at level 0 and
// would report a meaningless "-0.5% (-50)".
#include <cstdlib>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "host/driver/user_driver.h"
#include "sim/wheel_parameters.h"
#include "support/measurement_fixture.h"

namespace {

namespace driver = host::driver;

constexpr int simpleSpringMode = 1;
constexpr int minForceMode = 10;
constexpr int rampStep = 50;

using MinForceRestTest = MeasurementTest;

TEST_F(MinForceRestTest, StraightAfterASpringTheWheelsTrueBreakAwayIsReported) {
  const sim::WheelParameters wheel;
  const double breakAway = wheel.staticFriction / wheel.maxMotorTorque * 10000.0;
  AttachWheel();
  std::string result;
  UserSession session;
  session.Wait(50)
      .Then([](HWND dialog) {
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_OFFSET_X, 15000));  // offset +5000
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, simpleSpringMode));
      })
      // Straight on, while the spring still swings the wheel toward its offset.
      .Wait(300)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, minForceMode)); })
      .WaitUntil(ShowsDisabled, 60000)
      .Then([&](HWND dialog) {
        result = driver::Text(dialog, IDC_STATUS);
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  ASSERT_FALSE(session.timedOut());
  std::smatch m;
  ASSERT_TRUE(std::regex_match(result, m, std::regex(".* \\((-?\\d+)\\)"))) << result;
  int reported = std::atoi(m[1].str().c_str());
  EXPECT_LE(reported, breakAway) << result;
  EXPECT_GT(reported + rampStep, breakAway) << result;

  // The ramp's first level found the wheel still: level 0 rows all show one position.
  std::vector<std::string> lines = OnlyLog("log_mforce ");
  ASSERT_GT(lines.size(), 2u);
  const double firstPosition = CsvNumbers(lines[1])[4];
  for (size_t i = 1; i < lines.size() && CsvNumbers(lines[i])[2] == 0; ++i) {
    EXPECT_EQ(CsvNumbers(lines[i])[4], firstPosition) << "row " << i << " at level 0: " << lines[i];
  }
}

}  // namespace

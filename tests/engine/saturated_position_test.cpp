// A device may report axis values far outside its range (a faulty or scripted one here, with
// no logical range to read). The positions derived from them stay bounded, so no mode's or
// log's arithmetic overflows: the sanitizer build runs this table to prove it.
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "host/dinput/device_registry.h"
#include "host/dinput/fault_injection.h"
#include "host/driver/user_driver.h"
#include "support/measurement_fixture.h"

namespace {

namespace driver = host::driver;

class SaturatedPositionTest : public MeasurementTest, public testing::WithParamInterface<int> {};

TEST_P(SaturatedPositionTest, ExtremeAxisValuesRunEveryModeWithBoundedPositions) {
  const int mode = GetParam();
  // A range as wide as the axis values can be, so the device reports them unclamped.
  host::DeviceDescription description = host::GameControllerDescription("Scripted Wheel", 0x1209, 0x0002, 2);
  description.logicalMin = INT_MIN;
  description.logicalMax = INT_MAX;
  description.logicalRangeNotImplemented = true;
  description.uncalibratedAxes = true;
  host::DeviceId device = host::AttachDevice(description);
  ASSERT_NE(device, host::noDevice);
  ASSERT_TRUE(host::SetAxisValue(device, 0, INT_MAX));
  ASSERT_TRUE(host::SetAxisValue(device, 1, INT_MIN));
  std::string readoutAtMax;
  std::string readoutAtMin;
  UserSession session;
  session.Wait(50)
      .Then([mode](HWND dialog) { ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, mode)); })
      .Wait(1500)
      .Then([&](HWND dialog) {
        readoutAtMax = driver::Text(dialog, IDC_POSITION);
        host::SetAxisValue(device, 0, INT_MIN);
        host::SetAxisValue(device, 1, INT_MAX);
      })
      .Wait(1500)
      .Then([&](HWND dialog) {
        readoutAtMin = driver::Text(dialog, IDC_POSITION);
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  // The measurement modes freeze the readouts; the others show the bounded positions.
  if (mode < 11) {
    EXPECT_EQ(readoutAtMax, "(1000000, -1000000) (2147483647, -2147483648)");
    EXPECT_EQ(readoutAtMin, "(-1000000, 1000000) (-2147483648, 2147483647)");
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, SaturatedPositionTest, testing::Range(1, 15),
                         [](const testing::TestParamInfo<int>& info) { return "Mode" + std::to_string(info.param); });

}  // namespace

// The Offset X and Offset Y labels: the target, and how far the wheel stands from it in
// degrees of a 900-degree wheel, whatever the "Wheel angle" box says. A scripted pad whose
// axes read -10000..10000 puts the wheel exactly where the test says.
#include <string>

#include "app/control_ids.h"
#include "host/dinput/device_registry.h"
#include "host/driver/user_driver.h"
#include "support/program_fixture.h"
#include "support/user_session.h"

namespace {

namespace driver = host::driver;

class OffsetReadoutTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    DestroyWindow(dialog);
    dialog = nullptr;
  }
};

TEST_F(OffsetReadoutTest, ShowTheTargetAndTheErrorInDegreesOfANineHundredDegreeWheel) {
  host::DeviceDescription description = host::GameControllerDescription("Pad", 0x1234, 0x0001, 2);
  description.logicalMin = -10000;
  description.logicalMax = 10000;
  const host::DeviceId pad = host::AttachDevice(description);
  struct Label {
    int id;
    const char* text;
  };
  // X: 1800 units right of its +2500 target, 1800 / 20000 of 900 degrees. Y: 1000 units
  // below its -3000 target.
  const Label expected[] = {{IDC_OFFSET_X_VALUE, "2500 (81.00)"}, {IDC_OFFSET_Y_VALUE, "-3000 (-45.00)"}};
  std::string shown[2];
  UserSession session;
  session.Wait(50)
      .Then([pad](HWND dialog) {
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_OFFSET_X, 12500));
        ASSERT_TRUE(driver::DragTrackbar(dialog, IDC_OFFSET_Y, 7000));
        ASSERT_TRUE(driver::TypeText(dialog, IDC_WHEEL_ANGLE, "540"));
        ASSERT_TRUE(driver::PressEnter(dialog));
        ASSERT_TRUE(host::SetAxisValue(pad, 0, 4300));
        ASSERT_TRUE(host::SetAxisValue(pad, 1, -4000));
      })
      .Wait(300)
      .Then([&](HWND dialog) {
        ASSERT_EQ(driver::Text(dialog, IDC_WHEEL_ANGLE), "540");
        for (int i = 0; i < 2; ++i) shown[i] = driver::Text(dialog, expected[i].id);
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(shown[i], expected[i].text) << expected[i].id;
}

}  // namespace

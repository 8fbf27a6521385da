// A start-up that cannot create DirectInput tells the user and ends. While its message box
// is up, the system still delivers device broadcasts to the dialog (registered just before):
// one must not reach the device list through the missing DirectInput object.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/dinput/fault_injection.h"
#include "host/driver/user_driver.h"
#include "host/window/host_window.h"
#include "support/program_fixture.h"
#include "support/user_session.h"

namespace {

namespace driver = host::driver;

class StartUpFailureTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    DestroyWindow(dialog);
    dialog = nullptr;
  }
  void TearDown() override {
    host::SetMessageBoxHook(nullptr, nullptr);
    ProgramTest::TearDown();
  }
};

TEST_F(StartUpFailureTest, ADeviceArrivingDuringTheFailureMessageIsIgnored) {
  AttachWheel();
  ASSERT_TRUE(host::FailNextCalls(host::Method::DirectInput8Create, 1, E_OUTOFMEMORY));
  int arrivals = 0;
  host::SetMessageBoxHook(
      [](void* context) {
        if (driver::PlugDevice(host::GameControllerDescription("Late Pad", 0x1209, 0x0003, 0)) != host::noDevice) {
          ++*static_cast<int*>(context);
        }
      },
      &arrivals);
  UserSession session;
  EXPECT_EQ(session.Run(), 1);
  EXPECT_EQ(arrivals, 1);
  std::vector<driver::MessageBoxShown> boxes = driver::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Error Initializing DirectInput The sample will now exit.");
}

}  // namespace

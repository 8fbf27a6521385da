// When the report is rebuilt: requests from the dialog, consumed by the tick, one rebuild
// for any number of requests, none while no device is open, the tree cleared each time.
#include <string>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "device/device_open.h"
#include "host/dinput/fault_injection.h"
#include "host/dinput/call_log.h"
#include "host/driver/user_driver.h"
#include "support/call_log_view.h"
#include "support/program_fixture.h"
#include "support/user_session.h"

namespace {

namespace driver = host::driver;

class ReportRebuildTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    DestroyWindow(dialog);
    dialog = nullptr;
  }
  // Only the report enumerates the created effects (one call per rebuild of a
  // force-feedback device).
  static size_t Rebuilds() { return CallsOf(host::Method::EnumCreatedEffectObjects).size(); }
  static std::string Tree(HWND dialog) { return driver::TreeText(dialog, IDC_REPORT_TREE); }
};

TEST_F(ReportRebuildTest, RequestsBetweenTwoTicksGiveOneRebuildOfAClearedTree) {
  AttachWheel();
  std::string first;
  std::string second;
  size_t before = 0;
  size_t after = 0;
  UserSession session;
  session.Wait(200)
      .Then([&](HWND dialog) {
        first = Tree(dialog);
        before = Rebuilds();
        // Three requests within one message phase.
        ASSERT_TRUE(driver::ClickButton(dialog, IDC_REFRESH));
        ASSERT_TRUE(driver::ClickButton(dialog, IDC_REFRESH));
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_DAMPER_TYPE, 0));
      })
      .Wait(50)
      .Then([&](HWND dialog) {
        after = Rebuilds();
        second = Tree(dialog);
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  EXPECT_EQ(after, before + 1);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.rfind("[+] Vantrel Virtual Wheel\n", 0), 0u);
  // The same device reported again: the same lines, not a second copy.
  EXPECT_EQ(second.size(), first.size());
  EXPECT_EQ(second.find("[+] Vantrel Virtual Wheel\n", 1), std::string::npos);
}

TEST_F(ReportRebuildTest, ReopeningForKillFfbRequestsNoRebuild) {
  AttachWheel();
  size_t before = 0;
  size_t after = 0;
  std::string treeBefore;
  std::string treeAfter;
  UserSession session;
  session.Wait(200)
      .Then([&](HWND dialog) {
        before = Rebuilds();
        treeBefore = Tree(dialog);
        ASSERT_TRUE(driver::ClickButton(dialog, IDC_KILL_FFB));
      })
      .Wait(300)
      .Then([&](HWND dialog) {
        after = Rebuilds();
        treeAfter = Tree(dialog);
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  EXPECT_EQ(after, before);
  EXPECT_TRUE(treeAfter == treeBefore);
}

TEST_F(ReportRebuildTest, WithoutADeviceTheTreeKeepsItsReportUntilOneIsOpenAgain) {
  AttachWheel();
  std::string withWheel;
  std::string whileClosed;
  std::string afterReopen;
  size_t rebuildsAtClose = 0;
  size_t rebuildsWhileClosed = 0;
  size_t rebuildsAfterReopen = 0;
  bool closed = false;
  UserSession session;
  session.Wait(200)
      .Then([&](HWND dialog) {
        withWheel = Tree(dialog);
        // The reopen after the re-enumeration fails: no device is open.
        ASSERT_TRUE(host::FailNextCalls(host::Method::CreateDevice, 1, DIERR_GENERIC));
        ASSERT_TRUE(driver::ClickButton(dialog, IDC_SHOW_ALL_DEVICES));
      })
      .Wait(200)
      .Then([&](HWND dialog) {
        closed = g_pDevice == nullptr;
        rebuildsAtClose = Rebuilds();
        ASSERT_TRUE(driver::ClickButton(dialog, IDC_REFRESH));
      })
      .Wait(200)
      .Then([&](HWND dialog) {
        whileClosed = Tree(dialog);
        rebuildsWhileClosed = Rebuilds();
        ASSERT_TRUE(driver::ClickButton(dialog, IDC_SHOW_ALL_DEVICES));
      })
      .Wait(300)
      .Then([&](HWND dialog) {
        afterReopen = Tree(dialog);
        rebuildsAfterReopen = Rebuilds();
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  ASSERT_TRUE(closed);
  EXPECT_TRUE(whileClosed == withWheel);
  EXPECT_EQ(rebuildsWhileClosed, rebuildsAtClose);
  EXPECT_EQ(rebuildsAfterReopen, rebuildsWhileClosed + 1);
  EXPECT_EQ(afterReopen.rfind("[+] Vantrel Virtual Wheel\n", 0), 0u);
}

TEST_F(ReportRebuildTest, ADeviceNameIsShownAsItIsNeverAsAFormat) {
  const std::string name = "Wheel %s%d%n %x 100%";
  host::DeviceDescription description = host::GameControllerDescription(name, 0x1209, 0x0003, 2);
  host::AttachDevice(description);
  std::string tree;
  UserSession session;
  session.Wait(200).Then([&](HWND dialog) {
    tree = Tree(dialog);
    driver::ClickCloseBox(dialog);
  });
  ASSERT_EQ(session.Run(), 0);
  EXPECT_EQ(tree.rfind("[+] " + name + "\n", 0), 0u) << tree.substr(0, 200);
  EXPECT_NE(tree.find("  [+] Instance name: " + name + "\n"), std::string::npos);
  EXPECT_NE(tree.find("  [+] Product name: " + name + "\n"), std::string::npos);
}

}  // namespace

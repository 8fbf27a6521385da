// Report rebuilds asked for by events the other report tests leave out: a tick whose Acquire
// fails still rebuilds, and a device chosen in the combo or plugged in shows as the root of
// the new report.
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device_registry.h"
#include "host/dinput/fault_injection.h"
#include "host/driver/user_driver.h"
#include "support/call_log_view.h"
#include "support/case_name.h"
#include "support/program_fixture.h"
#include "support/user_session.h"

namespace {

namespace driver = host::driver;

// The top-level lines of the report tree: its roots.
std::vector<std::string> Roots(const std::string& tree) {
  std::vector<std::string> roots;
  std::istringstream lines(tree);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line[0] != ' ') roots.push_back(line);
  }
  return roots;
}

class ReportRequestTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    DestroyWindow(dialog);
    dialog = nullptr;
  }
  static std::string Tree(HWND dialog) { return driver::TreeText(dialog, IDC_REPORT_TREE); }
};

// The window comes back to the front while another program holds the wheel, and the user
// presses Refresh: the tick that finds the wheel unavailable still rebuilds the report.
TEST_F(ReportRequestTest, ATickWhoseAcquireFailsStillRebuilds) {
  AttachWheel();
  size_t from = 0;
  std::string tree;
  UserSession session;
  session.Wait(200)
      .Then([&](HWND dialog) {
        ASSERT_TRUE(host::FailNextCalls(host::Method::Acquire, 3, DIERR_OTHERAPPHASPRIO));
        from = host::CallLogSize();
        driver::SwitchToOtherApplication(dialog);
        ASSERT_TRUE(driver::SwitchBack(dialog));
        ASSERT_TRUE(driver::ClickButton(dialog, IDC_REFRESH));
      })
      .Wait(50)
      .Then([&](HWND dialog) {
        tree = Tree(dialog);
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);

  // The first tick after the click: its Acquire fails, then the report is built, before any
  // further Acquire and without a state read.
  std::vector<std::string> calls;
  for (const host::CallRecord& r : CallsSince(from)) {
    if (r.method == host::Method::Acquire) {
      calls.push_back(r.result == DIERR_OTHERAPPHASPRIO ? "Acquire failed" : "Acquire");
    } else if (r.method == host::Method::EnumCreatedEffectObjects) {
      calls.push_back("rebuild");
    } else if (r.method == host::Method::GetDeviceState) {
      calls.push_back("read");
    }
  }
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 2),
            (std::vector<std::string>{"Acquire failed", "rebuild"}))
      << testing::PrintToString(calls);
  EXPECT_EQ(Roots(tree), std::vector<std::string>{"[+] Vantrel Virtual Wheel"});
}

struct NewDeviceCase {
  const char* what;
  std::function<void()> attachFirst;
  std::function<bool(HWND)> act;
  const char* rootBefore;
};

void PrintTo(const NewDeviceCase& c, std::ostream* out) { *out << c.what; }

class NewDeviceReportTest : public ReportRequestTest, public testing::WithParamInterface<NewDeviceCase> {};

TEST_P(NewDeviceReportTest, HasTheNewDeviceAsItsRoot) {
  const NewDeviceCase& c = GetParam();
  c.attachFirst();
  std::string before;
  std::string after;
  UserSession session;
  session.Wait(200)
      .Then([&](HWND dialog) {
        before = Tree(dialog);
        ASSERT_TRUE(c.act(dialog));
      })
      .Wait(300)
      .Then([&](HWND dialog) {
        after = Tree(dialog);
        driver::ClickCloseBox(dialog);
      });
  ASSERT_EQ(session.Run(), 0);
  EXPECT_EQ(Roots(before), std::vector<std::string>{std::string("[+] ") + c.rootBefore});
  EXPECT_EQ(Roots(after), std::vector<std::string>{"[+] Vantrel Virtual Wheel"});
  EXPECT_NE(after.find("  [+] Product name: Vantrel Virtual Wheel\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Events, NewDeviceReportTest,
    testing::Values(
        NewDeviceCase{"the wheel chosen in the device combo",
                      [] {
                        host::AttachDevice(host::GameControllerDescription("Pad A", 0x1234, 0x0001, 1));
                        host::AttachDevice(host::VirtualWheelDescription());
                      },
                      [](HWND dialog) { return driver::ChooseComboItem(dialog, IDC_DEVICE, 1); }, "Pad A"},
        // Without a force-feedback controller the keyboard is all there is; the wheel that
        // arrives is the first of the new list.
        NewDeviceCase{"the wheel plugged in", [] { host::AttachDevice(host::KeyboardDescription()); },
                      [](HWND) { return driver::PlugDevice(host::VirtualWheelDescription()) != host::noDevice; },
                      "Keyboard"}),
    test_support::NamedByWhat());

}  // namespace

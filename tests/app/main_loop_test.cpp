#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "device/device_open.h"
#include "host/dinput/call_log.h"
#include "host/dinput/fault_injection.h"
#include "host/dinput/live_objects.h"
#include "host/driver/user_driver.h"
#include "host/window/host_window.h"
#include "settings/test_settings.h"
#include "support/call_log_view.h"
#include "support/case_name.h"
#include "support/program_fixture.h"
#include "support/user_session.h"

namespace {

namespace driver = host::driver;

class MainLoopTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    // The program creates its own dialog; the fixture's bare one would only be in the way.
    DestroyWindow(dialog);
    dialog = nullptr;
  }
  static int LiveDirectInputObjects() {
    host::LiveObjectCounts live = host::LiveObjects();
    return live.directInput + live.devices + live.effects;
  }
};

TEST_F(MainLoopTest, AFloodOfMessagesIsHandledFortyNineAtATimeWithATickBetween) {
  AttachWheel();
  UserSession session;
  uint64_t before = 0;
  size_t sleepsBefore = 0;
  session.Wait(50)
      .Then([&](HWND dialog) {
        before = host::RetrievedMessageCount();
        sleepsBefore = session.messagesBeforeEachSleep().size();
        for (int i = 0; i < 200; ++i) ASSERT_TRUE(PostMessageA(dialog, WM_USER + 7, i, 0));
      })
      .Wait(20)
      .Then([](HWND dialog) { driver::ClickCloseBox(dialog); });
  ASSERT_EQ(session.Run(), 0);
  const std::vector<uint64_t>& sleeps = session.messagesBeforeEachSleep();
  ASSERT_GE(sleeps.size(), sleepsBefore + 5);
  std::vector<uint64_t> handled;
  for (size_t i = sleepsBefore; i < sleepsBefore + 5; ++i) handled.push_back(sleeps[i] - before);
  EXPECT_EQ(handled, (std::vector<uint64_t>{49, 98, 147, 196, 200}));
}

TEST_F(MainLoopTest, ClosingReleasesEverythingAndRunsExactlyOneMoreTick) {
  AttachWheel();
  UserSession session;
  size_t sleepsAtClose = 0;
  size_t callsAtClose = 0;
  session.Wait(200).Then([&](HWND dialog) {
    ASSERT_NE(g_pDevice, nullptr);
    sleepsAtClose = session.messagesBeforeEachSleep().size();
    callsAtClose = host::CallLogSize();
    ASSERT_TRUE(driver::ClickCloseBox(dialog));
  });
  EXPECT_EQ(session.Run(), 0);
  EXPECT_FALSE(session.leftRunning());
  // One pass handles the close and the quit; its tick finds no device, then one sleep.
  EXPECT_EQ(session.messagesBeforeEachSleep().size(), sleepsAtClose + 1);
  EXPECT_EQ(LiveDirectInputObjects(), 0);
  // Nothing reached DirectInput after the releases of the shutdown.
  std::vector<std::string> after = MethodNamesSince(callsAtClose);
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(after.front(), "Unacquire");
  const host::SystemCalls& system = host::RecordedSystemCalls();
  EXPECT_EQ(system.priorityClass, static_cast<uint32_t>(HIGH_PRIORITY_CLASS));
  EXPECT_EQ(system.affinityMask, 1u);
  EXPECT_EQ(system.timeBeginPeriodCalls, 1u);
  EXPECT_EQ(system.timerPeriodDepth, 0);
}

TEST_F(MainLoopTest, EscapeEndsTheProgramAsTheCloseBoxDoes) {
  AttachWheel();
  testSettings.forceMode = ForceMode::Disabled;
  UserSession session;
  session.Wait(100)
      .Then([](HWND dialog) {
        // The wheel is being driven when the user presses Escape.
        ASSERT_TRUE(driver::ChooseComboItem(dialog, IDC_MODE, 1));
      })
      .Wait(100)
      .Then([](HWND dialog) { ASSERT_TRUE(driver::PressEscape(dialog)); });
  EXPECT_EQ(session.Run(), 0);
  EXPECT_FALSE(session.leftRunning());
  EXPECT_FALSE(driver::WindowExists(session.dialog()));
  EXPECT_FALSE(driver::EndDialogCalled(session.dialog()));
  EXPECT_EQ(LiveDirectInputObjects(), 0);
}

TEST_F(MainLoopTest, WithoutSleepTheLoopNeverSleepsAndStillTicks) {
  AttachWheel();
  UserSession session;
  uint32_t sleepCalls = 0;
  size_t pollsFrom = 0;
  session.Wait(200)
      .Then([](HWND dialog) {
        ASSERT_TRUE(driver::TypeText(dialog, IDC_SLEEP, "0"));
        ASSERT_TRUE(driver::PressEnter(dialog));
      })
      .Then([&](HWND) {
        ASSERT_EQ(testSettings.loopSleepMs, 0);
        sleepCalls = host::RecordedSystemCalls().sleepCalls;
        pollsFrom = host::CallLogSize();
      });
  for (int i = 0; i < 100; ++i) session.Then([](HWND) {});
  session.Then([&](HWND dialog) {
    EXPECT_EQ(host::RecordedSystemCalls().sleepCalls, sleepCalls);
    EXPECT_GE(CallsOf(host::Method::Poll, pollsFrom).size(), 100u);
    driver::ClickCloseBox(dialog);
  });
  EXPECT_EQ(session.Run(), 0);
}

TEST_F(MainLoopTest, ADialogThatCannotBeCreatedEndsWithOneAndNoTick) {
  AttachWheel();
  host::FailNextCreateDialog();
  UserSession session;
  EXPECT_EQ(session.Run(), 1);
  EXPECT_TRUE(session.messagesBeforeEachSleep().empty());
  EXPECT_EQ(host::CallLogSize(), 0u);
}

TEST_F(MainLoopTest, AGetMessageErrorEndsTheLoopWithMinusOneAndShutsDown) {
  AttachWheel();
  UserSession session;
  session.Wait(50).Then([](HWND dialog) {
    host::FailNextGetMessage();
    PostMessageA(dialog, WM_USER, 0, 0);
  });
  EXPECT_EQ(session.Run(), -1);
  EXPECT_FALSE(driver::WindowExists(session.dialog()));
  EXPECT_EQ(LiveDirectInputObjects(), 0);
}

struct FatalCase {
  const char* what;
  bool attachWheel;
  bool failCreate;
  const char* text;
};

void PrintTo(const FatalCase& c, std::ostream* out) { *out << c.what; }

class FatalStartUpTest : public MainLoopTest, public testing::WithParamInterface<FatalCase> {};

TEST_P(FatalStartUpTest, IsToldAndEndsWithOne) {
  const FatalCase& c = GetParam();
  if (c.attachWheel) AttachWheel();
  if (c.failCreate) {
    ASSERT_TRUE(host::FailNextCalls(host::Method::DirectInput8Create, 1, E_OUTOFMEMORY));
  }
  UserSession session;
  EXPECT_EQ(session.Run(), 1);
  std::vector<driver::MessageBoxShown> boxes = driver::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].text, c.text);
  EXPECT_EQ(boxes[0].caption, "Vantrel");
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONERROR | MB_OK));
  EXPECT_TRUE(session.messagesBeforeEachSleep().empty());
  EXPECT_EQ(LiveDirectInputObjects(), 0);
  EXPECT_EQ(host::RecordedSystemCalls().timerPeriodDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, FatalStartUpTest,
    testing::Values(FatalCase{"no DirectInput", true, true, "Error Initializing DirectInput The sample will now exit."},
                    FatalCase{"no device at all", false, false,
                              "Force feedback device not found. The sample will now exit."}),
    test_support::NamedByWhat());

}  // namespace

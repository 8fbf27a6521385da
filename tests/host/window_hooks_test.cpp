// The hooks scenario tests act through: Sleep's, called once the clock has moved, and the
// window system's reset, which forgets the idle hook and injected failures.
#include <vector>

#include <gtest/gtest.h>

#include "host/window_message_recorder.h"
#include "platform/platform.h"

namespace window_test {
namespace {

struct SleepRecord {
  std::vector<DWORD> asked;
  std::vector<DWORD> clockSeen;
};

void OnSleep(DWORD milliseconds, void* context) {
  SleepRecord* record = static_cast<SleepRecord*>(context);
  record->asked.push_back(milliseconds);
  record->clockSeen.push_back(timeGetTime());
}

class HooksTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    host::ResetSystemCalls();
    host::UseVirtualClock(1000);
  }
  void TearDown() override {
    host::ResetSystemCalls();
    host::UseRealClock();
    WindowTest::TearDown();
  }
};

TEST_F(HooksTest, TheSleepHookRunsAfterTheClockHasMoved) {
  SleepRecord record;
  host::SetSleepHook(OnSleep, &record);
  Sleep(5);
  Sleep(0);
  EXPECT_EQ(record.asked, (std::vector<DWORD>{5, 0}));
  EXPECT_EQ(record.clockSeen, (std::vector<DWORD>{1005, 1005}));
  host::SetSleepHook(nullptr, nullptr);
  Sleep(1);
  EXPECT_EQ(record.asked.size(), 2u);
  host::SetSleepHook(OnSleep, &record);
  host::ResetSystemCalls();
  Sleep(1);
  EXPECT_EQ(record.asked.size(), 2u);
}

int idleCalls = 0;
void CountIdle(void*) { ++idleCalls; }

TEST_F(HooksTest, ResettingTheWindowSystemForgetsHooksAndFailures) {
  idleCalls = 0;
  host::SetIdleHook(CountIdle, nullptr);
  host::FailNextGetMessage();
  host::FailNextCreateDialog();
  host::FailRegisterDeviceNotification(true);
  PostQuitMessage(1);
  host::ResetWindowSystem();
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));  // no quit left either
  EXPECT_EQ(idleCalls, 0);
  HWND dialog = host::CreateHostDialog(nullptr);
  ASSERT_TRUE(PostMessageA(dialog, WM_APP, 0, 0));
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), 1);
  DEV_BROADCAST_DEVICEINTERFACE_A filter{};
  filter.dbcc_size = sizeof(filter);
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  EXPECT_NE(RegisterDeviceNotificationA(dialog, &filter, 0), nullptr);
  EXPECT_EQ(host::RetrievedMessageCount(), 1u);
  EXPECT_NE(CreateDialogParamA(nullptr, MAKEINTRESOURCEA(102), nullptr, nullptr, 0), nullptr);
}

}  // namespace
}  // namespace window_test

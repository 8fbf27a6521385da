// The message queue: retrieval order (sent from other threads, posted, WM_QUIT, input),
// PM_NOREMOVE, filters, the fixed capacity, messages of destroyed windows, the idle hook,
// the record of retrieved messages, injected GetMessageA failures and TranslateMessage.
#include <vector>

#include <gtest/gtest.h>

#include "host/window_message_recorder.h"
#include "platform/platform.h"

namespace window_test {
namespace {

class MessageQueueTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    dialog = host::CreateHostDialog(MessageRecorder::Procedure);
    edit = host::AddHostControl(dialog, 10, host::ControlClass::Edit);
  }

  // The messages GetMessageA hands out until the queue runs dry.
  std::vector<UINT> Drain() {
    std::vector<UINT> messages;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
      BOOL result = GetMessageA(&m, nullptr, 0, 0);
      messages.push_back(m.message);
      EXPECT_EQ(result, m.message == WM_QUIT ? 0 : 1);
    }
    return messages;
  }

  MessageRecorder recorder;
  HWND dialog = nullptr;
  HWND edit = nullptr;
};

TEST_F(MessageQueueTest, PostedMessagesComeFirstThenQuitThenInput) {
  ASSERT_TRUE(host::PostInputMessage(edit, WM_KEYDOWN, 'A', 1));
  ASSERT_TRUE(PostMessageA(dialog, WM_APP + 1, 0, 0));
  PostQuitMessage(3);
  ASSERT_TRUE(PostMessageA(dialog, WM_APP + 2, 0, 0));
  ASSERT_TRUE(host::PostInputMessage(edit, WM_KEYUP, 'A', 1));
  EXPECT_EQ(Drain(), (std::vector<UINT>{WM_APP + 1, WM_APP + 2, WM_QUIT, WM_KEYDOWN, WM_KEYUP}));
}

TEST_F(MessageQueueTest, QuitCarriesTheExitCodeAndIsRetrievedOnce) {
  PostQuitMessage(7);
  MSG m{};
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), 0);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 7u);
  EXPECT_EQ(m.hwnd, nullptr);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, PeekWithoutRemovingLeavesTheMessageForGetMessage) {
  ASSERT_TRUE(PostMessageA(dialog, WM_APP, 11, 22));
  MSG peeked{};
  MSG got{};
  ASSERT_TRUE(PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(host::RetrievedMessageCount(), 0u);
  ASSERT_EQ(GetMessageA(&got, nullptr, 0, 0), 1);
  EXPECT_EQ(got.hwnd, dialog);
  EXPECT_EQ(got.message, static_cast<UINT>(WM_APP));
  EXPECT_EQ(got.wParam, 11u);
  EXPECT_EQ(got.lParam, 22);
  EXPECT_EQ(got.time, peeked.time);
  EXPECT_FALSE(PeekMessageA(&got, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(MessageQueueTest, FiltersByWindowAndRange) {
  HWND other = host::CreateHostDialog(nullptr);
  ASSERT_TRUE(PostMessageA(other, WM_APP, 1, 0));
  ASSERT_TRUE(PostMessageA(edit, WM_APP + 5, 2, 0));     // a child of `dialog`
  ASSERT_TRUE(PostMessageA(nullptr, WM_APP + 9, 3, 0));  // a thread message
  MSG m{};
  ASSERT_TRUE(PeekMessageA(&m, dialog, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.wParam, 2u);
  ASSERT_TRUE(PeekMessageA(&m, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_APP + 1, WM_APP + 8, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_APP, WM_APP, PM_REMOVE));
  EXPECT_EQ(m.wParam, 1u);
}

TEST_F(MessageQueueTest, AFilterNamingNoWindowFails) {
  HWND gone = host::CreateHostDialog(nullptr);
  DestroyWindow(gone);
  MSG m{};
  SetLastError(0);
  EXPECT_EQ(GetMessageA(&m, gone, 0, 0), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(PeekMessageA(&m, gone, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, PostingFailsWhenTheQueueIsFullOrTheWindowIsGone) {
  for (size_t i = 0; i < host::messageQueueCapacity; ++i) {
    ASSERT_TRUE(PostMessageA(dialog, WM_APP, i, 0)) << i;
  }
  SetLastError(0);
  EXPECT_FALSE(PostMessageA(dialog, WM_APP, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_QUOTA));
  // Input has a queue of its own.
  EXPECT_TRUE(host::PostInputMessage(edit, WM_KEYDOWN, VK_TAB, 0));
  MSG m{};
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.wParam, 0u);
  EXPECT_TRUE(PostMessageA(dialog, WM_APP, 0, 0));
  SetLastError(0);
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x12345), WM_APP, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(MessageQueueTest, MessagesOfADestroyedWindowAreDroppedAndNotDispatched) {
  ASSERT_TRUE(PostMessageA(edit, WM_APP, 1, 0));
  ASSERT_TRUE(PostMessageA(dialog, WM_APP, 2, 0));
  ASSERT_TRUE(host::PostInputMessage(edit, WM_CHAR, 'x', 0));
  MSG early{};
  ASSERT_TRUE(PeekMessageA(&early, nullptr, 0, 0, PM_NOREMOVE));
  ASSERT_TRUE(DestroyWindow(dialog));
  MSG m{};
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  recorder.Clear();
  EXPECT_EQ(DispatchMessageA(&early), 0);
  EXPECT_TRUE(recorder.received().empty());
}

TEST_F(MessageQueueTest, DispatchHandsTheMessageToTheWindowProcedure) {
  recorder.answer = [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_APP ? TRUE : FALSE; };
  ASSERT_TRUE(PostMessageA(dialog, WM_APP, 5, 6));
  ASSERT_TRUE(PostMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed")));
  ASSERT_TRUE(PostMessageA(nullptr, WM_APP, 0, 0));
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  char text[16];
  GetWindowTextA(edit, text, sizeof(text));
  EXPECT_STREQ(text, "typed");
  // The dialog heard its own message and the edit box's change; the thread message went nowhere.
  EXPECT_EQ(recorder.Lines(),
            (std::vector<std::string>{"0x8000", "WM_COMMAND(10, EN_UPDATE)", "WM_COMMAND(10, EN_CHANGE)"}));
  EXPECT_EQ(recorder.received()[0].wParam, 5u);
}

TEST_F(MessageQueueTest, InjectedGetMessageFailureReturnsMinusOneOnceLeavingTheQueue) {
  ASSERT_TRUE(PostMessageA(dialog, WM_APP, 0, 0));
  host::FailNextGetMessage();
  MSG m{};
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), -1);
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), 1);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_APP));
}

TEST_F(MessageQueueTest, GetMessageWithNothingToWaitForReportsAStallInsteadOfHanging) {
  MSG m{};
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), -1);
  EXPECT_EQ(host::StalledGetMessageCount(), 1u);
}

struct IdleRecord {
  int calls = 0;
  HWND target = nullptr;
  int postOnCall = 0;  // post WM_APP on this call (0: never)
  bool peekInside = false;
  bool innerPeekFound = true;
};

void OnIdle(void* context) {
  IdleRecord* r = static_cast<IdleRecord*>(context);
  ++r->calls;
  if (r->peekInside) {
    MSG m;
    r->innerPeekFound = PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
  }
  if (r->calls == r->postOnCall) PostMessageA(r->target, WM_APP, 0, 0);
}

TEST_F(MessageQueueTest, TheIdleHookRunsWhenNothingIsThereAndWhatItPostsIsFoundAtOnce) {
  IdleRecord record{0, dialog, 1, true, true};
  host::SetIdleHook(OnIdle, &record);
  MSG m{};
  ASSERT_TRUE(PostMessageA(dialog, WM_APP + 1, 0, 0));
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(record.calls, 0);  // something was there
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_APP));
  EXPECT_EQ(record.calls, 1);
  // Not called again from inside itself: the inner peek found nothing and did not recurse.
  EXPECT_FALSE(record.innerPeekFound);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(record.calls, 2);
  host::SetIdleHook(nullptr, nullptr);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(record.calls, 2);
}

TEST_F(MessageQueueTest, GetMessageWaitsThroughIdleRoundsUntilInputArrives) {
  IdleRecord record{0, dialog, 3, false, true};
  host::SetIdleHook(OnIdle, &record);
  MSG m{};
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), 1);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_APP));
  EXPECT_EQ(record.calls, 3);
  EXPECT_EQ(host::StalledGetMessageCount(), 0u);
}

TEST_F(MessageQueueTest, RecordsRetrievedMessagesWithWhoRemovedThem) {
  ASSERT_TRUE(PostMessageA(dialog, WM_APP, 1, 0));
  ASSERT_TRUE(PostMessageA(edit, WM_APP + 1, 2, 0));
  MSG m;
  ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), 1);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  ASSERT_EQ(host::RetrievedMessageCount(), 2u);
  ASSERT_EQ(host::RetrievedMessageLogSize(), 2u);
  EXPECT_EQ(host::RetrievedMessageAt(0).hwnd, dialog);
  EXPECT_EQ(host::RetrievedMessageAt(0).message, static_cast<UINT>(WM_APP));
  EXPECT_TRUE(host::RetrievedMessageAt(0).byGetMessage);
  EXPECT_EQ(host::RetrievedMessageAt(1).hwnd, edit);
  EXPECT_EQ(host::RetrievedMessageAt(1).wParam, 2u);
  EXPECT_FALSE(host::RetrievedMessageAt(1).byGetMessage);
  // The log keeps the most recent ones.
  for (size_t i = 0; i < host::retrievedMessageLogRoom + 5; ++i) {
    PostMessageA(dialog, WM_APP, 100 + i, 0);
    GetMessageA(&m, nullptr, 0, 0);
  }
  EXPECT_EQ(host::RetrievedMessageLogSize(), host::retrievedMessageLogRoom);
  EXPECT_EQ(host::RetrievedMessageAt(host::retrievedMessageLogRoom - 1).wParam,
            100 + host::retrievedMessageLogRoom + 4);
  EXPECT_EQ(host::RetrievedMessageAt(0).wParam, 105u);
}

TEST_F(MessageQueueTest, MessagesFromOtherThreadsReachTheProcedureAtTheNextPeekWithoutBeingReturned) {
  ASSERT_TRUE(host::SendFromOtherThread(dialog, WM_APP + 3, 9, 0));
  EXPECT_TRUE(recorder.received().empty());
  ASSERT_TRUE(PostMessageA(dialog, WM_APP, 0, 0));
  MSG m{};
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_APP));
  ASSERT_EQ(recorder.received().size(), 1u);
  EXPECT_EQ(recorder.received()[0].message, static_cast<UINT>(WM_APP + 3));
  EXPECT_EQ(recorder.received()[0].wParam, 9u);
  EXPECT_EQ(host::RetrievedMessageCount(), 0u);
}

struct KeyCase {
  WPARAM key;
  LPARAM data;
  int character;  // 0: none
};

TEST_F(MessageQueueTest, TranslateMessagePostsTheCharacterOfAKeyPress) {
  const KeyCase cases[] = {
      {'A', 1, 'a'},          {'7', 1, '7'},      {VK_NUMPAD0 + 4, 1, '4'}, {VK_OEM_PERIOD, 1, '.'},
      {VK_OEM_MINUS, 1, '-'}, {VK_BACK, 1, '\b'}, {VK_RETURN, 1, '\r'},     {VK_PACKET, 1 | (':' << 16), ':'},
      {VK_LEFT, 1, 0},        {VK_SHIFT, 1, 0},
  };
  for (const KeyCase& c : cases) {
    MSG key{edit, WM_KEYDOWN, c.key, c.data, 0, {0, 0}, 0};
    EXPECT_TRUE(TranslateMessage(&key));
    MSG m{};
    BOOL found = PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
    if (c.character == 0) {
      EXPECT_FALSE(found) << c.key;
      continue;
    }
    ASSERT_TRUE(found) << c.key;
    EXPECT_EQ(m.hwnd, edit);
    EXPECT_EQ(m.message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(m.wParam, static_cast<WPARAM>(c.character)) << c.key;
  }
  MSG up{edit, WM_KEYUP, 'A', 1, 0, {0, 0}, 0};
  EXPECT_TRUE(TranslateMessage(&up));
  MSG other{edit, WM_APP, 0, 0, 0, {0, 0}, 0};
  EXPECT_FALSE(TranslateMessage(&other));
  MSG m{};
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace
}  // namespace window_test

// The dialog manager on a small template: creation and the messages it sends, the keyboard
// interface of IsDialogMessageA, the default handling of closing, focus moves, activation,
// EndDialog and DestroyWindow.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/window_message_recorder.h"
#include "platform/platform.h"

namespace window_test {
namespace {

constexpr int dialogId = 910;
const char dialogScript[] =
    "910 DIALOGEX 0, 0, 200, 120\n"
    "STYLE DS_SHELLFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU\n"
    "CAPTION \"Test\"\n"
    "FONT 8, \"MS Shell Dlg\"\n"
    "BEGIN\n"
    "    LTEXT \"Label\", -1, 5, 5, 40, 8\n"
    "    EDITTEXT 10, 50, 5, 40, 12\n"
    "    EDITTEXT 11, 50, 20, 40, 12, NOT WS_VISIBLE\n"
    "    EDITTEXT 12, 50, 35, 40, 12, WS_DISABLED\n"
    "    COMBOBOX 20, 100, 5, 60, 80, CBS_DROPDOWN | WS_TABSTOP\n"
    "    AUTOCHECKBOX \"Check\", 30, 5, 50, 50, 10\n"
    "    PUSHBUTTON \"Push\", 40, 5, 65, 40, 14\n"
    "    DEFPUSHBUTTON \"Default\", 41, 50, 65, 40, 14, NOT WS_VISIBLE\n"
    "    PUSHBUTTON \"Exit\", IDCANCEL, 100, 65, 40, 14, NOT WS_VISIBLE\n"
    "    CONTROL \"\", 50, \"msctls_trackbar32\", WS_TABSTOP, 5, 85, 100, 15\n"
    "    CONTROL \"\", 60, \"SysTreeView32\", WS_BORDER, 110, 85, 80, 30\n"
    "END\n"
    "911 DIALOGEX 0, 0, 50, 20\n"
    "STYLE WS_POPUP | WS_VISIBLE\n"
    "BEGIN\n"
    "    LTEXT \"only text\", -1, 0, 0, 40, 8\n"
    "END\n";

class DialogManagerTest : public WindowTest {
 protected:
  void SetUp() override { WindowTest::SetUp(); }

  HWND Create(int id = dialogId, LPARAM parameter = 0) {
    return CreateDialogParamA(nullptr, MAKEINTRESOURCEA(id), nullptr, MessageRecorder::Procedure, parameter);
  }

  HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

  // A key press for `target`, handed to the dialog manager as the loop does.
  void Key(HWND dialog, HWND target, WPARAM key) {
    MSG m{target, WM_KEYDOWN, key, 1, 0, {0, 0}, 0};
    ASSERT_TRUE(IsDialogMessageA(dialog, &m));
  }

  // Hands queued messages to the dialog as its loop would.
  void Pump(HWND dialog) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageA(dialog, &m)) DispatchMessageA(&m);
    }
  }

  ScopedScript script{"dialogs.rc", dialogScript};
  MessageRecorder recorder;
};

TEST_F(DialogManagerTest, CreationSendsFontInitialisationActivationFocusAndShow) {
  HWND dialog = Create(dialogId, 1234);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(recorder.Lines(),
            (std::vector<std::string>{"WM_SETFONT", "WM_NOTIFYFORMAT",  // the tree view asks
                                      "WM_INITDIALOG",
                                      // SetFocus on the first tab stop activates the dialog first.
                                      "WM_ACTIVATEAPP(TRUE)", "WM_NCACTIVATE(TRUE)", "WM_ACTIVATE(WA_ACTIVE)",
                                      "WM_COMMAND(10, EN_SETFOCUS)", "WM_SHOWWINDOW(TRUE)"}));
  const Received& init = recorder.received()[2];
  EXPECT_EQ(init.lParam, 1234);
  EXPECT_EQ(reinterpret_cast<HWND>(init.wParam), Item(dialog, 10));
  // WM_INITDIALOG saw every control already there.
  EXPECT_EQ(GetFocus(), Item(dialog, 10));
  EXPECT_EQ(GetActiveWindow(), dialog);
  EXPECT_TRUE(IsWindowVisible(dialog));
  DWORD start = 1, end = 0;
  SendMessageA(Item(dialog, 10), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  char caption[16];
  GetWindowTextA(dialog, caption, sizeof(caption));
  EXPECT_STREQ(caption, "Test");
}

TEST_F(DialogManagerTest, ControlsAreMadeFromTheTemplate) {
  HWND dialog = Create();
  ASSERT_NE(dialog, nullptr);
  struct Expected {
    int id;
    const char* className;
    bool visible;
  };
  const Expected controls[] = {{10, "Edit", true},         {11, "Edit", false},   {20, "ComboBox", true},
                               {30, "Button", true},       {41, "Button", false}, {50, "msctls_trackbar32", true},
                               {60, "SysTreeView32", true}};
  for (const Expected& c : controls) {
    HWND control = Item(dialog, c.id);
    ASSERT_NE(control, nullptr) << c.id;
    char name[32];
    GetClassNameA(control, name, sizeof(name));
    EXPECT_STREQ(name, c.className) << c.id;
    EXPECT_EQ(IsWindowVisible(control) != FALSE, c.visible) << c.id;
    EXPECT_EQ(GetDlgCtrlID(control), c.id);
    EXPECT_EQ(GetParent(control), dialog);
  }
  EXPECT_FALSE(IsWindowEnabled(Item(dialog, 12)));
  RECT r = host::DialogUnitRect(Item(dialog, 50));
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 85);
  EXPECT_EQ(r.right, 105);
  EXPECT_EQ(r.bottom, 100);
  char text[16];
  GetWindowTextA(Item(dialog, 30), text, sizeof(text));
  EXPECT_STREQ(text, "Check");
  // The template's default push button is the dialog's default.
  EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(41, DC_HASDEFID));
}

TEST_F(DialogManagerTest, AnInitialisationThatReturnsFalseStillGetsTheFirstTabStopOnActivation) {
  recorder.answer = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; };
  HWND dialog = Create();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(recorder.Lines({WM_SETFONT, WM_NOTIFYFORMAT}),
            (std::vector<std::string>{"WM_INITDIALOG", "WM_SHOWWINDOW(TRUE)", "WM_ACTIVATEAPP(TRUE)",
                                      "WM_NCACTIVATE(TRUE)", "WM_ACTIVATE(WA_ACTIVE)",
                                      // The focus goes to the dialog, which hands it on.
                                      "WM_SETFOCUS", "WM_KILLFOCUS", "WM_COMMAND(10, EN_SETFOCUS)"}));
  EXPECT_EQ(GetFocus(), Item(dialog, 10));
}

TEST_F(DialogManagerTest, ADialogDestroyedDuringInitialisationIsNotReturned) {
  recorder.answer = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG) DestroyWindow(dialog);
    return FALSE;
  };
  EXPECT_EQ(Create(), nullptr);
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(DialogManagerTest, AnInjectedFailureCreatesNothingAndSendsNothing) {
  host::FailNextCreateDialog();
  EXPECT_EQ(Create(), nullptr);
  EXPECT_TRUE(recorder.received().empty());
  EXPECT_NE(Create(), nullptr);
}

TEST_F(DialogManagerTest, EnterSendsTheDefaultButtonOrTheFocusedPushButton) {
  HWND dialog = Create();
  recorder.Clear();
  // From the edit box: the dialog's default, hidden as it is.
  Key(dialog, Item(dialog, 10), VK_RETURN);
  EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"DM_GETDEFID", "WM_COMMAND(41, BN_CLICKED)"}));
  EXPECT_EQ(reinterpret_cast<HWND>(recorder.received().back().lParam), Item(dialog, 41));
  SetFocus(Item(dialog, 40));
  recorder.Clear();
  Key(dialog, Item(dialog, 40), VK_RETURN);
  EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"WM_COMMAND(40, BN_CLICKED)"}));
  EXPECT_EQ(reinterpret_cast<HWND>(recorder.received().back().lParam), Item(dialog, 40));
}

TEST_F(DialogManagerTest, EnterWithoutADefaultButtonSendsIdok) {
  HWND dialog = Create(911);
  ASSERT_NE(dialog, nullptr);
  recorder.Clear();
  // The key is the dialog's own: it is asked what it wants first.
  Key(dialog, dialog, VK_RETURN);
  EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"WM_GETDLGCODE", "DM_GETDEFID", "WM_COMMAND(1, 0)"}));
  EXPECT_EQ(recorder.received().back().lParam, 0);
}

TEST_F(DialogManagerTest, EscapeSendsIdcancelWithTheCancelButton) {
  HWND dialog = Create();
  recorder.Clear();
  Key(dialog, Item(dialog, 10), VK_ESCAPE);
  ASSERT_EQ(recorder.received().size(), 1u);
  EXPECT_EQ(recorder.received()[0].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(recorder.received()[0].wParam, MAKEWPARAM(IDCANCEL, BN_CLICKED));
  EXPECT_EQ(reinterpret_cast<HWND>(recorder.received()[0].lParam), Item(dialog, IDCANCEL));
}

TEST_F(DialogManagerTest, TabWalksTheVisibleEnabledTabStopsAndWraps) {
  HWND dialog = Create();
  std::vector<int> visited;
  for (int i = 0; i < 7; ++i) {
    Key(dialog, GetFocus(), VK_TAB);
    visited.push_back(GetDlgCtrlID(GetFocus()));
  }
  // 11 is hidden, 12 disabled, 41 and IDCANCEL hidden, the tree no tab stop.
  EXPECT_EQ(visited, (std::vector<int>{20, 30, 40, 50, 10, 20, 30}));
  // Tabbing into an edit box selects its text; the dialog heard each WM_NEXTDLGCTL.
  SetWindowTextA(Item(dialog, 10), "abc");
  SetFocus(Item(dialog, 50));
  Key(dialog, Item(dialog, 50), VK_TAB);
  DWORD start = 9, end = 9;
  SendMessageA(Item(dialog, 10), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 3u);
  int nextControls = 0;
  for (const Received& r : recorder.received()) nextControls += r.message == WM_NEXTDLGCTL ? 1 : 0;
  EXPECT_EQ(nextControls, 8);
}

TEST_F(DialogManagerTest, CharactersForTheFocusedEditAreTypedIntoIt) {
  HWND dialog = Create();
  HWND edit = Item(dialog, 10);
  for (char c : std::string("4.5")) {
    MSG m{edit, WM_CHAR, static_cast<WPARAM>(c), 1, 0, {0, 0}, 0};
    EXPECT_TRUE(IsDialogMessageA(dialog, &m));
  }
  char text[8];
  GetWindowTextA(edit, text, sizeof(text));
  EXPECT_STREQ(text, "4.5");
  // Not the dialog's: left to the caller.
  HWND other = host::CreateHostDialog(nullptr);
  MSG foreign{other, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}, 0};
  EXPECT_FALSE(IsDialogMessageA(dialog, &foreign));
  MSG thread{nullptr, WM_APP, 0, 0, 0, {0, 0}, 0};
  EXPECT_FALSE(IsDialogMessageA(dialog, &thread));
}

TEST_F(DialogManagerTest, TheCloseBoxBecomesIdcancelThroughTheDefaultHandling) {
  HWND dialog = Create();
  recorder.Clear();
  ASSERT_TRUE(host::PostInputMessage(dialog, WM_NCLBUTTONDOWN, HTCLOSE, 0));
  Pump(dialog);
  EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"WM_NCLBUTTONDOWN", "WM_SYSCOMMAND(SC_CLOSE)", "WM_CLOSE",
                                                        "WM_COMMAND(2, BN_CLICKED)"}));
  EXPECT_EQ(reinterpret_cast<HWND>(recorder.received().back().lParam), Item(dialog, IDCANCEL));
  // The command was posted: it came through the queue.
  bool queued = false;
  for (size_t i = 0; i < host::RetrievedMessageLogSize(); ++i)
    queued = queued || host::RetrievedMessageAt(i).message == WM_COMMAND;
  EXPECT_TRUE(queued);
  EXPECT_TRUE(IsWindow(dialog));
}

TEST_F(DialogManagerTest, FocusMovesTellTheOldControlFirst) {
  HWND dialog = Create();
  recorder.Clear();
  EXPECT_EQ(SetFocus(Item(dialog, 20)), Item(dialog, 10));
  SetFocus(Item(dialog, 20));  // already there: nothing
  SetFocus(Item(dialog, 30));
  EXPECT_EQ(SetFocus(Item(dialog, 12)), nullptr);  // disabled
  EXPECT_EQ(GetFocus(), Item(dialog, 30));
  EXPECT_EQ(recorder.Lines(),
            (std::vector<std::string>{"WM_COMMAND(10, EN_KILLFOCUS)", "WM_COMMAND(20, CBN_SETFOCUS)",
                                      "WM_COMMAND(20, CBN_SELENDCANCEL)", "WM_COMMAND(20, CBN_KILLFOCUS)"}));
}

TEST_F(DialogManagerTest, DeactivationSavesTheFocusAndReactivationRestoresIt) {
  HWND dialog = Create();
  recorder.Clear();
  host::ActivateOtherApplication(false);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetForegroundWindow(), host::OtherApplicationWindow());
  host::ActivateFromOtherApplication(dialog);
  EXPECT_EQ(GetFocus(), Item(dialog, 10));
  EXPECT_EQ(recorder.Lines(),
            (std::vector<std::string>{"WM_NCACTIVATE(FALSE)", "WM_ACTIVATE(WA_INACTIVE)", "WM_ACTIVATEAPP(FALSE)",
                                      "WM_COMMAND(10, EN_KILLFOCUS)", "WM_ACTIVATEAPP(TRUE)", "WM_NCACTIVATE(TRUE)",
                                      "WM_ACTIVATE(WA_ACTIVE)", "WM_COMMAND(10, EN_SETFOCUS)"}));
  EXPECT_EQ(reinterpret_cast<HWND>(recorder.received()[1].lParam), host::OtherApplicationWindow());
}

TEST_F(DialogManagerTest, AMinimisedDeactivationSaysSoAndADialogHandlingActivationGetsItsFirstTabStop) {
  HWND dialog = Create();
  SetFocus(Item(dialog, 30));
  // Handling WM_ACTIVATE itself skips the default's save and restore.
  recorder.answer = [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_ACTIVATE ? TRUE : FALSE; };
  recorder.Clear();
  host::ActivateOtherApplication(true);
  EXPECT_TRUE(IsIconic(dialog));
  host::ActivateFromOtherApplication(dialog);
  EXPECT_FALSE(IsIconic(dialog));
  EXPECT_EQ(recorder.Lines({WM_NCACTIVATE, WM_ACTIVATEAPP}),
            (std::vector<std::string>{"WM_ACTIVATE(WA_INACTIVE, minimised)", "WM_ACTIVATE(WA_ACTIVE)", "WM_SETFOCUS",
                                      "WM_KILLFOCUS", "WM_COMMAND(10, EN_SETFOCUS)"}));
  EXPECT_EQ(GetFocus(), Item(dialog, 10));
}

TEST_F(DialogManagerTest, EndDialogHidesTheModelessDialogAndKeepsItAlive) {
  HWND dialog = Create();
  recorder.Clear();
  EXPECT_TRUE(EndDialog(dialog, 5));
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_TRUE(host::EndDialogCalled(dialog));
  ASSERT_EQ(host::EndDialogCount(), 1u);
  EXPECT_EQ(host::EndDialogAt(0).result, 5);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  Pump(dialog);
  EXPECT_EQ(recorder.Lines(),
            (std::vector<std::string>{"WM_COMMAND(10, EN_KILLFOCUS)", "WM_SETFOCUS", "WM_NCACTIVATE(FALSE)",
                                      "WM_ACTIVATE(WA_INACTIVE)", "WM_ACTIVATEAPP(FALSE)", "WM_KILLFOCUS", "WM_NULL"}));
  EXPECT_FALSE(EndDialog(Item(dialog, 10), 0));  // not a dialog
}

TEST_F(DialogManagerTest, DestroyingTheDialogDeactivatesItTakesTheFocusAndDestroysTheControls) {
  HWND dialog = Create();
  HWND edit = Item(dialog, 10);
  ASSERT_TRUE(PostMessageA(edit, WM_APP, 0, 0));
  ASSERT_TRUE(PostMessageA(dialog, WM_APP, 0, 0));
  std::vector<bool> controlsAliveAtDestroy;
  recorder.answer = [&](HWND d, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_DESTROY) controlsAliveAtDestroy.push_back(IsWindow(GetDlgItem(d, 10)) != FALSE);
    return FALSE;
  };
  recorder.Clear();
  EXPECT_TRUE(DestroyWindow(dialog));
  EXPECT_EQ(recorder.Lines({WM_NOTIFY}),
            (std::vector<std::string>{"WM_NCACTIVATE(FALSE)", "WM_ACTIVATE(WA_INACTIVE)", "WM_ACTIVATEAPP(FALSE)",
                                      "WM_COMMAND(10, EN_KILLFOCUS)", "WM_DESTROY", "WM_NCDESTROY"}));
  EXPECT_EQ(controlsAliveAtDestroy, (std::vector<bool>{true}));
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(GetFocus(), nullptr);
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(DestroyWindow(dialog));
  // A new window does not answer to the old handle.
  HWND next = Create();
  EXPECT_NE(next, dialog);
  EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(DialogManagerTest, HidingTheFocusedControlHandsTheFocusToTheDialogsFirstTabStop) {
  HWND dialog = Create();
  SetFocus(Item(dialog, 30));
  recorder.Clear();
  EXPECT_TRUE(ShowWindow(Item(dialog, 30), SW_HIDE));
  EXPECT_EQ(GetFocus(), Item(dialog, 10));
  EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"WM_SETFOCUS", "WM_KILLFOCUS", "WM_COMMAND(10, EN_SETFOCUS)"}));
  EXPECT_FALSE(ShowWindow(Item(dialog, 30), SW_HIDE));
  EXPECT_FALSE(ShowWindow(Item(dialog, 30), SW_SHOW));
  EXPECT_TRUE(IsWindowVisible(Item(dialog, 30)));
}

}  // namespace
}  // namespace window_test

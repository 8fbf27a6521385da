// The user driver: each action reaches the dialog as exactly the messages Windows delivers
// for it, in order, through the queue and the dialog manager (pumped here by the standard
// modeless loop), and actions a user could not make are refused.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/dinput/device_registry.h"
#include "host/driver/user_driver.h"
#include "host/window_message_recorder.h"
#include "platform/platform.h"

namespace window_test {
namespace {

namespace driver = host::driver;

const char driverScript[] =
    "920 DIALOGEX 0, 0, 240, 160\n"
    "STYLE DS_SHELLFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU\n"
    "CAPTION \"Driver\"\n"
    "FONT 8, \"MS Shell Dlg\"\n"
    "BEGIN\n"
    "    EDITTEXT 10, 5, 5, 60, 12, ES_AUTOHSCROLL\n"
    "    EDITTEXT 11, 5, 20, 60, 12, ES_AUTOHSCROLL\n"
    "    COMBOBOX 20, 80, 5, 80, 80, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP\n"
    "    AUTOCHECKBOX \"Check\", 30, 5, 40, 60, 10\n"
    "    PUSHBUTTON \"Push\", 40, 5, 55, 40, 14\n"
    "    DEFPUSHBUTTON \"Default\", 41, 50, 55, 40, 14, NOT WS_VISIBLE\n"
    "    PUSHBUTTON \"Exit\", IDCANCEL, 100, 55, 40, 14, NOT WS_VISIBLE\n"
    "    CONTROL \"\", 50, \"msctls_trackbar32\", TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, 5, 75, 130, 15\n"
    "    CONTROL \"\", 60, \"SysTreeView32\", TVS_HASLINES | WS_BORDER | WS_TABSTOP, 140, 75, 90, 80\n"
    "    PUSHBUTTON \"Off\", 70, 5, 95, 40, 14, WS_DISABLED\n"
    "END\n";

class DriverTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(920), nullptr, MessageRecorder::Procedure, 0);
    ASSERT_NE(dialog, nullptr) << host::LastResourceScriptError();
    for (const char* item : {"Disabled", "Damper", "Inertia"}) {
      SendDlgItemMessageA(dialog, 20, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendDlgItemMessageA(dialog, 50, TBM_SETRANGEMAX, FALSE, 10000);
    SendDlgItemMessageA(dialog, 50, TBM_SETPOS, TRUE, 2000);
    driver::PumpMessages(dialog);
    ASSERT_EQ(driver::FocusedControlId(dialog), 10);
    recorder.Clear();
    retrievedBefore = host::RetrievedMessageCount();
  }

  std::vector<std::string> Delivered() {
    driver::PumpMessages(dialog);
    return recorder.Lines();
  }

  // The messages the loop retrieved since the test began, as names.
  std::vector<UINT> Retrieved() {
    std::vector<UINT> messages;
    size_t count = static_cast<size_t>(host::RetrievedMessageCount() - retrievedBefore);
    size_t size = host::RetrievedMessageLogSize();
    for (size_t i = size - std::min(count, size); i < size; ++i)
      messages.push_back(host::RetrievedMessageAt(i).message);
    return messages;
  }

  ScopedScript script{"driver.rc", driverScript};
  MessageRecorder recorder;
  HWND dialog = nullptr;
  uint64_t retrievedBefore = 0;
};

TEST_F(DriverTest, ChoosingAComboItemLeavesTheEditOpensTheListAndPicks) {
  std::vector<LRESULT> selectionSeen;
  recorder.answer = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
      selectionSeen.push_back(SendMessageA(reinterpret_cast<HWND>(lParam), CB_GETCURSEL, 0, 0));
    }
    return FALSE;
  };
  ASSERT_TRUE(driver::ChooseComboItem(dialog, 20, 2));
  EXPECT_TRUE(recorder.received().empty());  // input waits for the loop
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_COMMAND(10, EN_KILLFOCUS)", "WM_COMMAND(20, CBN_SETFOCUS)",
                                                   "WM_COMMAND(20, CBN_DROPDOWN)", "WM_COMMAND(20, CBN_SELCHANGE)",
                                                   "WM_COMMAND(20, CBN_SELENDOK)", "WM_COMMAND(20, CBN_CLOSEUP)"}));
  EXPECT_EQ(selectionSeen, (std::vector<LRESULT>{2}));
  EXPECT_EQ(driver::ComboSelection(dialog, 20), 2);
  EXPECT_EQ(driver::Text(dialog, 20), "Inertia");
  EXPECT_EQ(driver::FocusedControlId(dialog), 20);
  EXPECT_EQ(Retrieved(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, host::comboListPickMessage}));
  EXPECT_FALSE(driver::ChooseComboItem(dialog, 20, 3));
  EXPECT_FALSE(driver::ChooseComboItem(dialog, 10, 0));  // not a combo box
}

TEST_F(DriverTest, ClickingACheckBoxTogglesItBeforeBnClicked) {
  std::vector<LRESULT> stateSeen;
  recorder.answer = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
      stateSeen.push_back(SendMessageA(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0));
    }
    return FALSE;
  };
  ASSERT_TRUE(driver::ClickButton(dialog, 30));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_COMMAND(10, EN_KILLFOCUS)", "WM_COMMAND(30, BN_CLICKED)"}));
  EXPECT_EQ(stateSeen, (std::vector<LRESULT>{BST_CHECKED}));
  EXPECT_TRUE(driver::IsChecked(dialog, 30));
  recorder.Clear();
  ASSERT_TRUE(driver::ClickButton(dialog, 40));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_COMMAND(40, BN_CLICKED)"}));
  EXPECT_EQ(driver::FocusedControlId(dialog), 40);
  // Hidden, disabled or missing: a user cannot click it.
  EXPECT_FALSE(driver::ClickButton(dialog, 41));
  EXPECT_FALSE(driver::ClickButton(dialog, 70));
  EXPECT_FALSE(driver::ClickButton(dialog, 99));
  EXPECT_FALSE(driver::ClickButton(dialog, 10));
}

TEST_F(DriverTest, SetCheckClicksOnlyWhenTheStateDiffers) {
  ASSERT_TRUE(driver::SetCheck(dialog, 30, false));
  EXPECT_TRUE(Delivered().empty());
  EXPECT_TRUE(Retrieved().empty());
  ASSERT_TRUE(driver::SetCheck(dialog, 30, true));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_COMMAND(10, EN_KILLFOCUS)", "WM_COMMAND(30, BN_CLICKED)"}));
  EXPECT_TRUE(driver::IsChecked(dialog, 30));
  EXPECT_FALSE(driver::SetCheck(dialog, 40, true));  // a push button has no check
}

TEST_F(DriverTest, TypingReplacesTheWholeTextOneCharacterAtATime) {
  SetDlgItemTextA(dialog, 11, "old text");
  recorder.Clear();
  ASSERT_TRUE(driver::TypeText(dialog, 11, "1.5"));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_COMMAND(10, EN_KILLFOCUS)", "WM_COMMAND(11, EN_SETFOCUS)",
                                                   "WM_COMMAND(11, EN_UPDATE)", "WM_COMMAND(11, EN_CHANGE)",
                                                   "WM_COMMAND(11, EN_UPDATE)", "WM_COMMAND(11, EN_CHANGE)",
                                                   "WM_COMMAND(11, EN_UPDATE)", "WM_COMMAND(11, EN_CHANGE)"}));
  EXPECT_EQ(driver::Text(dialog, 11), "1.5");
  // Keys come as presses; TranslateMessage (in IsDialogMessageA) makes the characters.
  std::vector<UINT> retrieved = Retrieved();
  std::vector<UINT> expected = {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP};
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), {WM_KEYDOWN, WM_CHAR, WM_KEYUP});
  EXPECT_EQ(retrieved, expected);
  recorder.Clear();
  ASSERT_TRUE(driver::TypeText(dialog, 11, ""));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_COMMAND(11, EN_UPDATE)", "WM_COMMAND(11, EN_CHANGE)"}));
  EXPECT_EQ(driver::Text(dialog, 11), "");
  EXPECT_FALSE(driver::TypeText(dialog, 11, "caf\xc3\xa9"));
  EXPECT_FALSE(driver::TypeText(dialog, 30, "x"));
}

TEST_F(DriverTest, TypingIntoADropDownComboReportsEditChanges) {
  ASSERT_TRUE(driver::TypeText(dialog, 20, "ab"));
  EXPECT_EQ(Delivered(),
            (std::vector<std::string>{"WM_COMMAND(10, EN_KILLFOCUS)", "WM_COMMAND(20, CBN_SETFOCUS)",
                                      "WM_COMMAND(20, CBN_EDITUPDATE)", "WM_COMMAND(20, CBN_EDITCHANGE)",
                                      "WM_COMMAND(20, CBN_EDITUPDATE)", "WM_COMMAND(20, CBN_EDITCHANGE)"}));
  EXPECT_EQ(driver::Text(dialog, 20), "ab");
  EXPECT_EQ(driver::ComboSelection(dialog, 20), CB_ERR);
}

TEST_F(DriverTest, EnterSendsTheDefaultButtonsCommandAndTypesNothing) {
  ASSERT_TRUE(driver::PressEnter(dialog));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"DM_GETDEFID", "WM_COMMAND(41, BN_CLICKED)"}));
  EXPECT_EQ(reinterpret_cast<HWND>(recorder.received().back().lParam), GetDlgItem(dialog, 41));
  EXPECT_EQ(Retrieved(), (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP}));
  EXPECT_EQ(driver::FocusedControlId(dialog), 10);
}

TEST_F(DriverTest, EscapeSendsIdcancel) {
  ASSERT_TRUE(driver::PressEscape(dialog));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_COMMAND(2, BN_CLICKED)"}));
  EXPECT_EQ(reinterpret_cast<HWND>(recorder.received().back().lParam), GetDlgItem(dialog, IDCANCEL));
}

TEST_F(DriverTest, TabMovesToTheNextTabStopAndSelectsItsText) {
  SetDlgItemTextA(dialog, 11, "abc");
  recorder.Clear();
  ASSERT_TRUE(driver::PressTab(dialog));
  EXPECT_EQ(Delivered(),
            (std::vector<std::string>{"WM_NEXTDLGCTL", "WM_COMMAND(10, EN_KILLFOCUS)", "WM_COMMAND(11, EN_SETFOCUS)"}));
  EXPECT_EQ(driver::FocusedControlId(dialog), 11);
  DWORD start = 9, end = 9;
  SendDlgItemMessageA(dialog, 11, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 3u);
}

TEST_F(DriverTest, FocusingAControlClicksIntoItWithoutActivatingIt) {
  SetDlgItemTextA(dialog, 11, "abc");
  recorder.Clear();
  ASSERT_TRUE(driver::FocusControl(dialog, 11));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_COMMAND(10, EN_KILLFOCUS)", "WM_COMMAND(11, EN_SETFOCUS)"}));
  DWORD start = 9, end = 9;
  SendDlgItemMessageA(dialog, 11, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u);  // the caret at the end
  EXPECT_EQ(end, 3u);
  recorder.Clear();
  // A button takes the focus from a press released off it: no click.
  ASSERT_TRUE(driver::FocusControl(dialog, 40));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_COMMAND(11, EN_KILLFOCUS)"}));
  EXPECT_EQ(driver::FocusedControlId(dialog), 40);
}

TEST_F(DriverTest, DraggingATrackbarReportsEachPositionThenTheReleaseClampedToTheRange) {
  std::vector<LRESULT> positionSeen;
  recorder.answer = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> INT_PTR {
    if (message == WM_HSCROLL) positionSeen.push_back(SendMessageA(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0));
    return FALSE;
  };
  ASSERT_TRUE(driver::DragTrackbar(dialog, 50, 7000));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_COMMAND(10, EN_KILLFOCUS)", "WM_HSCROLL(TB_THUMBTRACK, 3250)",
                                                   "WM_HSCROLL(TB_THUMBTRACK, 4500)", "WM_HSCROLL(TB_THUMBTRACK, 5750)",
                                                   "WM_HSCROLL(TB_THUMBTRACK, 7000)",
                                                   "WM_HSCROLL(TB_THUMBPOSITION, 7000)", "WM_HSCROLL(TB_ENDTRACK)"}));
  EXPECT_EQ(positionSeen, (std::vector<LRESULT>{3250, 4500, 5750, 7000, 7000, 7000}));
  EXPECT_EQ(driver::TrackbarPosition(dialog, 50), 7000);
  recorder.Clear();
  ASSERT_TRUE(driver::DragTrackbar(dialog, 50, 25000, 2));
  EXPECT_EQ(Delivered(),
            (std::vector<std::string>{"WM_HSCROLL(TB_THUMBTRACK, 8500)", "WM_HSCROLL(TB_THUMBTRACK, 10000)",
                                      "WM_HSCROLL(TB_THUMBPOSITION, 10000)", "WM_HSCROLL(TB_ENDTRACK)"}));
  EXPECT_FALSE(driver::DragTrackbar(dialog, 20, 5));
}

TEST_F(DriverTest, AnArrowStepMovesTheTrackbarByOneLineAndReportsItWithoutAPosition) {
  std::vector<LRESULT> positionSeen;
  recorder.answer = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
    if (message == WM_HSCROLL && LOWORD(wParam) <= TB_LINEDOWN) {
      positionSeen.push_back(SendMessageA(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0));
      EXPECT_EQ(HIWORD(wParam), 0);
    }
    return FALSE;
  };
  // Not focused yet: a click on the thumb first (released where it is).
  ASSERT_TRUE(driver::StepTrackbarLine(dialog, 50, +1));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_COMMAND(10, EN_KILLFOCUS)", "WM_HSCROLL(TB_THUMBPOSITION, 2000)",
                                                   "WM_HSCROLL(TB_ENDTRACK)", "WM_HSCROLL(TB_LINEDOWN)",
                                                   "WM_HSCROLL(TB_ENDTRACK)"}));
  recorder.Clear();
  ASSERT_TRUE(driver::StepTrackbarLine(dialog, 50, -1));
  ASSERT_TRUE(driver::StepTrackbarLine(dialog, 50, -1));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_HSCROLL(TB_LINEUP)", "WM_HSCROLL(TB_ENDTRACK)",
                                                   "WM_HSCROLL(TB_LINEUP)", "WM_HSCROLL(TB_ENDTRACK)"}));
  EXPECT_EQ(positionSeen, (std::vector<LRESULT>{2001, 2000, 1999}));
}

TEST_F(DriverTest, SwitchingApplicationsDeactivatesAndRestoresTheFocus) {
  ASSERT_TRUE(host::ApplicationActive());
  driver::SwitchToOtherApplication(dialog);
  EXPECT_FALSE(host::ApplicationActive());
  EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"WM_NCACTIVATE(FALSE)", "WM_ACTIVATE(WA_INACTIVE)",
                                                        "WM_ACTIVATEAPP(FALSE)", "WM_COMMAND(10, EN_KILLFOCUS)"}));
  EXPECT_EQ(driver::FocusedControlId(dialog), 0);
  // In the background the user's clicks and keys go elsewhere.
  EXPECT_FALSE(driver::ClickButton(dialog, 40));
  EXPECT_FALSE(driver::PressEnter(dialog));
  recorder.Clear();
  ASSERT_TRUE(driver::SwitchBack(dialog));
  EXPECT_TRUE(host::ApplicationActive());
  EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"WM_ACTIVATEAPP(TRUE)", "WM_NCACTIVATE(TRUE)",
                                                        "WM_ACTIVATE(WA_ACTIVE)", "WM_COMMAND(10, EN_SETFOCUS)"}));
  EXPECT_EQ(driver::FocusedControlId(dialog), 10);
  recorder.Clear();
  driver::SwitchToOtherApplication(dialog, true);
  EXPECT_EQ(recorder.Lines({WM_NCACTIVATE, WM_ACTIVATEAPP}),
            (std::vector<std::string>{"WM_ACTIVATE(WA_INACTIVE, minimised)", "WM_COMMAND(10, EN_KILLFOCUS)"}));
  EXPECT_TRUE(IsIconic(dialog));
  ASSERT_TRUE(driver::SwitchBack(dialog));
  EXPECT_FALSE(IsIconic(dialog));
  EXPECT_EQ(driver::FocusedControlId(dialog), 10);
  // A hidden dialog is not there to come back to.
  driver::SwitchToOtherApplication(dialog);
  ShowWindow(dialog, SW_HIDE);
  EXPECT_FALSE(driver::SwitchBack(dialog));
  EXPECT_FALSE(host::ApplicationActive());
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(DriverTest, TheCloseBoxAsksTheDefaultHandlingToClose) {
  ASSERT_TRUE(driver::ClickCloseBox(dialog));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_NCLBUTTONDOWN", "WM_SYSCOMMAND(SC_CLOSE)", "WM_CLOSE",
                                                   "WM_COMMAND(2, BN_CLICKED)"}));
}

TEST_F(DriverTest, PluggingAndUnpluggingAreBroadcastToRegisteredWindows) {
  DEV_BROADCAST_DEVICEINTERFACE_A filter{};
  filter.dbcc_size = sizeof(filter);
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = host::hidDeviceInterfaceClass;
  ASSERT_NE(RegisterDeviceNotificationA(dialog, &filter, DEVICE_NOTIFY_WINDOW_HANDLE), nullptr);
  std::vector<std::string> paths;
  recorder.answer = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> INT_PTR {
    if (message == WM_DEVICECHANGE)
      paths.push_back(reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(lParam)->dbcc_name);
    return TRUE;
  };
  host::DeviceId wheel = driver::PlugDevice(host::VirtualWheelDescription());
  ASSERT_NE(wheel, host::noDevice);
  EXPECT_TRUE(host::IsAttached(wheel));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_DEVICECHANGE(DBT_DEVICEARRIVAL)"}));
  ASSERT_TRUE(driver::UnplugDevice(wheel));
  EXPECT_FALSE(host::IsAttached(wheel));
  EXPECT_EQ(Delivered(), (std::vector<std::string>{"WM_DEVICECHANGE(DBT_DEVICEARRIVAL)",
                                                   "WM_DEVICECHANGE(DBT_DEVICEREMOVECOMPLETE)"}));
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_NE(paths[0].find("HID#VID_1209&PID_0001#"), std::string::npos) << paths[0];
  EXPECT_EQ(paths[0], paths[1]);
  EXPECT_FALSE(driver::UnplugDevice(wheel));  // already out
}

}  // namespace
}  // namespace window_test

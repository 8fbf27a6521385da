// The built-in control classes answering their messages as the real ones do: texts, edit
// boxes, buttons, combo boxes and trackbars (tree views have their own file).
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/window_message_recorder.h"
#include "platform/platform.h"

namespace window_test {
namespace {

class ControlsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    dialog = host::CreateHostDialog(MessageRecorder::Procedure);
  }

  HWND Add(int id, host::ControlClass kind, DWORD style = WS_CHILD | WS_VISIBLE, const char* text = "") {
    return host::AddHostControl(dialog, id, kind, text, style);
  }

  std::string TextOf(HWND window) {
    char text[host::windowTextRoom];
    GetWindowTextA(window, text, sizeof(text));
    return text;
  }

  MessageRecorder recorder;
  HWND dialog = nullptr;
};

TEST_F(ControlsTest, GetWindowTextTruncatesToTheRoomAndTerminates) {
  HWND label = Add(1, host::ControlClass::Static, WS_CHILD | WS_VISIBLE, "abcdef");
  char buffer[8];
  std::memset(buffer, 'X', sizeof(buffer));
  EXPECT_EQ(GetWindowTextA(label, buffer, 4), 3);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], 'X');
  EXPECT_EQ(GetWindowTextA(label, buffer, 1), 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(GetWindowTextA(label, buffer, 0), 0);
  EXPECT_EQ(GetWindowTextLengthA(label), 6);
  EXPECT_EQ(GetWindowTextA(label, buffer, sizeof(buffer)), 6);
  EXPECT_STREQ(buffer, "abcdef");
  // Texts longer than the window's room are cut to it.
  std::string longText(host::windowTextRoom + 100, 'y');
  ASSERT_TRUE(SetWindowTextA(label, longText.c_str()));
  EXPECT_EQ(GetWindowTextLengthA(label), static_cast<int>(host::windowTextRoom - 1));
  EXPECT_FALSE(SetWindowTextA(reinterpret_cast<HWND>(0x77), "x"));
}

TEST_F(ControlsTest, DialogItemTextAndIntegersGoThroughTheControls) {
  Add(5, host::ControlClass::Edit);
  ASSERT_TRUE(SetDlgItemTextA(dialog, 5, "  -42 "));
  char text[16];
  EXPECT_EQ(GetDlgItemTextA(dialog, 5, text, sizeof(text)), 6u);
  BOOL translated = FALSE;
  EXPECT_EQ(static_cast<int>(GetDlgItemInt(dialog, 5, &translated, TRUE)), -42);
  EXPECT_TRUE(translated);
  EXPECT_EQ(GetDlgItemInt(dialog, 5, &translated, FALSE), 0u);
  EXPECT_FALSE(translated);
  ASSERT_TRUE(SetDlgItemInt(dialog, 5, 4000000000u, FALSE));
  EXPECT_EQ(GetDlgItemInt(dialog, 5, &translated, FALSE), 4000000000u);
  EXPECT_TRUE(translated);
  EXPECT_EQ(GetDlgItemTextA(dialog, 99, text, sizeof(text)), 0u);
  EXPECT_STREQ(text, "");
}

TEST_F(ControlsTest, AnEditBoxReportsSetTextTypingAndItsFocus) {
  HWND edit = Add(10, host::ControlClass::Edit);
  ASSERT_TRUE(SetWindowTextA(edit, "12"));
  SendMessageA(edit, EM_SETSEL, 1, 2);
  SendMessageA(edit, WM_CHAR, '5', 0);   // replaces the "2"
  SendMessageA(edit, WM_CHAR, '\b', 0);  // deletes the "5"
  SendMessageA(edit, WM_CHAR, '\b', 0);
  SendMessageA(edit, WM_CHAR, '\b', 0);  // nothing left before the caret: no change
  SendMessageA(edit, WM_CHAR, 0x01, 0);  // a control character types nothing
  EXPECT_EQ(TextOf(edit), "");
  SetFocus(edit);
  SetFocus(nullptr);
  EXPECT_EQ(recorder.Lines({WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS}),
            (std::vector<std::string>{"WM_COMMAND(10, EN_UPDATE)", "WM_COMMAND(10, EN_CHANGE)",  // WM_SETTEXT
                                      "WM_COMMAND(10, EN_UPDATE)", "WM_COMMAND(10, EN_CHANGE)",  // '5'
                                      "WM_COMMAND(10, EN_UPDATE)", "WM_COMMAND(10, EN_CHANGE)",  // backspace
                                      "WM_COMMAND(10, EN_UPDATE)", "WM_COMMAND(10, EN_CHANGE)",  // backspace
                                      "WM_COMMAND(10, EN_SETFOCUS)", "WM_COMMAND(10, EN_KILLFOCUS)"}));
  for (const Received& r : recorder.received()) {
    if (r.message == WM_COMMAND) {
      EXPECT_EQ(reinterpret_cast<HWND>(r.lParam), edit);
    }
  }
}

TEST_F(ControlsTest, AnEditBoxKeepsToItsLimitAndStyle) {
  HWND edit = Add(11, host::ControlClass::Edit);
  SendMessageA(edit, EM_LIMITTEXT, 3, 0);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 3);
  for (char c : std::string("12345")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
  EXPECT_EQ(TextOf(edit), "123");
  recorder.Clear();
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("abcdef"));
  EXPECT_EQ(TextOf(edit), "abc");
  EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"WM_COMMAND(11, EN_MAXTEXT)", "WM_COMMAND(11, EN_UPDATE)",
                                                        "WM_COMMAND(11, EN_CHANGE)"}));
  DWORD start = 9, end = 9;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(end, 3u);

  HWND digits = Add(12, host::ControlClass::Edit, WS_CHILD | WS_VISIBLE | ES_NUMBER);
  for (char c : std::string("1a-2")) SendMessageA(digits, WM_CHAR, static_cast<WPARAM>(c), 0);
  EXPECT_EQ(TextOf(digits), "12");
  HWND readOnly = Add(13, host::ControlClass::Edit, WS_CHILD | WS_VISIBLE | ES_READONLY, "fixed");
  SendMessageA(readOnly, WM_CHAR, 'x', 0);
  EXPECT_EQ(TextOf(readOnly), "fixed");
}

TEST_F(ControlsTest, CheckBoxesHoldTheirStateAndPushButtonsHaveNone) {
  HWND box = Add(20, host::ControlClass::Button, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX);
  HWND push = Add(21, host::ControlClass::Button, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
  HWND three = Add(22, host::ControlClass::Button, WS_CHILD | WS_VISIBLE | BS_AUTO3STATE);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 20), static_cast<UINT>(BST_UNCHECKED));
  ASSERT_TRUE(CheckDlgButton(dialog, 20, BST_CHECKED));
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(box, BM_SETCHECK, BST_INDETERMINATE, 0);  // a two-state box goes no further
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(push, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageA(push, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageA(three, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(SendMessageA(three, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  // Setting a state by message tells the parent nothing.
  EXPECT_TRUE(recorder.received().empty());
}

TEST_F(ControlsTest, AClickTogglesAnAutomaticCheckBoxBeforeTheParentHearsOfIt) {
  HWND box = Add(30, host::ControlClass::Button, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP);
  std::vector<UINT> statesSeen;
  recorder.answer = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> INT_PTR {
    if (message == WM_COMMAND)
      statesSeen.push_back(static_cast<UINT>(SendMessageA(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0)));
    return FALSE;
  };
  SendMessageA(box, BM_CLICK, 0, 0);
  SendMessageA(box, BM_CLICK, 0, 0);
  EXPECT_EQ(statesSeen, (std::vector<UINT>{BST_CHECKED, BST_UNCHECKED}));
  EXPECT_EQ(GetFocus(), box);
  EXPECT_EQ(recorder.Lines({WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE}),
            (std::vector<std::string>{"WM_COMMAND(30, BN_CLICKED)", "WM_COMMAND(30, BN_CLICKED)"}));
}

TEST_F(ControlsTest, AComboBoxKeepsItsItemsSelectionAndEditText) {
  HWND combo = Add(40, host::ControlClass::ComboBox, WS_CHILD | WS_VISIBLE | CBS_DROPDOWN);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Alpha")), 0);
  EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Beta")), 1);
  EXPECT_EQ(SendMessageA(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("Zero")), 0);
  EXPECT_EQ(SendMessageA(combo, CB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("x")), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(TextOf(combo), "Beta");
  char item[16];
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item)), 5);
  EXPECT_STREQ(item, "Alpha");
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXTLEN, 0, 0), 4);
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(item)), CB_ERR);
  // Deleting before the selection moves it; deleting the selection clears it.
  EXPECT_EQ(SendMessageA(combo, CB_DELETESTRING, 0, 0), 2);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageA(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("be")), 1);
  EXPECT_EQ(SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("be")), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("al")), 0);
  EXPECT_EQ(TextOf(combo), "Alpha");
  EXPECT_EQ(SendMessageA(combo, CB_DELETESTRING, 0, 0), 1);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  // An index out of range selects nothing and empties the edit field.
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 5, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(TextOf(combo), "");
  ASSERT_TRUE(SetWindowTextA(combo, "typed"));
  EXPECT_EQ(TextOf(combo), "typed");
  EXPECT_EQ(SendMessageA(combo, CB_RESETCONTENT, 0, 0), CB_OKAY);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(TextOf(combo), "");
  // None of this is the user's doing: the parent hears nothing.
  EXPECT_TRUE(recorder.received().empty());
  EXPECT_EQ(host::ComboItemCount(combo), 0);
}

TEST_F(ControlsTest, ComboBoxesSortWhenAskedAndRefuseItemsBeyondTheirRoom) {
  HWND sorted = Add(41, host::ControlClass::ComboBox, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT);
  for (const char* name : {"delta", "Alpha", "charlie", "Bravo"})
    SendMessageA(sorted, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  std::vector<std::string> order;
  for (int i = 0; i < host::ComboItemCount(sorted); ++i) order.push_back(host::ComboItemText(sorted, i));
  EXPECT_EQ(order, (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta"}));
  // A drop-down list shows its selection and takes text only as the name of an item.
  EXPECT_EQ(SendMessageA(sorted, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("CHARLIE")), TRUE);
  EXPECT_EQ(host::ComboSelection(sorted), 2);
  EXPECT_EQ(TextOf(sorted), "charlie");
  EXPECT_EQ(SendMessageA(sorted, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("echo")), CB_ERR);

  HWND full = Add(42, host::ControlClass::ComboBox, WS_CHILD | WS_VISIBLE | CBS_DROPDOWN);
  for (size_t i = 0; i < host::comboItemRoom; ++i) {
    ASSERT_EQ(SendMessageA(full, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item")), static_cast<LRESULT>(i));
  }
  EXPECT_EQ(SendMessageA(full, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one more")), CB_ERRSPACE);
}

struct TrackbarCase {
  const char* what;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LONG minimum, maximum, position;
};

TEST_F(ControlsTest, TrackbarPositionsStayInsideTheRange) {
  // Each row starts from range 0..100 at position 50.
  const TrackbarCase cases[] = {
      {"inside", TBM_SETPOS, TRUE, 70, 0, 100, 70},
      {"below the minimum", TBM_SETPOS, TRUE, -5, 0, 100, 0},
      {"above the maximum", TBM_SETPOS, TRUE, 500, 0, 100, 100},
      {"range packed in 16 bits", TBM_SETRANGE, FALSE, MAKELONG(1, 30000), 1, 30000, 50},
      {"range below the position", TBM_SETRANGE, TRUE, MAKELONG(0, 20), 0, 20, 20},
      {"minimum above the position", TBM_SETRANGEMIN, TRUE, 60, 60, 100, 60},
      {"maximum below the position", TBM_SETRANGEMAX, TRUE, 40, 0, 40, 40},
      {"32-bit maximum", TBM_SETRANGEMAX, TRUE, 100000, 0, 100000, 50},
  };
  HWND trackbar = Add(50, host::ControlClass::Trackbar);
  for (const TrackbarCase& c : cases) {
    SendMessageA(trackbar, TBM_SETRANGE, FALSE, MAKELONG(0, 100));
    SendMessageA(trackbar, TBM_SETPOS, TRUE, 50);
    SendMessageA(trackbar, c.message, c.wParam, c.lParam);
    EXPECT_EQ(SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0), c.minimum) << c.what;
    EXPECT_EQ(SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0), c.maximum) << c.what;
    EXPECT_EQ(SendMessageA(trackbar, TBM_GETPOS, 0, 0), c.position) << c.what;
  }
  EXPECT_TRUE(recorder.received().empty());
}

TEST_F(ControlsTest, TrackbarKeysStepByLinesAndPagesAndReportTheStep) {
  HWND trackbar = Add(51, host::ControlClass::Trackbar);
  SendMessageA(trackbar, TBM_SETRANGE, FALSE, MAKELONG(0, 10));
  EXPECT_EQ(SendMessageA(trackbar, TBM_GETPAGESIZE, 0, 0), 2);  // a fifth of the range
  const std::pair<WPARAM, LONG> keys[] = {{VK_RIGHT, 1}, {VK_NEXT, 3},  {VK_LEFT, 2},
                                          {VK_END, 10},  {VK_DOWN, 10}, {VK_HOME, 0}};
  std::vector<LONG> positions;
  recorder.answer = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> INT_PTR {
    if (message == WM_HSCROLL)
      positions.push_back(static_cast<LONG>(SendMessageA(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0)));
    return FALSE;
  };
  for (const auto& [key, expected] : keys) {
    SendMessageA(trackbar, WM_KEYDOWN, key, 0);
    EXPECT_EQ(SendMessageA(trackbar, TBM_GETPOS, 0, 0), expected) << key;
  }
  // VK_DOWN at the end moved nothing and reported nothing.
  EXPECT_EQ(recorder.Lines(),
            (std::vector<std::string>{"WM_HSCROLL(TB_LINEDOWN)", "WM_HSCROLL(TB_PAGEDOWN)", "WM_HSCROLL(TB_LINEUP)",
                                      "WM_HSCROLL(TB_BOTTOM)", "WM_HSCROLL(TB_TOP)"}));
  EXPECT_EQ(positions, (std::vector<LONG>{1, 3, 2, 10, 0}));
  recorder.Clear();
  SendMessageA(trackbar, WM_KEYUP, VK_RIGHT, 0);
  SendMessageA(trackbar, WM_KEYUP, 'A', 0);
  EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"WM_HSCROLL(TB_ENDTRACK)"}));
  HWND vertical = Add(52, host::ControlClass::Trackbar, WS_CHILD | WS_VISIBLE | TBS_VERT);
  recorder.Clear();
  SendMessageA(vertical, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"WM_VSCROLL(TB_LINEDOWN)"}));
}

}  // namespace
}  // namespace window_test

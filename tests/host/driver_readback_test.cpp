// What the driver reads back is what the controls hold, in the forms the scenario tests
// compare: texts, states, ranges, lists, the focused control, message boxes, EndDialog
// calls and the tree as indented text.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/driver/user_driver.h"
#include "host/window_message_recorder.h"
#include "platform/platform.h"

namespace window_test {
namespace {

namespace driver = host::driver;

class DriverReadbackTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    dialog = host::CreateHostDialog(nullptr);
    edit = host::AddHostControl(dialog, 1, host::ControlClass::Edit, "5.00");
    box = host::AddHostControl(dialog, 2, host::ControlClass::Button, "Box", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX);
    combo = host::AddHostControl(dialog, 3, host::ControlClass::ComboBox, "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST);
    trackbar = host::AddHostControl(dialog, 4, host::ControlClass::Trackbar);
    tree = host::AddHostControl(dialog, 5, host::ControlClass::TreeView);
    hidden = host::AddHostControl(dialog, 6, host::ControlClass::Static, "hidden", WS_CHILD);
  }

  HTREEITEM Insert(HTREEITEM parent, const char* text) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  }

  HWND dialog = nullptr, edit = nullptr, box = nullptr, combo = nullptr, trackbar = nullptr, tree = nullptr,
       hidden = nullptr;
};

TEST_F(DriverReadbackTest, ReadsWhatTheControlsHold) {
  EXPECT_EQ(driver::Text(dialog, 1), "5.00");
  EXPECT_EQ(driver::Text(dialog, 99), "");
  std::string longText(1500, 'q');
  SetWindowTextA(edit, longText.c_str());
  EXPECT_EQ(driver::Text(dialog, 1), longText);
  EXPECT_FALSE(driver::IsChecked(dialog, 2));
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_TRUE(driver::IsChecked(dialog, 2));
  for (const char* item : {"Disabled", "Damper"}) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(driver::ComboItems(dialog, 3), (std::vector<std::string>{"Disabled", "Damper"}));
  EXPECT_EQ(driver::ComboSelection(dialog, 3), CB_ERR);
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  EXPECT_EQ(driver::ComboSelection(dialog, 3), 1);
  EXPECT_EQ(driver::Text(dialog, 3), "Damper");
  EXPECT_TRUE(driver::ComboItems(dialog, 1).empty());
  SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, 1);
  SendMessageA(trackbar, TBM_SETRANGEMAX, FALSE, 30000);
  SendMessageA(trackbar, TBM_SETPOS, TRUE, 12345);
  EXPECT_EQ(driver::TrackbarPosition(dialog, 4), 12345);
  EXPECT_EQ(driver::TrackbarRange(dialog, 4).minimum, 1);
  EXPECT_EQ(driver::TrackbarRange(dialog, 4).maximum, 30000);
  EXPECT_TRUE(driver::IsVisible(dialog, 1));
  EXPECT_FALSE(driver::IsVisible(dialog, 6));
  EXPECT_FALSE(driver::IsVisible(dialog, 99));
  EXPECT_EQ(driver::FocusedControlId(dialog), 0);
  SetFocus(edit);
  EXPECT_EQ(driver::FocusedControlId(dialog), 1);
  EXPECT_TRUE(driver::WindowExists(dialog));
  EXPECT_FALSE(driver::EndDialogCalled(dialog));
  EndDialog(dialog, IDCANCEL);
  EXPECT_TRUE(driver::EndDialogCalled(dialog));
  DestroyWindow(dialog);
  EXPECT_FALSE(driver::WindowExists(dialog));
}

TEST_F(DriverReadbackTest, ListsTheMessageBoxesShown) {
  EXPECT_TRUE(driver::MessageBoxes().empty());
  EXPECT_EQ(MessageBoxA(nullptr, "Force feedback device not found.", "Vantrel", MB_ICONERROR | MB_OK), IDOK);
  EXPECT_EQ(MessageBoxA(dialog, "Second", nullptr, MB_OK), IDOK);
  std::vector<driver::MessageBoxShown> shown = driver::MessageBoxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].owner, nullptr);
  EXPECT_EQ(shown[0].text, "Force feedback device not found.");
  EXPECT_EQ(shown[0].caption, "Vantrel");
  EXPECT_EQ(shown[0].type, static_cast<UINT>(MB_ICONERROR | MB_OK));
  EXPECT_EQ(shown[1].owner, dialog);
  EXPECT_EQ(shown[1].caption, "");
}

TEST_F(DriverReadbackTest, TheTreeReadsAsIndentedTextWithExpandedItemsMarked) {
  EXPECT_EQ(driver::TreeText(dialog, 5), "");
  HTREEITEM device = Insert(TVI_ROOT, "Device");
  HTREEITEM axes = Insert(device, "Axes");
  Insert(axes, "X axis");
  Insert(axes, "Y axis");
  Insert(device, "Effects");
  Insert(TVI_ROOT, "Second device");
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(device));
  EXPECT_EQ(driver::TreeText(dialog, 5),
            "[+] Device\n"
            "  Axes\n"
            "    X axis\n"
            "    Y axis\n"
            "  Effects\n"
            "Second device\n");
  EXPECT_EQ(driver::TreeText(dialog, 1), "");  // not a tree view
}

}  // namespace
}  // namespace window_test

// Once dialog 102 exists, what the tick and the loop do to it allocates nothing: readouts
// written with SetWindowTextA, texts read back, control messages, the tree, the queue and
// the dialog manager. Counted through the replaced global operator new.
#include <cstdint>
#include <cstdio>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "host/window_message_recorder.h"
#include "platform/platform.h"
#include "support/counting_allocator.h"

namespace window_test {
namespace {

INT_PTR CALLBACK QuietProcedure(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG ? TRUE : FALSE; }

class DialogAllocationTest : public WindowTest {};

TEST_F(DialogAllocationTest, WorkingTheDialogAllocatesNothing) {
  HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_VANTREL), nullptr, QuietProcedure, 0);
  ASSERT_NE(dialog, nullptr);
  HWND position = GetDlgItem(dialog, IDC_POSITION);
  HWND status = GetDlgItem(dialog, IDC_STATUS);
  HWND edit = GetDlgItem(dialog, IDC_KP);
  HWND combo = GetDlgItem(dialog, IDC_MODE);
  HWND trackbar = GetDlgItem(dialog, IDC_OFFSET_X);
  HWND tree = GetDlgItem(dialog, IDC_REPORT_TREE);
  ASSERT_TRUE(position && status && edit && combo && trackbar && tree);

  uint64_t before = test_support::AllocationCount();
  bool allWorked = true;
  char text[256];
  for (int tick = 0; tick < 200; ++tick) {
    std::snprintf(text, sizeof(text), "lX %d lY %d", tick, -tick);
    allWorked &= SetWindowTextA(position, text) != FALSE;
    allWorked &= SetDlgItemTextA(dialog, IDC_STATUS, "Step test running") != FALSE;
    allWorked &= SetWindowTextA(edit, "5.00") != FALSE;
    allWorked &= GetWindowTextA(position, text, sizeof(text)) > 0;
    allWorked &= SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Mode")) >= 0;
    allWorked &= SendMessageA(combo, CB_SETCURSEL, 0, 0) == 0;
    SendMessageA(trackbar, TBM_SETRANGE, FALSE, MAKELONG(0, 20000));
    SendMessageA(trackbar, TBM_SETPOS, TRUE, tick * 50);
    TVINSERTSTRUCTA insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = text;
    HTREEITEM item =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    allWorked &= item != nullptr;
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    allWorked &= PostMessageA(dialog, WM_APP, 0, 0) != FALSE;
    allWorked &= host::PostInputMessage(edit, WM_KEYDOWN, VK_TAB, 1);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
      GetMessageA(&m, nullptr, 0, 0);
      if (!IsDialogMessageA(dialog, &m)) DispatchMessageA(&m);
    }
    if (tick % 20 == 19) {
      SendMessageA(combo, CB_RESETCONTENT, 0, 0);
      SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    }
  }
  uint64_t after = test_support::AllocationCount();
  EXPECT_TRUE(allWorked);
  EXPECT_EQ(after - before, 0u);
}

}  // namespace
}  // namespace window_test

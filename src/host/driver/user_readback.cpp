// What the user sees, asked of the controls through their messages.
#include "host/driver/user_driver.h"

namespace host::driver {
namespace {

void AppendTree(HWND tree, HTREEITEM item, int depth, std::string* out) {
  char text[treeItemTextRoom];
  for (; item != nullptr; item = reinterpret_cast<HTREEITEM>(
                              SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
    TVITEMA request{};
    request.mask = TVIF_TEXT | TVIF_STATE;
    request.hItem = item;
    request.stateMask = TVIS_EXPANDED;
    request.pszText = text;
    request.cchTextMax = static_cast<int>(sizeof(text));
    text[0] = '\0';
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&request));
    out->append(static_cast<size_t>(depth) * 2, ' ');
    if (request.state & TVIS_EXPANDED) out->append("[+] ");
    out->append(text);
    out->push_back('\n');
    HTREEITEM child =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    AppendTree(tree, child, depth + 1, out);
  }
}

}  // namespace

std::string Text(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) return "";
  std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  int length = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(length));
  return text;
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

LONG TrackbarPosition(HWND dialog, int id) {
  return static_cast<LONG>(SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0));
}

Range TrackbarRange(HWND dialog, int id) {
  return Range{static_cast<LONG>(SendDlgItemMessageA(dialog, id, TBM_GETRANGEMIN, 0, 0)),
               static_cast<LONG>(SendDlgItemMessageA(dialog, id, TBM_GETRANGEMAX, 0, 0))};
}

std::vector<std::string> ComboItems(HWND dialog, int id) {
  std::vector<std::string> items;
  HWND combo = GetDlgItem(dialog, id);
  if (combo == nullptr || ClassOf(combo) != ControlClass::ComboBox) return items;
  int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::string item(static_cast<size_t>(SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, '\0');
    LRESULT length = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(length > 0 ? static_cast<size_t>(length) : 0);
    items.push_back(item);
  }
  return items;
}

int ComboSelection(HWND dialog, int id) {
  HWND combo = GetDlgItem(dialog, id);
  if (combo == nullptr || ClassOf(combo) != ControlClass::ComboBox) return CB_ERR;
  return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
}

int FocusedControlId(HWND dialog) {
  HWND focus = GetFocus();
  if (focus == nullptr || !IsChild(dialog, focus)) return 0;
  return GetDlgCtrlID(focus);
}

bool IsVisible(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control != nullptr && IsWindowVisible(control);
}

bool WindowExists(HWND window) { return IsWindow(window) != FALSE; }

bool EndDialogCalled(HWND dialog) { return host::EndDialogCalled(dialog); }

std::vector<MessageBoxShown> MessageBoxes() {
  std::vector<MessageBoxShown> shown;
  for (size_t i = 0; i < MessageBoxCount(); ++i) {
    const MessageBoxRecord& r = MessageBoxAt(i);
    shown.push_back(MessageBoxShown{r.owner, r.text, r.caption, r.type});
  }
  return shown;
}

std::string TreeText(HWND dialog, int id) {
  std::string out;
  HWND tree = GetDlgItem(dialog, id);
  if (tree == nullptr || ClassOf(tree) != ControlClass::TreeView) return out;
  HTREEITEM first = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  AppendTree(tree, first, 0, &out);
  return out;
}

}  // namespace host::driver

// Push buttons, check boxes, radio buttons and group boxes (one class, told apart by the
// BS_ type in the style). A click is button down then up over the button: the focus moves
// to it on the way down, an automatic box changes its state on the way up and then the
// parent hears BN_CLICKED.
#include "host/window/window_procedure.h"

namespace host::window {
namespace {

DWORD TypeOf(const Window& w) { return w.style & BS_TYPEMASK; }

bool IsCheckable(DWORD type) {
  switch (type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return true;
    default:
      return false;
  }
}

UINT HighestState(DWORD type) { return (type == BS_3STATE || type == BS_AUTO3STATE) ? BST_INDETERMINATE : BST_CHECKED; }

// An automatic radio button clears the others of its group.
void UncheckGroupSiblings(HWND button) {
  Window* w = Find(button);
  if (w == nullptr || w->parent == nullptr) return;
  HWND next = GetNextDlgGroupItem(w->parent, button, FALSE);
  while (next != nullptr && next != button) {
    Window* other = Find(next);
    if (other == nullptr) break;
    if (other->kind == ControlClass::Button && TypeOf(*other) == BS_AUTORADIOBUTTON) {
      SendMessageA(next, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    next = GetNextDlgGroupItem(w->parent, next, FALSE);
  }
}

// Client coordinates in dialog units; a window made outside a template has no size, and
// takes any point as its own.
bool ContainsPoint(const Window& w, LPARAM point) {
  LONG width = w.dialogUnits.right - w.dialogUnits.left;
  LONG height = w.dialogUnits.bottom - w.dialogUnits.top;
  if (width <= 0 || height <= 0) return true;
  LONG x = static_cast<SHORT>(LOWORD(point));
  LONG y = static_cast<SHORT>(HIWORD(point));
  return x >= 0 && y >= 0 && x < width && y < height;
}

void Click(HWND button) {
  Window* w = Find(button);
  if (w == nullptr) return;
  switch (TypeOf(*w)) {
    case BS_AUTOCHECKBOX:
      SendMessageA(button, BM_SETCHECK, w->button.check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case BS_AUTO3STATE:
      SendMessageA(button, BM_SETCHECK, (w->button.check + 1) % 3, 0);
      break;
    case BS_AUTORADIOBUTTON:
      SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
      UncheckGroupSiblings(button);
      break;
    default:
      break;
  }
  NotifyParent(button, BN_CLICKED);
}

}  // namespace

LRESULT ButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(button);
  if (w == nullptr) return 0;
  DWORD type = TypeOf(*w);
  switch (message) {
    case WM_GETDLGCODE:
      switch (type) {
        case BS_PUSHBUTTON:
          return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON:
          return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
          return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX:
          return DLGC_STATIC;
        default:
          return DLGC_BUTTON;
      }
    case BM_GETCHECK:
      return IsCheckable(type) ? w->button.check : BST_UNCHECKED;
    case BM_SETCHECK:
      if (IsCheckable(type))
        w->button.check = wParam > HighestState(type) ? HighestState(type) : static_cast<UINT>(wParam);
      return 0;
    case BM_GETSTATE:
      return (IsCheckable(type) ? w->button.check : 0) | (w->button.pushed ? BST_PUSHED : 0) |
             (GetFocus() == button ? BST_FOCUS : 0);
    case BM_SETSTATE:
      w->button.pushed = wParam != 0;
      return 0;
    case BM_SETSTYLE:
      w->style = (w->style & ~static_cast<DWORD>(BS_TYPEMASK)) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
      return 0;
    case BM_CLICK:
      SendMessageA(button, WM_LBUTTONDOWN, 0, 0);
      SendMessageA(button, WM_LBUTTONUP, 0, 0);
      return 0;
    case WM_LBUTTONDOWN:
      // A group box lets clicks through to what lies under it.
      if (type == BS_GROUPBOX) return 0;
      SetFocus(button);
      if ((w = Find(button)) != nullptr) w->button.pushed = true;
      return 0;
    case WM_LBUTTONUP:
      if (!w->button.pushed) return 0;
      w->button.pushed = false;
      // Released off the button, the press was taken back.
      if (!ContainsPoint(*w, lParam)) return 0;
      Click(button);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && type != BS_GROUPBOX) w->button.pushed = true;
      return 0;
    case WM_KEYUP:
      if (wParam != VK_SPACE || !w->button.pushed) return 0;
      w->button.pushed = false;
      Click(button);
      return 0;
    case WM_SETFOCUS:
      if (w->style & BS_NOTIFY) NotifyParent(button, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      w->button.pushed = false;
      if (w->style & BS_NOTIFY) NotifyParent(button, BN_KILLFOCUS);
      return 0;
    default:
      return DefaultWindowProcedure(button, message, wParam, lParam);
  }
}

}  // namespace host::window

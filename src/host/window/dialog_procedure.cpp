// The window procedure of dialogs: the DLGPROC first and, when it returns FALSE, the
// default dialog handling (DefDlgProc): the close box and WM_CLOSE turn into IDCANCEL,
// activation saves and restores the focused control, WM_NEXTDLGCTL moves the focus,
// DM_GETDEFID/DM_SETDEFID keep the default push button.
#include "host/window/focus.h"
#include "host/window/window_procedure.h"

namespace host::window {
namespace {

// Messages whose handled result is the DLGPROC's return value itself; for the others it
// would be DWLP_MSGRESULT, which the host leaves at 0.
bool ReturnsProcedureResult(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case 0x002E:  // WM_VKEYTOITEM
    case 0x002F:  // WM_CHARTOITEM
    case 0x0037:  // WM_QUERYDRAGICON
    case 0x0039:  // WM_COMPAREITEM
      return true;
    default:
      return message >= 0x0132 && message <= 0x0138;  // WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC
  }
}

bool CanTakeFocus(const Window& w) {
  return (w.style & WS_VISIBLE) != 0 && (w.style & WS_DISABLED) == 0 && !w.destroying;
}

// Selects an edit box's text as the dialog manager does when it moves the focus there.
void SetFocusAsDialog(HWND control) {
  if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

void SaveFocus(HWND dialog) {
  HWND focus = GetFocus();
  if (focus != nullptr && IsDescendant(dialog, focus)) Find(dialog)->dialog.savedFocus = focus;
}

void RestoreFocus(HWND dialog, bool justActivated) {
  Window* w = Find(dialog);
  if (w == nullptr || IsIconic(dialog) || w->dialog.ended) return;
  HWND target = w->dialog.savedFocus;
  if (Find(target) == nullptr || target == dialog) {
    if (justActivated) return;
    target = GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (target == nullptr) target = dialog;
  }
  w->dialog.savedFocus = nullptr;
  if (justActivated) {
    SetFocus(target);
  } else {
    SetFocusAsDialog(target);
  }
}

HWND DefaultButton(HWND dialog) {
  Window* w = Find(dialog);
  for (HWND child = w->firstChild; child != nullptr; child = Find(child)->nextSibling) {
    if (SendMessageA(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return child;
  }
  return nullptr;
}

void SetDefaultId(HWND dialog, int id) {
  Window* w = Find(dialog);
  HWND previous = w->dialog.defaultId != 0 ? GetDlgItem(dialog, w->dialog.defaultId) : nullptr;
  HWND next = GetDlgItem(dialog, id);
  w->dialog.defaultId = id;
  // The buttons change their look: the old default becomes a plain push button.
  if (previous != nullptr && previous != next && (SendMessageA(previous, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
    SendMessageA(previous, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  if (next != nullptr && (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON)) {
    SendMessageA(next, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
}

LRESULT DefaultDialogHandling(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(dialog);
  switch (message) {
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (cancel == nullptr || IsWindowEnabled(cancel)) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        RestoreFocus(dialog, true);
      } else {
        SaveFocus(dialog);
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(dialog, false);
      return 0;
    case WM_NEXTDLGCTL: {
      HWND target = reinterpret_cast<HWND>(wParam);
      if (LOWORD(lParam) == 0) target = GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
      if (target != nullptr) SetFocusAsDialog(target);
      return 0;
    }
    case DM_GETDEFID: {
      if (w->dialog.ended) return 0;
      if (w->dialog.defaultId != 0) return MAKELRESULT(w->dialog.defaultId, DC_HASDEFID);
      HWND button = DefaultButton(dialog);
      return button != nullptr ? MAKELRESULT(GetDlgCtrlID(button), DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
      SetDefaultId(dialog, static_cast<int>(wParam));
      return TRUE;
    case WM_SETFONT:
      w->dialog.font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->dialog.font);
    default:
      return DefaultWindowProcedure(dialog, message, wParam, lParam);
  }
}

// The children of `parent` in z-order, as a cycle starting after `from` (or at the start).
HWND NextChild(Window& parent, HWND from, bool previous) {
  if (from == nullptr) return previous ? parent.lastChild : parent.firstChild;
  Window* w = Find(from);
  HWND next = previous ? w->previousSibling : w->nextSibling;
  if (next == nullptr) next = previous ? parent.lastChild : parent.firstChild;
  return next;
}

bool StartsGroup(HWND child) { return (Find(child)->style & WS_GROUP) != 0; }

}  // namespace

LRESULT DialogWindowProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(dialog);
  DLGPROC procedure = w->dialogProcedure;
  INT_PTR result = procedure != nullptr ? procedure(dialog, message, wParam, lParam) : FALSE;
  if (result != FALSE) return ReturnsProcedureResult(message) ? result : 0;
  if (Find(dialog) == nullptr) return 0;
  return DefaultDialogHandling(dialog, message, wParam, lParam);
}

}  // namespace host::window

using host::window::Find;
using host::window::Window;

HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  Window* d = Find(dialog);
  if (d == nullptr || d->firstChild == nullptr) return nullptr;
  if (control != nullptr && (Find(control) == nullptr || Find(control)->parent != dialog)) control = nullptr;
  // A null start is the end of the list: the search wraps round to its beginning.
  HWND start = control != nullptr ? control : (previous ? d->firstChild : d->lastChild);
  HWND candidate = host::window::NextChild(*d, start, previous);
  for (;;) {
    Window* c = Find(candidate);
    if ((c->style & WS_TABSTOP) && host::window::CanTakeFocus(*c)) return candidate;
    if (candidate == start) break;
    candidate = host::window::NextChild(*d, candidate, previous);
  }
  return control;
}

HWND WINAPI GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  Window* d = Find(dialog);
  if (d == nullptr || d->firstChild == nullptr) return nullptr;
  if (control == nullptr || Find(control) == nullptr || Find(control)->parent != dialog) control = d->firstChild;
  // The group runs from a WS_GROUP control up to the next one.
  HWND first = control;
  while (!host::window::StartsGroup(first) && Find(first)->previousSibling != nullptr)
    first = Find(first)->previousSibling;
  HWND last = control;
  for (HWND next = Find(last)->nextSibling; next != nullptr && !host::window::StartsGroup(next);
       next = Find(next)->nextSibling) {
    last = next;
  }
  HWND candidate = control;
  for (;;) {
    Window* c = Find(candidate);
    if (previous) {
      candidate = candidate == first ? last : c->previousSibling;
    } else {
      candidate = candidate == last ? first : c->nextSibling;
    }
    if (candidate == control) return control;
    if (host::window::CanTakeFocus(*Find(candidate))) return candidate;
  }
}

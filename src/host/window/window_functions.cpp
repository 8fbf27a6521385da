// The Win32 window functions over the window table: messages sent at once, texts, child
// lookup, visibility, enabling, focus and destruction.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/window/focus.h"
#include "host/window/last_error.h"
#include "host/window/message_queue.h"
#include "host/window/window_procedure.h"

using host::window::Find;
using host::window::Window;

namespace {

// Another application's top-level window: never one of ours (our handles have a non-zero
// low word).
HWND const otherApplicationWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x00EE0000));

// WM_DESTROY goes to the window before its children, the children being still there.
void SendDestroy(HWND window) {
  SendMessageA(window, WM_DESTROY, 0, 0);
  Window* w = Find(window);
  for (HWND child = w != nullptr ? w->firstChild : nullptr; child != nullptr;) {
    SendDestroy(child);
    Window* c = Find(child);
    child = c != nullptr ? c->nextSibling : nullptr;
  }
}

// WM_NCDESTROY goes to the children first; then the slot is freed.
void FinishDestroy(HWND window) {
  Window* w = Find(window);
  if (w == nullptr) return;
  while (w->firstChild != nullptr) {
    FinishDestroy(w->firstChild);
    w = Find(window);
  }
  SendMessageA(window, WM_NCDESTROY, 0, 0);
  host::window::DetachClassStorage(window);
  host::window::DropMessagesFor(window);
  host::window::ForgetFocusOf(window);
  host::window::FreeWindowSlot(window);
}

void MarkDestroying(HWND window) {
  Window* w = Find(window);
  w->destroying = true;
  for (HWND child = w->firstChild; child != nullptr; child = Find(child)->nextSibling) MarkDestroying(child);
}

const char* ClassName(host::ControlClass kind) {
  switch (kind) {
    case host::ControlClass::Dialog:
      return "#32770";
    case host::ControlClass::Static:
      return WC_STATICA;
    case host::ControlClass::Button:
      return WC_BUTTONA;
    case host::ControlClass::Edit:
      return WC_EDITA;
    case host::ControlClass::ComboBox:
      return WC_COMBOBOXA;
    case host::ControlClass::Trackbar:
      return TRACKBAR_CLASSA;
    case host::ControlClass::TreeView:
      return WC_TREEVIEWA;
  }
  return "";
}

}  // namespace

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return host::window::CallWindowProcedure(window, message, wParam, lParam);
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
  Window* d = Find(dialog);
  if (d == nullptr) return nullptr;
  for (HWND child = d->firstChild; child != nullptr; child = Find(child)->nextSibling) {
    if (Find(child)->id == id) return child;
  }
  return nullptr;
}

int WINAPI GetDlgCtrlID(HWND control) {
  Window* w = Find(control);
  return (w != nullptr && w->parent != nullptr) ? w->id : 0;
}

HWND WINAPI GetParent(HWND window) {
  Window* w = Find(window);
  if (w == nullptr) return nullptr;
  return w->parent != nullptr ? w->parent : w->owner;
}

BOOL WINAPI IsChild(HWND parent, HWND window) { return host::window::IsDescendant(parent, window) ? TRUE : FALSE; }

BOOL WINAPI IsWindow(HWND window) {
  return (Find(window) != nullptr || window == otherApplicationWindow) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND window) {
  for (Window* w = Find(window); w != nullptr; w = Find(w->parent)) {
    if ((w->style & WS_VISIBLE) == 0) return FALSE;
    if (w->parent == nullptr) return TRUE;
  }
  return FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND window) {
  Window* w = Find(window);
  return (w != nullptr && (w->style & WS_DISABLED) == 0) ? TRUE : FALSE;
}

BOOL WINAPI EnableWindow(HWND window, BOOL enable) {
  Window* w = Find(window);
  if (w == nullptr) return FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
  if (enable && wasDisabled) {
    w->style &= ~static_cast<DWORD>(WS_DISABLED);
    SendMessageA(window, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    w->style |= WS_DISABLED;
    // A disabled window cannot keep the focus.
    HWND focus = GetFocus();
    if (focus == window || host::window::IsDescendant(window, focus)) SetFocus(nullptr);
    SendMessageA(window, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

BOOL WINAPI ShowWindow(HWND window, int command) {
  Window* w = Find(window);
  if (w == nullptr) return FALSE;
  BOOL wasVisible = (w->style & WS_VISIBLE) != 0;
  bool topLevel = w->parent == nullptr;
  if (command == SW_HIDE) {
    if (!wasVisible) return FALSE;
    SendMessageA(window, WM_SHOWWINDOW, FALSE, 0);
    if ((w = Find(window)) == nullptr) return wasVisible;
    w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    if (topLevel) {
      host::window::ActivateOtherWindow(window);
    } else {
      // A hidden control hands the focus to its parent.
      HWND focus = GetFocus();
      if (focus == window || host::window::IsDescendant(window, focus)) SetFocus(w->parent);
    }
    return wasVisible;
  }
  if (!wasVisible) {
    SendMessageA(window, WM_SHOWWINDOW, TRUE, 0);
    if ((w = Find(window)) == nullptr) return wasVisible;
  }
  w->style |= WS_VISIBLE;
  switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      w->style |= WS_MINIMIZE;
      if (topLevel) host::window::ActivateOtherWindow(window);
      return wasVisible;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
      return wasVisible;
    case SW_SHOW:
      break;
    default:  // SW_SHOWNORMAL, SW_RESTORE, SW_SHOWDEFAULT, SW_SHOWMAXIMIZED
      w->style &= ~static_cast<DWORD>(WS_MINIMIZE);
      break;
  }
  if (topLevel && !host::window::OtherApplicationHasForeground()) host::window::ActivateWindow(window, nullptr, true);
  return wasVisible;
}

BOOL WINAPI IsIconic(HWND window) {
  Window* w = Find(window);
  return (w != nullptr && (w->style & WS_MINIMIZE) != 0) ? TRUE : FALSE;
}

int WINAPI GetClassNameA(HWND window, LPSTR buffer, int room) {
  Window* w = Find(window);
  if (w == nullptr || room <= 0) return 0;
  const char* name = ClassName(w->kind);
  return static_cast<int>(host::window::CopyTextOut(name, std::strlen(name), buffer, static_cast<size_t>(room)));
}

LONG WINAPI GetWindowLongA(HWND window, int index) {
  Window* w = Find(window);
  if (w == nullptr) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(w->exStyle);
    case GWL_ID:
      return w->id;
    default:
      return 0;
  }
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
  if (Find(window) == nullptr) return FALSE;
  return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND window, LPSTR buffer, int room) {
  if (Find(window) == nullptr || buffer == nullptr || room <= 0) return 0;
  return static_cast<int>(
      SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(room), reinterpret_cast<LPARAM>(buffer)));
}

int WINAPI GetWindowTextLengthA(HWND window) {
  if (Find(window) == nullptr) return 0;
  return static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) { return SetWindowTextA(GetDlgItem(dialog, id), text); }

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int room) {
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) {
    if (buffer != nullptr && room > 0) buffer[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(item, buffer, room));
}

BOOL WINAPI SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char text[16];
  if (isSigned) {
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(value));
  } else {
    std::snprintf(text, sizeof(text), "%u", value);
  }
  return SetDlgItemTextA(dialog, id, text);
}

UINT WINAPI GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated != nullptr) *translated = FALSE;
  char text[64];
  if (GetDlgItemTextA(dialog, id, text, sizeof(text)) == 0) return 0;
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = isSigned && *p == '-';
  if (negative) ++p;
  if (*p < '0' || *p > '9') return 0;
  unsigned long long value = 0;
  while (*p >= '0' && *p <= '9') {
    value = value * 10 + static_cast<unsigned>(*p++ - '0');
    if (value > (isSigned ? 0x80000000ull : 0xFFFFFFFFull)) return 0;
  }
  while (*p == ' ' || *p == '\t') ++p;
  if (*p != '\0' || (isSigned && !negative && value > 0x7FFFFFFFull)) return 0;
  if (translated != nullptr) *translated = TRUE;
  return negative ? static_cast<UINT>(-static_cast<long long>(value)) : static_cast<UINT>(value);
}

BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND button = GetDlgItem(dialog, id);
  if (button == nullptr) return FALSE;
  SendMessageA(button, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  return button != nullptr ? static_cast<UINT>(SendMessageA(button, BM_GETCHECK, 0, 0)) : 0;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  return item != nullptr ? SendMessageA(item, message, wParam, lParam) : 0;
}

HWND WINAPI GetFocus() { return host::window::FocusWindow(); }

HWND WINAPI SetFocus(HWND window) {
  if (window == nullptr) return host::window::MoveFocus(nullptr);
  if (Find(window) == nullptr) return nullptr;
  // Neither a minimised or disabled window nor anything inside one takes the focus.
  for (Window* w = Find(window); w != nullptr; w = Find(w->parent)) {
    if (w->style & (WS_MINIMIZE | WS_DISABLED)) return nullptr;
  }
  HWND top = host::window::TopLevelOf(window);
  if (top != host::window::ActiveWindow()) {
    host::window::ActivateWindow(top, nullptr, false);
    if (Find(window) == nullptr || host::window::ActiveWindow() != top) return nullptr;
  }
  return host::window::MoveFocus(window);
}

HWND WINAPI GetActiveWindow() { return host::window::ActiveWindow(); }

HWND WINAPI GetForegroundWindow() {
  if (host::window::OtherApplicationHasForeground()) return otherApplicationWindow;
  return host::window::ActiveWindow();
}

BOOL WINAPI DestroyWindow(HWND window) {
  Window* w = Find(window);
  if (w == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (w->destroying) return TRUE;
  bool topLevel = w->parent == nullptr;
  if (w->style & WS_VISIBLE) {
    if (topLevel) {
      // Hidden without WM_SHOWWINDOW, as SetWindowPos hides it.
      w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    } else {
      ShowWindow(window, SW_HIDE);
    }
  }
  if (topLevel) host::window::ActivateOtherWindow(window);
  if ((w = Find(window)) == nullptr || w->destroying) return TRUE;
  HWND focus = host::window::FocusWindow();
  if (focus == window || host::window::IsDescendant(window, focus)) host::window::ForgetFocusOf(focus);
  MarkDestroying(window);
  SendDestroy(window);
  FinishDestroy(window);
  return TRUE;
}

namespace host {

HWND OtherApplicationWindow() { return otherApplicationWindow; }

void ActivateOtherApplication(bool minimise) {
  HWND active = window::ActiveWindow();
  if (active != nullptr && minimise) {
    if (Window* w = Find(active)) w->style |= WS_MINIMIZE;
  }
  window::DeactivateAll(otherApplicationWindow);
  window::SetOtherApplicationHasForeground(true);
}

bool ActivateFromOtherApplication(HWND target) {
  HWND top = window::TopLevelOf(target);
  Window* w = Find(top);
  // A hidden window is nowhere a user could click or switch to.
  if (w == nullptr || (w->style & WS_VISIBLE) == 0) return false;
  w->style &= ~static_cast<DWORD>(WS_MINIMIZE);
  window::ActivateWindow(top, otherApplicationWindow, true);
  return true;
}

bool OtherApplicationActive() { return window::OtherApplicationHasForeground(); }

}  // namespace host

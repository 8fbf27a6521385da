#include "host/window/focus.h"

#include "host/window/window_procedure.h"

namespace host::window {
namespace {

HWND focus = nullptr;
HWND active = nullptr;
bool otherApplicationForeground = false;
// The thread WM_ACTIVATEAPP names for the other application.
constexpr LPARAM otherApplicationThread = 0x1F00;

void SendActivateApp(BOOL activating) {
  for (HWND top = NextTopLevel(nullptr); top != nullptr; top = NextTopLevel(top)) {
    SendMessageA(top, WM_ACTIVATEAPP, static_cast<WPARAM>(activating), otherApplicationThread);
  }
}

WPARAM ActivateParameter(WORD state, HWND window) { return MAKEWPARAM(state, IsIconic(window) ? 1 : 0); }

// Tells `previous` it is no longer the active window.
void SendDeactivation(HWND previous, HWND next) {
  if (Find(previous) == nullptr) return;
  SendMessageA(previous, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(next));
  SendMessageA(previous, WM_ACTIVATE, ActivateParameter(WA_INACTIVE, previous), reinterpret_cast<LPARAM>(next));
}

}  // namespace

HWND FocusWindow() {
  if (focus != nullptr && Find(focus) == nullptr) focus = nullptr;
  return focus;
}

HWND ActiveWindow() {
  if (active != nullptr && Find(active) == nullptr) active = nullptr;
  return active;
}

HWND MoveFocus(HWND window) {
  HWND previous = FocusWindow();
  if (previous == window) return previous;
  focus = window;
  if (previous != nullptr) {
    SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    // A handler that moved the focus elsewhere wins.
    if (FocusWindow() != window) return previous;
  }
  if (window != nullptr && Find(window) != nullptr) {
    SendMessageA(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  }
  return previous;
}

void ActivateWindow(HWND top, HWND previousFromOtherApplication, bool setFocus) {
  HWND previous = ActiveWindow();
  if (previous == top) return;
  SendDeactivation(previous, top);
  active = top;
  if (previous == nullptr) {
    otherApplicationForeground = false;
    SendActivateApp(TRUE);
  }
  if (Find(top) == nullptr || ActiveWindow() != top) return;
  HWND before = previous != nullptr ? previous : previousFromOtherApplication;
  SendMessageA(top, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(before));
  SendMessageA(top, WM_ACTIVATE, ActivateParameter(WA_ACTIVE, top), reinterpret_cast<LPARAM>(before));
  if (!setFocus || ActiveWindow() != top) return;
  HWND current = FocusWindow();
  if (current == nullptr || TopLevelOf(current) != top) MoveFocus(top);
}

void DeactivateAll(HWND other) {
  HWND previous = ActiveWindow();
  if (previous == nullptr) return;
  SendDeactivation(previous, other);
  active = nullptr;
  SendActivateApp(FALSE);
  MoveFocus(nullptr);
}

void ActivateOtherWindow(HWND leaving) {
  if (ActiveWindow() != leaving) return;
  for (HWND top = NextTopLevel(nullptr); top != nullptr; top = NextTopLevel(top)) {
    Window* w = Find(top);
    if (top == leaving || w->destroying || (w->style & WS_VISIBLE) == 0 || (w->style & WS_DISABLED) != 0) continue;
    ActivateWindow(top, nullptr, true);
    return;
  }
  DeactivateAll(nullptr);
}

void ForgetFocusOf(HWND window) {
  if (focus == window) focus = nullptr;
  if (active == window) active = nullptr;
}

void ResetFocus() {
  focus = nullptr;
  active = nullptr;
  otherApplicationForeground = false;
}

bool OtherApplicationHasForeground() { return otherApplicationForeground; }
void SetOtherApplicationHasForeground(bool other) { otherApplicationForeground = other; }

}  // namespace host::window

// Keyboard focus and window activation, as the system moves them: SetFocus activates the
// window's top-level window first; activation sends WM_ACTIVATEAPP (when the application
// becomes or stops being the active one), WM_NCACTIVATE and WM_ACTIVATE; focus moves send
// WM_KILLFOCUS to the old window before WM_SETFOCUS to the new.
#pragma once

#include "host/window/window_table.h"

namespace host::window {

HWND FocusWindow();
HWND ActiveWindow();
// Moves the focus without activating anything (the system's internal step).
HWND MoveFocus(HWND window);
// Makes `top` the active window. With setFocus, the focus then goes to `top` unless it is
// already inside it (WM_SETFOCUS to a dialog puts it on a control).
void ActivateWindow(HWND top, HWND previousFromOtherApplication, bool setFocus);
// No window of ours is active any more: the other application's `other` is, or none.
void DeactivateAll(HWND other);
// A top-level window was hidden or is going away: if it was active, another visible one of
// ours becomes active, or none.
void ActivateOtherWindow(HWND leaving);
// Forgets a window being destroyed (no messages).
void ForgetFocusOf(HWND window);
void ResetFocus();
bool OtherApplicationHasForeground();
void SetOtherApplicationHasForeground(bool other);

}  // namespace host::window

// Delivery of a message to a window's procedure: a dialog's DLGPROC wrapped in the default
// dialog handling, or the built-in behaviour of a control class.
#pragma once

#include "host/window/window_table.h"

namespace host::window {

LRESULT CallWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// What DefWindowProc does for the messages the host models: texts, WM_NOTIFYFORMAT,
// WM_NCACTIVATE, the close box and SC_CLOSE, WM_CLOSE (destroys the window).
LRESULT DefaultWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// WM_COMMAND(MAKEWPARAM(id, code), control), sent to the control's parent.
void NotifyParent(HWND control, UINT code);
// WM_NOTIFY from a common control; fills hwndFrom and idFrom.
LRESULT NotifyParent(HWND control, NMHDR* header, UINT code);

// The class procedures.
LRESULT DialogWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TrackbarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TreeViewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A new tree view's hidden root item; false when the item pool is full.
bool AttachTreeRoot(HWND tree);
// Storage a class keeps outside the window slot: false when it is full.
bool AttachClassStorage(HWND window);
void DetachClassStorage(HWND window);
void ResetClassStorage();

}  // namespace host::window

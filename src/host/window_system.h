// Host stand-in for the window calls the program makes: a headless model of windows
// and the controls of its dialog. Texts and lists live in fixed storage, so the
// readouts the tick writes never allocate.
#pragma once

#include <cstddef>

#include "host/win32_base.h"

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define WM_DESTROY 0x0002
#define WM_CLOSE 0x0010

#define CB_ERR (-1)
#define CB_GETEDITSEL 0x0140
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_RESETCONTENT 0x014B
#define CB_SETCURSEL 0x014E

#define MB_OK 0x00000000L
#define MB_ICONERROR 0x00000010L
#define MB_ICONHAND MB_ICONERROR
#define IDOK 1
#define IDCANCEL 2

HWND WINAPI GetDlgItem(HWND dialog, int id);
LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text);
int WINAPI GetWindowTextA(HWND window, LPSTR buffer, int room);
BOOL WINAPI DestroyWindow(HWND window);
BOOL WINAPI IsWindow(HWND window);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

namespace host {

inline constexpr size_t windowTextRoom = 1024;
inline constexpr size_t comboItemRoom = 64;
inline constexpr size_t comboItemTextRoom = 260;

enum class ControlClass { Dialog, Static, Button, Edit, ComboBox, Trackbar, TreeView };

// A top-level window with a dialog procedure; controls are added to it by id.
HWND CreateHostDialog(DLGPROC procedure);
HWND AddHostControl(HWND dialog, int id, ControlClass kind, const char* text = "");
// Forgets every window (test isolation).
void ResetWindowSystem();

struct MessageBoxRecord {
  HWND owner;
  char text[windowTextRoom];
  char caption[windowTextRoom];
  UINT type;
};
size_t MessageBoxCount();
const MessageBoxRecord& MessageBoxAt(size_t index);

// What a user sees in a combo box.
int ComboItemCount(HWND combo);
const char* ComboItemText(HWND combo, int index);
int ComboSelection(HWND combo);

}  // namespace host

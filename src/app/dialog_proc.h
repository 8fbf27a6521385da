// The dialog procedure of dialog 102: turns window messages into settings, device
// operations and requests that the next tick carries out.
#pragma once

#include "platform/platform.h"

extern HDEVNOTIFY deviceNotification;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

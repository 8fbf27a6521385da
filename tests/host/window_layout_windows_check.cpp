// Compiled only by the MinGW-w64 cross compiler, never linked: holds the real <windows.h>,
// <commctrl.h> and <dbt.h> to the numbers in window_layout_checks.h, the same numbers the
// host's window declarations must meet.
//   x86_64-w64-mingw32-g++-posix -std=c++20 -Wall -Wextra -Werror -fsyntax-only
//       -I src -I tests tests/host/window_layout_windows_check.cpp
#ifndef _WIN32
#error "This check is for the Windows headers; the host build runs window_layout_test.cpp"
#endif

#include <windows.h>
#include <commctrl.h>
#include <dbt.h>

#include "host/window_layout_checks.h"

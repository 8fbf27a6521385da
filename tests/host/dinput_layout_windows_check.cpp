// Compiled only by the MinGW-w64 cross compiler, never linked: holds the real <dinput.h> to
// the numbers in dinput_layout_checks.h, the same numbers the host declarations must meet.
//   x86_64-w64-mingw32-g++-posix -std=c++20 -Wall -Wextra -Werror -fsyntax-only
//       -I src -I tests tests/host/dinput_layout_windows_check.cpp
#ifndef _WIN32
#error "This check is for the Windows headers; the host build runs dinput_layout_test.cpp"
#endif

#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

// Each DEFINE_GUID in <dinput.h> becomes a constexpr copy named NAME_fromHeader, so its
// value can be compared at compile time.
#undef DEFINE_GUID
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  constexpr GUID name##_fromHeader = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};
#include <dinput.h>
// The driver-defined error range is declared with the driver interfaces.
#include <dinputd.h>

#include "host/dinput_layout_checks.h"

namespace {

constexpr bool SameGuid(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i) {
    if (a.Data4[i] != b.Data4[i]) return false;
  }
  return true;
}

#define VANTREL_CHECK_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  static_assert(SameGuid(name##_fromHeader, GUID{l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}), #name " value");
VANTREL_DINPUT_GUIDS(VANTREL_CHECK_GUID)
#undef VANTREL_CHECK_GUID

}  // namespace

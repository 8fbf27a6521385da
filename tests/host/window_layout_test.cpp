// The host's window-system declarations against the numbers 64-bit Windows uses (the
// static checks of window_layout_checks.h run as this file compiles; the windows preset
// holds MinGW's headers to the same numbers), and the packing macros at run time.
#include <gtest/gtest.h>

#include "platform/platform.h"

#include "host/window_layout_checks.h"

namespace {

TEST(WindowDeclarations, ResourceAndParameterMacrosPackAsOnWindows) {
  EXPECT_EQ(reinterpret_cast<uintptr_t>(MAKEINTRESOURCEA(102)), 102u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(MAKEINTRESOURCEA(0x12345)), 0x2345u);
  EXPECT_TRUE(IS_INTRESOURCE(MAKEINTRESOURCEA(102)));
  EXPECT_FALSE(IS_INTRESOURCE("named"));
  EXPECT_EQ(MAKEWPARAM(1052, EN_KILLFOCUS), 0x02000000u | 1052u);
  EXPECT_EQ(MAKELPARAM(0xFFFF, 1), 0x0001FFFF);
  EXPECT_EQ(MAKELRESULT(41, DC_HASDEFID), 0x534B0029);
  EXPECT_EQ(LOWORD(MAKEWPARAM(static_cast<WORD>(-1), 0)), 0xFFFF);
  // The tree-view insertion handles are high values no item handle ever takes.
  EXPECT_EQ(reinterpret_cast<uintptr_t>(TVI_ROOT), static_cast<uintptr_t>(-0x10000));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(TVI_LAST), static_cast<uintptr_t>(-0x0FFFE));
}

TEST(WindowDeclarations, TheHidInterfaceClassHasItsPublishedValue) {
  const GUID hid = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
  EXPECT_TRUE(IsEqualGUID(host::hidDeviceInterfaceClass, hid));
}

}  // namespace

#include "program_controls.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/control_ids.h"
#include "remote_window.h"

namespace {

// The offset trackbars run 0..20000 with the centre at 10000.
constexpr int offsetTrackbarCentre = 10000;

}  // namespace

void SelectMode(HWND dialog, int mode) {
  HWND combo = GetDlgItem(dialog, IDC_MODE);
  remote::Send(combo, CB_SETCURSEL, mode, 0);
  remote::Send(dialog, WM_COMMAND, MAKEWPARAM(IDC_MODE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

bool WaitForDisabled(HWND dialog, DWORD timeoutMs) {
  HWND combo = GetDlgItem(dialog, IDC_MODE);
  return remote::WaitUntil([&] { return remote::Send(combo, CB_GETCURSEL, 0, 0).value_or(-1) == 0; }, timeoutMs);
}

void SetOffsetX(HWND dialog, int offset) {
  HWND trackbar = GetDlgItem(dialog, IDC_OFFSET_X);
  LPARAM position = offsetTrackbarCentre + offset;
  remote::Send(trackbar, TBM_SETPOS, TRUE, position);
  remote::Send(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(trackbar));
}

std::optional<int> PositionX(HWND dialog) {
  std::optional<std::string> text = remote::Text(GetDlgItem(dialog, IDC_POSITION));
  int x = 0, y = 0, rawX = 0, rawY = 0;
  if (!text || std::sscanf(text->c_str(), "(%d, %d) (%d, %d)", &x, &y, &rawX, &rawY) != 4) return std::nullopt;
  return x;
}

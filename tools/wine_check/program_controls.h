// The program's controls as the HID wheel's checks use them: modes, the X offset, the readouts.
#pragma once

#include <windows.h>

#include <optional>

// Selects a mode in the mode combo the way a user's pick notifies the dialog.
void SelectMode(HWND dialog, int mode);
// Waits until the mode combo shows "Disabled" (mode 0), as a test does when it ends.
bool WaitForDisabled(HWND dialog, DWORD timeoutMs);
// Moves the "Offset X" trackbar to `offset` (-10000..10000) as a drag would end.
void SetOffsetX(HWND dialog, int offset);
// posX of the position readout "(posX, posY) (lX, lY)".
std::optional<int> PositionX(HWND dialog);

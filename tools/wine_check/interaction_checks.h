// What the dialog does when a user types into its boxes and picks a mode.
#pragma once

#include <windows.h>

#include "check_log.h"

// Typing into a box and leaving it with Tab commits the box: the text is parsed, limited and
// written back, and whatever depends on it follows.
void CheckEditCommits(CheckLog& log, HWND dialog);

// Enter in a box presses the hidden default button, which commits the focused box.
void CheckEnterCommit(CheckLog& log, HWND dialog);

// Choosing a mode in the combo sets the mode's saturation range.
void CheckModeSelection(CheckLog& log, HWND dialog);

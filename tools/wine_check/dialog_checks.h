// What the dialog shows right after start-up: its controls, their classes, visibility and values.
#pragma once

#include <windows.h>

#include "check_log.h"

// Every id of control_ids.h is there with its class; the two hidden buttons are hidden, the rest
// shown; no control of the dialog is missing from the table below.
void CheckControls(CheckLog& log, HWND dialog);

// The initial texts, combo lists and trackbar ranges a user sees before touching anything.
void CheckInitialState(CheckLog& log, HWND dialog);

// The program on the HID wheel through Wine's own DirectInput: the wheel is listed, opened and
// reported, the force modes turn it the right way, and the linear force test finds its
// break-away. (The spring, the minimum-force result, the step test and the close during a test
// are the virtual wheel's checks, run here too: the wheel's physics are the same.)
#pragma once

#include <windows.h>

#include "check_log.h"

constexpr char hidWheelName[] = "Vantrel HID Wheel";

// The device combo lists the HID wheel first; the report is its: two axes, twelve buttons, a
// hat, X a force-feedback actuator, "FFB Info:" with the five effect types, the program's
// effects created.
void CheckHidWheelOpened(CheckLog& log, HWND dialog);
// "Force Spring" and "Force Spring (PID)", which push with the constant force alone, bring the
// wheel to an offset on either side of the centre.
void CheckForceModesTurnTheWheel(CheckLog& log, HWND dialog);
// "Min force" names the wheel's break-away force (the virtual wheel's check) and leaves one new
// log with its header and ramp rows.
void CheckMinForceResultAndLog(CheckLog& log, HWND dialog);
// The linear force test ends in "Disabled" with a log whose first step that moved the wheel is
// the first above its break-away force.
void CheckLinearForceLog(CheckLog& log, HWND dialog);

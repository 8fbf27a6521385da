// The program on the virtual wheel DLL, end to end: the wheel is listed and reported, a force
// mode moves it, and the measurement tests end with their result and their logs.
#pragma once

#include <windows.h>

#include "check_log.h"
#include "program_process.h"

constexpr char virtualWheelName[] = "Vantrel Virtual Wheel";

// The device combo lists the virtual wheel first, and the report is its, with "FFB Info:".
void CheckVirtualWheelOpened(CheckLog& log, HWND dialog);
// "Simple Spring" with an X offset turns the wheel toward the offset within a few seconds.
void CheckSpringMovesTheWheel(CheckLog& log, HWND dialog);
// "Min force" ends in "Disabled" and names the wheel's break-away force within one step.
void CheckMinForceResult(CheckLog& log, HWND dialog);
// The step test ends in "Disabled" and leaves one new log with the right header, rows and
// phases in the documents folder.
void CheckStepTestLog(CheckLog& log, HWND dialog);
// WM_CLOSE while the step test runs: exit code 0, and the log holds whole rows up to there.
void CheckCloseDuringTest(CheckLog& log, ProgramProcess& program, HWND dialog);

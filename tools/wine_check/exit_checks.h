// Ending the program: the close box and Escape both end the process, with exit code 0.
#pragma once

#include <windows.h>

#include "check_log.h"
#include "program_process.h"

void CheckCloseBox(CheckLog& log, ProgramProcess& program, HWND dialog);

// Escape pressed in a focused box reaches the dialog manager through the program's loop.
void CheckEscape(CheckLog& log, ProgramProcess& program, HWND dialog);

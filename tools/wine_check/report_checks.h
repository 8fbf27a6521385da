// The device report the program builds into its tree view on its first tick with a device open,
// and the debug trace it writes meanwhile.
#pragma once

#include <windows.h>

#include "check_log.h"
#include "debug_output.h"

// The tree holds one report, of the selected device, with its identity and object groups, and
// the program traced no failure of a call that Wine implements. debugOutput follows the program.
// verbose prints the tree and the trace as read.
void CheckReport(CheckLog& log, HWND dialog, DebugOutputListener& debugOutput, bool verbose);
// The program traced no failure of a call that Wine implements, up to now.
void CheckTraceHasNoFailures(CheckLog& log, DebugOutputListener& debugOutput, bool verbose);

// Host stand-in for the console control handler: Ctrl+C reaches a console program's handlers
// as CTRL_C_EVENT. On the host that is SIGINT, and a test can deliver the event directly.
#pragma once

#include "host/win32_base.h"

#define CTRL_C_EVENT 0
#define CTRL_BREAK_EVENT 1
typedef BOOL(WINAPI* PHANDLER_ROUTINE)(DWORD ctrlType);

// Adds (add TRUE) or removes a handler; the most recently added is asked first. With a null
// handler, add TRUE makes Ctrl+C ignored and FALSE restores it, as on Windows.
BOOL WINAPI SetConsoleCtrlHandler(PHANDLER_ROUTINE handler, BOOL add);

namespace host {

// Asks the handlers in turn until one answers TRUE; false when none did (Windows would then
// end the process; the host leaves that to the caller).
bool DeliverConsoleControl(DWORD ctrlType);
// Removes every handler and restores SIGINT's default action.
void ResetConsoleHandlers();

}  // namespace host

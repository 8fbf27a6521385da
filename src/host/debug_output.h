// Host stand-in for the debug-output channel: OutputDebugStringA writes to standard
// error and keeps every call in a capture buffer that tests read and clear.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "host/win32_base.h"

void WINAPI OutputDebugStringA(LPCSTR text);

namespace host {

// Number of OutputDebugStringA calls captured since the last clear.
size_t DebugOutputCallCount();
// The text of one captured call, in call order.
std::string_view DebugOutputCall(size_t index);
// All captured calls joined, as a debugger would show them.
std::string DebugOutputText();
void ClearDebugOutput();
// Whether calls are echoed to standard error (on by default).
void SetDebugOutputEcho(bool echo);

}  // namespace host

// The program's only log: one line per call on the platform's debug-output channel.
#pragma once

#include "platform/platform.h"

// Formats like printf into a 2048-byte stack buffer (cut at 2047 characters), hands it to
// OutputDebugStringA, then hands "\n" as a second call. Formats carry no line end.
void DebugTrace(const char* format, ...) VANTREL_PRINTF_FORMAT(1, 2);

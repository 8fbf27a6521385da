#include "diag/debug_trace.h"

#include <cstdarg>
#include <cstdio>

void DebugTrace(const char* format, ...) {
  char buffer[2048];
  va_list arguments;
  va_start(arguments, format);
  // A formatting error leaves whatever the buffer holds; the terminator below makes it safe.
  int written = std::vsnprintf(buffer, sizeof(buffer), format, arguments);
  va_end(arguments);
  if (written < 0) buffer[0] = '\0';
  buffer[sizeof(buffer) - 1] = '\0';
  OutputDebugStringA(buffer);
  OutputDebugStringA("\n");
}

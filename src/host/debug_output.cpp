#include "host/debug_output.h"

#include <cstdio>
#include <cstring>

namespace {

// Fixed storage, so that capturing a trace line never allocates: the program may
// trace from inside the tick, which must stay allocation-free.
constexpr size_t captureBytes = 4u << 20;
constexpr size_t captureCalls = 1u << 16;

char captured[captureBytes];
size_t capturedUsed = 0;
size_t callStart[captureCalls];
size_t callLength[captureCalls];
size_t callCount = 0;
bool echoToStderr = true;

}  // namespace

void WINAPI OutputDebugStringA(LPCSTR text) {
  if (text == nullptr) return;
  size_t length = std::strlen(text);
  if (echoToStderr) {
    std::fwrite(text, 1, length, stderr);
    std::fflush(stderr);
  }
  // A full buffer keeps what it has; tests clear it long before that.
  if (callCount == captureCalls || capturedUsed + length > captureBytes) return;
  std::memcpy(captured + capturedUsed, text, length);
  callStart[callCount] = capturedUsed;
  callLength[callCount] = length;
  capturedUsed += length;
  ++callCount;
}

namespace host {

size_t DebugOutputCallCount() { return callCount; }

std::string_view DebugOutputCall(size_t index) {
  if (index >= callCount) return {};
  return std::string_view(captured + callStart[index], callLength[index]);
}

std::string DebugOutputText() { return std::string(captured, capturedUsed); }

void ClearDebugOutput() {
  capturedUsed = 0;
  callCount = 0;
}

void SetDebugOutputEcho(bool echo) { echoToStderr = echo; }

}  // namespace host

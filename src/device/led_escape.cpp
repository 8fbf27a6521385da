#include "device/led_escape.h"

#include <cstring>

HRESULT SendLedEscape(IDirectInputDevice8A* device, float level, float minLevel, float maxLevel) {
  if (device == nullptr) return E_POINTER;
  LedRequest request;
  std::memset(&request, 0, sizeof(request));
  request.size = sizeof(LedRequest);
  request.command = ledCommand;
  request.level = level;
  request.minLevel = minLevel;
  request.maxLevel = maxLevel;

  DIEFFESCAPE escape;
  std::memset(&escape, 0, sizeof(escape));
  escape.dwSize = sizeof(DIEFFESCAPE);
  escape.dwCommand = 0;
  escape.lpvInBuffer = &request;
  escape.cbInBuffer = sizeof(LedRequest);
  escape.lpvOutBuffer = nullptr;
  escape.cbOutBuffer = 0;
  return device->Escape(&escape);
}

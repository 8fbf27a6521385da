// The LED command sent to the wheel's force-feedback driver through a device escape.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The escape's in-buffer, 20 bytes, little-endian.
struct LedRequest {
  uint32_t size;
  uint32_t command;
  float level;
  float minLevel;
  float maxLevel;
};
static_assert(sizeof(LedRequest) == 20, "the driver expects a 20-byte LED record");

inline constexpr uint32_t ledCommand = 1;

// E_POINTER without a call when device is null; otherwise what Escape returns.
HRESULT SendLedEscape(IDirectInputDevice8A* device, float level, float minLevel, float maxLevel);

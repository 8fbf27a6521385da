// The link to the open device: whether it must be acquired again before it is read, and the
// X-axis minimum to use while its logical range cannot be read. Opening a device resets
// both; the tick, the effect update and the dialog's activation handling set deviceLost.
#pragma once

#include <cstdint>

extern bool deviceLost;

// The last minimum read from the open device, or -10000 (a device that already reports
// centred values).
extern int32_t fallbackLogicalMin;
inline constexpr int32_t fallbackLogicalMinDefault = -10000;

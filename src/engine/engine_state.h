// Requests and state shared between the dialog, the device layer and the tick.
#pragma once

#include <cstdint>

// The device must be acquired before it is read again.
extern bool deviceLost;
// The next failed Acquire is traced; a run of failures is reported once.
extern bool acquireTraceArmed;
// A rebuild of the device report is pending.
extern bool reportRequested;
// Runs of the selected measurement test done so far; a mode selection starts over.
extern int32_t testRunCount;
// The "Play Led" sweep.
extern bool ledSweepActive;
extern float ledLevel;

// X-axis minimum used while the logical range cannot be read: the last one read from
// the open device, or -10000 (a device that already reports centred values).
extern int32_t fallbackLogicalMin;
inline constexpr int32_t fallbackLogicalMinDefault = -10000;

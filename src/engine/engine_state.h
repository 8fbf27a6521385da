// Requests and state shared between the dialog, the device layer and the tick.
#pragma once

#include <cstdint>

#include "device/device_link.h"

// The next failed Acquire is traced; a run of failures is reported once.
extern bool acquireTraceArmed;
// A rebuild of the device report is pending.
extern bool reportRequested;
// Runs of the selected measurement test done so far; a mode selection starts over.
extern int32_t testRunCount;
// The "Play Led" sweep.
extern bool ledSweepActive;
extern float ledLevel;


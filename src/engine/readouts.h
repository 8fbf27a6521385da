// The live texts beside the trackbars, the position and the loop timing, at most every 100 ms.
#pragma once

#include <cstdint>

#include "engine/tick_values.h"

void WriteReadouts(const TickValues& t, int32_t dampingCoefficient);

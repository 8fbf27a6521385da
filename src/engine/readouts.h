// The values behind the live readouts, published at most every 100 ms and not at all while a
// measurement other than the minimum-force test runs.
#pragma once

#include <cstdint>

#include "engine/tick_values.h"

void PublishReadouts(const TickValues& t, int32_t dampingCoefficient);

// The resolution test (mode 14): a constant force sweeps the centred wheel across its
// travel and every tick's raw position and its change are logged.
#pragma once

#include "engine/test_frame.h"
#include "engine/tick_values.h"

void runResolutionTest(TestRunState& state, TickValues& t);

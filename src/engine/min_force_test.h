// The minimum-force test (mode 10): a force ramp in steps of 50 finds the largest force
// that does not yet move the wheel and tells the user.
#pragma once

#include "engine/test_frame.h"
#include "engine/tick_values.h"

void runMinForceTest(TestRunState& state, TickValues& t);

// The step test (mode 11), the linear force test (12) and the linear time test (13).
#pragma once

#include "engine/test_frame.h"
#include "engine/tick_values.h"

void runStepLog(TestRunState& state, TickValues& t);
void runStepLog2(TestRunState& state, TickValues& t);
void runStepLog3(TestRunState& state, TickValues& t);

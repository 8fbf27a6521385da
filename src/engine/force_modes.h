// Dispatch of the selected force mode.
#pragma once

#include "engine/tick_values.h"

// Runs the mode chosen by forceMode: it writes forceOut (and forceOutY), may move the
// targets, and flags the slot it drives in effectOn.
void RunForceMode(TickValues& t);

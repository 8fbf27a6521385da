// Modes 8 and 9: a sine-wave force and an end-to-end cycle, open-ended and without logs.
#pragma once

#include "engine/tick_values.h"

// Both carry over from one use of their mode to the next.
extern double sinePhase;
extern bool cycleForward;

void runSineWave(TickValues& t);
void runCycle(TickValues& t);

void ResetSineAndCycle();

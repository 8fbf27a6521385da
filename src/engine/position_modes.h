// Modes 1 to 7: springs, bang-bang and PID position control, the H-pattern shifter and
// the three wheel modes with their tyre-like force curve.
#pragma once

#include <cstdint>

#include "engine/tick_values.h"
#include "settings/test_settings.h"

// Shifter state, kept for the whole run.
extern int32_t shiftCount;
extern bool inNotch;

struct ShifterSpring {
  int32_t saturation;
  int32_t offset;
};

// D*sin(C*atan(B*x)) over the distance to the target as a fraction of limit.
int32_t WheelForceCurve(int32_t target, int32_t position, int32_t limit);
ShifterSpring HPatternStep(int32_t position, int32_t magnitude);

void RunSimpleSpring(TickValues& t);
void RunForceSpring(TickValues& t);
void RunForceSpringPid(TickValues& t);
void RunHPatternShifter(TickValues& t);
// Modes 5, 6 and 7 differ only in how the curve's force reaches the wheel.
void RunWheelMode(TickValues& t, ForceMode mode);

void ResetPositionModes();

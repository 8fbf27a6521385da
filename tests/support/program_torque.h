// What the wheel's motor puts on the rim because of the program's effects alone, without
// the device's own centring spring (which the program switches off, but a failed property
// call or a fresh device may leave on).
#pragma once

#include "sim/virtual_wheel.h"

double ProgramTorque(sim::VirtualWheel& wheel);

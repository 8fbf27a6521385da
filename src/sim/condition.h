// The force rule DirectInput gives every condition effect.
#pragma once

#include "sim/wheel_effect.h"

namespace sim {

// Force in DirectInput units for a metric on the same scale (position, velocity, ...).
// Above offset + deadBand the positive side applies, below offset - deadBand the negative
// side, both measured from the dead band's edge; in between there is none. Each side's
// magnitude is limited by that side's saturation (whatever the coefficient's sign), so a
// saturation of 0 silences that side. Positive means toward positive metric: the caller
// applies it as a restoring force.
double ConditionForce(const Condition& condition, double metric);

}  // namespace sim

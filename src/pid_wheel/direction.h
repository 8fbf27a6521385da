// DirectInput's polar direction on the wheel's axis: 0 points at -Y, 9000 at +X (hundredths of
// a degree), so the X share of a force is its magnitude times the sine of the angle.
#pragma once

#include <cstdint>

namespace pid_wheel {

// sin(angle), angle in hundredths of a degree, any value. Exact at the quarter turns; within
// 1e-9 elsewhere. Written out because the kernel driver has no maths library.
double SineOfHundredthsOfDegree(uint32_t angle);

}  // namespace pid_wheel

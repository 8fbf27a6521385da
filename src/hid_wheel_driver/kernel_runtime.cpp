// The little of a C runtime the driver's code reaches for: a kernel driver links none, and the
// kernel exports no floor() or pow().
#include <cstdint>

#include "pid_wheel/kernel_math.h"

extern "C" double floor(double x) {
  // Every double of 2^52 or more is an integer already (and NaN and infinity stay as they are).
  if (!(x > -0x1p52 && x < 0x1p52)) return x;
  double truncated = static_cast<double>(static_cast<int64_t>(x));
  return truncated > x ? truncated - 1.0 : truncated;
}

extern "C" double pow(double base, double exponent) { return pid_wheel::Pow(base, exponent); }

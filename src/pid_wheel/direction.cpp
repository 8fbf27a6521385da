#include "pid_wheel/direction.h"

#include <numbers>

namespace pid_wheel {

namespace {

constexpr uint32_t quarterTurn = 9000;
constexpr double radiansPerHundredth = std::numbers::pi / 18000.0;

// Taylor series on 0..pi/4, where the first omitted term is below 4e-10.
double SineNear0(double x) {
  double x2 = x * x;
  return x * (1.0 - x2 / 6.0 * (1.0 - x2 / 20.0 * (1.0 - x2 / 42.0 * (1.0 - x2 / 72.0 * (1.0 - x2 / 110.0)))));
}

double CosineNear0(double x) {
  double x2 = x * x;
  return 1.0 - x2 / 2.0 * (1.0 - x2 / 12.0 * (1.0 - x2 / 30.0 * (1.0 - x2 / 56.0 * (1.0 - x2 / 90.0))));
}

// sin of r hundredths, r in 0..9000.
double SineInQuarter(uint32_t r) {
  if (r <= quarterTurn / 2) return SineNear0(r * radiansPerHundredth);
  return CosineNear0((quarterTurn - r) * radiansPerHundredth);
}

}  // namespace

double SineOfHundredthsOfDegree(uint32_t angle) {
  angle %= 4 * quarterTurn;
  uint32_t quadrant = angle / quarterTurn;
  uint32_t r = angle % quarterTurn;
  switch (quadrant) {
    case 0:
      return SineInQuarter(r);
    case 1:
      return SineInQuarter(quarterTurn - r);
    case 2:
      return -SineInQuarter(r);
    default:
      return -SineInQuarter(quarterTurn - r);
  }
}

}  // namespace pid_wheel

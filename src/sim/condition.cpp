#include "sim/condition.h"

#include <algorithm>

namespace sim {

double ConditionForce(const Condition& c, double metric) {
  const double upper = static_cast<double>(c.offset) + c.deadBand;
  const double lower = static_cast<double>(c.offset) - c.deadBand;
  if (metric > upper) {
    const double force = c.positiveCoefficient * (metric - upper) / fullScale;
    const double limit = c.positiveSaturation;
    return std::clamp(force, -limit, limit);
  }
  if (metric < lower) {
    const double force = c.negativeCoefficient * (metric - lower) / fullScale;
    const double limit = c.negativeSaturation;
    return std::clamp(force, -limit, limit);
  }
  return 0.0;
}

}  // namespace sim

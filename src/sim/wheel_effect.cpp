#include "sim/wheel_effect.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

int32_t Signed(int32_t value) { return std::clamp(value, -fullScale, fullScale); }
int32_t Unsigned(int32_t value) { return std::clamp(value, 0, fullScale); }

}  // namespace

WheelEffect ClampedEffect(const WheelEffect& effect) {
  WheelEffect out = effect;
  out.gain = std::isnan(effect.gain) ? 0.0 : std::clamp(effect.gain, 0.0, 1.0);
  out.magnitude = Signed(effect.magnitude);
  Condition& c = out.condition;
  c.offset = Signed(c.offset);
  c.positiveCoefficient = Signed(c.positiveCoefficient);
  c.negativeCoefficient = Signed(c.negativeCoefficient);
  c.positiveSaturation = Unsigned(c.positiveSaturation);
  c.negativeSaturation = Unsigned(c.negativeSaturation);
  c.deadBand = Unsigned(c.deadBand);
  return out;
}

}  // namespace sim

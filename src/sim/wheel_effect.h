// One force-feedback effect as the device holds it, in DirectInput units (10000 = full scale).
#pragma once

#include <cstdint>

namespace sim {

inline constexpr int32_t fullScale = 10000;

enum class EffectKind { None, ConstantForce, Spring, Damper, Inertia, Friction };

// DirectInput's DICONDITION for the wheel axis. Saturations default to full scale so that a
// condition given only coefficients pushes.
struct Condition {
  int32_t offset = 0;                // -10000..10000
  int32_t positiveCoefficient = 0;   // -10000..10000
  int32_t negativeCoefficient = 0;   // -10000..10000
  int32_t positiveSaturation = fullScale;  // 0..10000
  int32_t negativeSaturation = fullScale;  // 0..10000
  int32_t deadBand = 0;              // 0..10000
};

struct WheelEffect {
  EffectKind kind = EffectKind::None;
  bool playing = false;
  double gain = 1.0;  // 0..1

  // ConstantForce: -10000..10000, already projected on the wheel axis, in DirectInput's sense
  // where a direction names where the force comes from: a positive magnitude along +X turns
  // the wheel toward negative angles. The caller passes magnitude * x / |(x, y)|.
  int32_t magnitude = 0;

  // Spring, Damper, Inertia, Friction.
  Condition condition;
};

// The effect with every field pulled into its documented range, as a driver would.
WheelEffect ClampedEffect(const WheelEffect& effect);

}  // namespace sim

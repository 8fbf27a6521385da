#include "sim/wheel_parameters.h"

#include <cmath>

namespace sim {

namespace {

// NaN and infinity are never a usable setting.
bool Positive(double x) { return x > 0.0 && std::isfinite(x); }
bool NonNegative(double x) { return x >= 0.0 && std::isfinite(x); }

}  // namespace

const char* FindParameterProblem(const WheelParameters& p) {
  if (!Positive(p.rotationRange)) return "rotationRange must be positive";
  if (!Positive(p.inertia)) return "inertia must be positive";
  if (!NonNegative(p.viscousDamping)) return "viscousDamping must not be negative";
  if (!NonNegative(p.staticFriction)) return "staticFriction must not be negative";
  if (!NonNegative(p.coulombFriction)) return "coulombFriction must not be negative";
  if (p.coulombFriction > p.staticFriction) return "coulombFriction must not exceed staticFriction";
  if (!NonNegative(p.stictionVelocity)) return "stictionVelocity must not be negative";
  if (!NonNegative(p.maxMotorTorque)) return "maxMotorTorque must not be negative";
  if (p.encoderCountsPerRevolution < 1) return "encoderCountsPerRevolution must be at least 1";
  if (!NonNegative(p.encoderNoiseCounts)) return "encoderNoiseCounts must not be negative";
  if (!NonNegative(p.autoCenterStiffness)) return "autoCenterStiffness must not be negative";
  if (!(p.deviceGain >= 0.0 && p.deviceGain <= 1.0)) return "deviceGain must lie in 0..1";
  if (!Positive(p.conditionFullScaleVelocity)) return "conditionFullScaleVelocity must be positive";
  if (!Positive(p.conditionFullScaleAcceleration)) {
    return "conditionFullScaleAcceleration must be positive";
  }
  if (!Positive(p.frictionVelocityBand)) return "frictionVelocityBand must be positive";
  if (!NonNegative(p.accelerationFilterSeconds)) {
    return "accelerationFilterSeconds must not be negative";
  }
  if (!Positive(p.subStepSeconds)) return "subStepSeconds must be positive";
  return nullptr;
}

}  // namespace sim

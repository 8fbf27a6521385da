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
  if (!NonNegative(p.torqueDeadZone)) return "torqueDeadZone must not be negative";
  if (!(p.torqueSaturation > p.torqueDeadZone) || !std::isfinite(p.torqueSaturation)) {
    return "torqueSaturation must lie above torqueDeadZone";
  }
  if (!Positive(p.torqueCurveExponent)) return "torqueCurveExponent must be positive";
  if (!NonNegative(p.noLoadSpeed)) return "noLoadSpeed must not be negative";
  if (!(p.commandLatency >= 0.0 && p.commandLatency <= maxCommandLatency)) {
    return "commandLatency must lie in 0..maxCommandLatency";
  }
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

bool TorqueCurveIsLinear(const WheelParameters& p) {
  return p.torqueDeadZone == 0.0 && p.torqueSaturation == 10000.0 && p.torqueCurveExponent == 1.0;
}

double TorqueFraction(const WheelParameters& p, double force) {
  const double magnitude = std::abs(force);
  double fraction;
  if (magnitude <= p.torqueDeadZone) {
    fraction = 0.0;
  } else if (magnitude >= p.torqueSaturation) {
    fraction = 1.0;
  } else {
    fraction = std::pow((magnitude - p.torqueDeadZone) / (p.torqueSaturation - p.torqueDeadZone),
                        p.torqueCurveExponent);
  }
  return std::copysign(fraction, force);
}

}  // namespace sim

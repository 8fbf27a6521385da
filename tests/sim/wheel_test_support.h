// Small builders shared by the wheel tests.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "sim/wheel_effect.h"
#include "sim/wheel_parameters.h"

namespace simtest {

// No friction, no damping, no centring spring: only the forces a test applies move the rim.
inline sim::WheelParameters FreeWheel() {
  sim::WheelParameters p;
  p.viscousDamping = 0.0;
  p.staticFriction = 0.0;
  p.coulombFriction = 0.0;
  p.autoCenterEnabled = false;
  return p;
}

inline sim::WheelEffect ConstantForce(int32_t magnitude, double gain = 1.0) {
  sim::WheelEffect effect;
  effect.kind = sim::EffectKind::ConstantForce;
  effect.playing = true;
  effect.gain = gain;
  effect.magnitude = magnitude;
  return effect;
}

inline sim::Condition SymmetricCondition(int32_t coefficient, int32_t offset = 0,
                                         int32_t deadBand = 0) {
  sim::Condition c;
  c.offset = offset;
  c.positiveCoefficient = coefficient;
  c.negativeCoefficient = coefficient;
  c.deadBand = deadBand;
  return c;
}

inline sim::WheelEffect ConditionEffect(sim::EffectKind kind, const sim::Condition& condition) {
  sim::WheelEffect effect;
  effect.kind = kind;
  effect.playing = true;
  effect.condition = condition;
  return effect;
}

inline double RelativeError(double measured, double expected) {
  return std::abs(measured - expected) / std::abs(expected);
}

// Keeps a measured error in the test report (XML output) under `name`.
inline void RecordError(const std::string& name, double error) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3e", error);
  testing::Test::RecordProperty(name, text);
}

}  // namespace simtest

#include "sim/virtual_wheel.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#if __cpp_exceptions
#include <stdexcept>
#endif

#include "sim/condition.h"

namespace sim {

namespace {

constexpr double twoPi = 2.0 * std::numbers::pi;

void RequireUsable(const WheelParameters& parameters) {
  if (const char* problem = FindParameterProblem(parameters)) {
#if __cpp_exceptions
    throw std::invalid_argument(problem);
#else
    // Built without exceptions (the HID wheel's kernel driver, which passes its defaults
    // only): a wheel that cannot run must not run.
    (void)problem;
    __builtin_trap();
#endif
  }
}

bool SlotInRange(int slot) { return slot >= 0 && slot < VirtualWheel::effectSlotCount; }

}  // namespace

VirtualWheel::VirtualWheel(const WheelParameters& parameters) : parameters_(parameters) {
  RequireUsable(parameters_);
  Reset();
}

void VirtualWheel::Reset(double angle, double velocity) {
  // The clock restarts: whatever was on its way arrives now.
  ApplyAllPendingChanges();
  angle_ = std::clamp(angle, -HalfRange(), HalfRange());
  velocity_ = velocity;
  acceleration_ = 0.0;
  accelerationEstimate_ = 0.0;
  noise_ = NoiseSource(parameters_.noiseSeed);
  noiseCounts_ = 0.0;
  if (parameters_.encoderNoiseCounts > 0.0) {
    noiseCounts_ = noise_.NextStandardNormal() * parameters_.encoderNoiseCounts;
  }
  pendingSeconds_ = 0.0;
  elapsedBase_ = 0.0;
  stepsSinceBase_ = 0;
}

void VirtualWheel::SetParameters(const WheelParameters& parameters) {
  RequireUsable(parameters);
  if (parameters.commandLatency != parameters_.commandLatency) ApplyAllPendingChanges();
  elapsedBase_ = ElapsedSeconds();
  stepsSinceBase_ = 0;
  parameters_ = parameters;
  angle_ = std::clamp(angle_, -HalfRange(), HalfRange());
}

void VirtualWheel::SetDeviceGain(double gain) {
  parameters_.deviceGain = std::isnan(gain) ? 0.0 : std::clamp(gain, 0.0, 1.0);
}

bool VirtualWheel::SetEffect(int slot, const WheelEffect& effect) {
  if (!SlotInRange(slot)) return false;
  effects_[slot] = ClampedEffect(effect);
  Command(slot, effects_[slot]);
  return true;
}

bool VirtualWheel::SetEffectPlaying(int slot, bool playing) {
  if (!SlotInRange(slot)) return false;
  effects_[slot].playing = playing;
  Command(slot, effects_[slot]);
  return true;
}

bool VirtualWheel::ClearEffect(int slot) {
  if (!SlotInRange(slot)) return false;
  effects_[slot] = WheelEffect{};
  Command(slot, effects_[slot]);
  return true;
}

void VirtualWheel::ClearAllEffects() {
  effects_.fill(WheelEffect{});
  Command(-1, WheelEffect{});
}

void VirtualWheel::Command(int slot, const WheelEffect& effect) {
  if (parameters_.commandLatency <= 0.0) return;
  if (pendingCount_ == pendingChangeRoom) ApplyOldestChange();
  const int index = (pendingFirst_ + pendingCount_) % pendingChangeRoom;
  pending_[index] = {ElapsedSeconds() + parameters_.commandLatency, slot, effect};
  ++pendingCount_;
}

void VirtualWheel::ApplyOldestChange() {
  const PendingChange& change = pending_[pendingFirst_];
  if (change.slot < 0) {
    acting_.fill(WheelEffect{});
  } else {
    acting_[change.slot] = change.effect;
  }
  pendingFirst_ = (pendingFirst_ + 1) % pendingChangeRoom;
  --pendingCount_;
}

void VirtualWheel::ApplyChangesDueBy(double seconds) {
  while (pendingCount_ > 0 && pending_[pendingFirst_].due <= seconds) ApplyOldestChange();
}

void VirtualWheel::ApplyAllPendingChanges() {
  pendingFirst_ = 0;
  pendingCount_ = 0;
  acting_ = effects_;
}

const std::array<WheelEffect, VirtualWheel::effectSlotCount>& VirtualWheel::ActingEffects() const {
  return parameters_.commandLatency > 0.0 ? acting_ : effects_;
}

WheelEffect VirtualWheel::Effect(int slot) const {
  return SlotInRange(slot) ? effects_[slot] : WheelEffect{};
}

void VirtualWheel::Advance(double seconds) {
  if (!(seconds > 0.0) || !std::isfinite(seconds)) return;
  const double h = parameters_.subStepSeconds;
  pendingSeconds_ += seconds;
  // 0.001 / 0.0001 comes out a rounding error short of 10; without the allowance of a
  // millionth of a step, a 1 ms call would run 9 sub-steps, then 11.
  const double whole = std::floor(pendingSeconds_ / h + 1e-6);
  if (whole < 1.0) return;
  pendingSeconds_ = std::max(0.0, pendingSeconds_ - whole * h);
  const auto steps = static_cast<int64_t>(whole);
  for (int64_t i = 0; i < steps; ++i) {
    if (pendingCount_ > 0) ApplyChangesDueBy(ElapsedSeconds());
    Step();
    ++stepsSinceBase_;
  }
}

// Semi-implicit Euler with Karnopp stick-slip friction and inelastic end stops.
void VirtualWheel::Step() {
  const WheelParameters& p = parameters_;
  const double h = p.subStepSeconds;
  const double before = velocity_;
  const double drive = MotorTorque() + handTorque_ - p.viscousDamping * before;

  double after;
  if (std::abs(before) < p.stictionVelocity) {
    // At rest, static friction holds anything up to break-away; once it lets go, kinetic
    // friction takes over at once.
    if (std::abs(drive) <= p.staticFriction) {
      after = 0.0;
    } else {
      after = before + (drive - std::copysign(p.coulombFriction, drive)) / p.inertia * h;
    }
  } else {
    after = before + (drive - std::copysign(p.coulombFriction, before)) / p.inertia * h;
    // Passing through zero speed is coming to rest: the next sub-step's break-away test then
    // decides whether the wheel moves on. Without friction there is nothing to catch it.
    if (after * before < 0.0 && p.staticFriction > 0.0) after = 0.0;
  }

  // The stops are hard and inelastic: the rim stops dead at them and keeps no speed
  // outward, but leaves them freely.
  double angle = angle_ + after * h;
  const double half = HalfRange();
  if (angle >= half) {
    angle = half;
    after = std::min(after, 0.0);
  } else if (angle <= -half) {
    angle = -half;
    after = std::max(after, 0.0);
  }

  acceleration_ = (after - before) / h;
  const double filterGain = h / (p.accelerationFilterSeconds + h);
  accelerationEstimate_ += (acceleration_ - accelerationEstimate_) * filterGain;
  angle_ = angle;
  velocity_ = after;
  if (p.encoderNoiseCounts > 0.0) {
    noiseCounts_ = noise_.NextStandardNormal() * p.encoderNoiseCounts;
  }
}

double VirtualWheel::MotorTorque() const {
  const WheelParameters& p = parameters_;
  double effects = 0.0;
  for (const WheelEffect& effect : ActingEffects()) {
    if (effect.playing && effect.kind != EffectKind::None) {
      effects += effect.gain * EffectTorque(effect);
    }
  }
  double torque = p.deviceGain * effects;
  if (!TorqueCurveIsLinear(p) && p.maxMotorTorque > 0.0) {
    torque = TorqueFraction(p, torque / p.maxMotorTorque * fullScale) * p.maxMotorTorque;
  }
  if (p.autoCenterEnabled) torque -= p.autoCenterStiffness * angle_;
  torque = std::clamp(torque, -p.maxMotorTorque, p.maxMotorTorque);
  if (p.noLoadSpeed > 0.0 && torque * velocity_ > 0.0) {
    const double available = p.maxMotorTorque * std::max(0.0, 1.0 - std::abs(velocity_) / p.noLoadSpeed);
    torque = std::clamp(torque, -available, available);
  }
  return torque;
}

// Every effect yields a force in DirectInput units that pushes toward negative angles when
// positive: for a constant force that is DirectInput's direction convention, for a condition
// it makes a positive coefficient restoring. A spring pulls back toward its offset, a damper
// brakes motion, an inertia condition opposes acceleration (it adds coefficient / 10000 *
// maxMotorTorque / conditionFullScaleAcceleration to the rim's inertia), and friction opposes
// the direction of motion. Effects read the rim's true angle and speed, not the encoder: at
// 4096 counts the difference is under a tenth of a degree.
double VirtualWheel::EffectTorque(const WheelEffect& effect) const {
  const WheelParameters& p = parameters_;
  double force = 0.0;
  switch (effect.kind) {
    case EffectKind::None:
      break;
    case EffectKind::ConstantForce:
      force = effect.magnitude;
      break;
    case EffectKind::Spring:
      force = ConditionForce(effect.condition, angle_ / HalfRange() * fullScale);
      break;
    case EffectKind::Damper:
      force = ConditionForce(effect.condition,
                             velocity_ / p.conditionFullScaleVelocity * fullScale);
      break;
    case EffectKind::Inertia:
      force = ConditionForce(effect.condition,
                             accelerationEstimate_ / p.conditionFullScaleAcceleration * fullScale);
      break;
    case EffectKind::Friction: {
      // Friction reads only which way the wheel turns, ramped over a narrow band of speed
      // around rest; offset and dead band have no meaning for it.
      Condition centred = effect.condition;
      centred.offset = 0;
      centred.deadBand = 0;
      const double direction = std::clamp(velocity_ / p.frictionVelocityBand, -1.0, 1.0);
      force = ConditionForce(centred, direction * fullScale);
      break;
    }
  }
  return -force / fullScale * p.maxMotorTorque;
}

double VirtualWheel::EncoderStep() const {
  return twoPi / static_cast<double>(parameters_.encoderCountsPerRevolution);
}

int64_t VirtualWheel::EncoderCount() const {
  const double counts = angle_ / EncoderStep() + noiseCounts_;
  return static_cast<int64_t>(std::floor(counts));
}

double VirtualWheel::MeasuredAngle() const {
  return static_cast<double>(EncoderCount()) * EncoderStep();
}

double VirtualWheel::ElapsedSeconds() const {
  return elapsedBase_ + static_cast<double>(stepsSinceBase_) * parameters_.subStepSeconds;
}

int32_t VirtualWheel::AxisValue(int32_t logicalMin, int32_t logicalMax) const {
  const double half = HalfRange();
  const double fraction = (MeasuredAngle() + half) / (2.0 * half);
  const double span = static_cast<double>(logicalMax) - static_cast<double>(logicalMin);
  const double value = logicalMin + fraction * span;
  const double low = std::min(logicalMin, logicalMax);
  const double high = std::max(logicalMin, logicalMax);
  // Full lock lands within rounding error of the axis end; the allowance lets it read the
  // end rather than one below.
  return static_cast<int32_t>(std::floor(std::clamp(value, low, high) + 1e-6));
}

}  // namespace sim

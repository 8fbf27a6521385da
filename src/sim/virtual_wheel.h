// A force-feedback wheel as a rigid rim on a torque-limited motor: friction, end stops, an
// encoder, the device's centring spring and the effects a driver renders. No platform code;
// nothing it does per step touches the heap.
#pragma once

#include <array>
#include <cstdint>

#include "sim/noise_source.h"
#include "sim/wheel_effect.h"
#include "sim/wheel_parameters.h"

namespace sim {

class VirtualWheel {
 public:
  static constexpr int effectSlotCount = 32;

  // Throws std::invalid_argument when FindParameterProblem reports one.
  explicit VirtualWheel(const WheelParameters& parameters = {});

  // Runs the model forward in whole sub-steps. What is left of `seconds` short of a sub-step
  // is kept for the next call, so many short calls end where one long call would, bit for
  // bit. Zero, negative and non-finite durations do nothing.
  void Advance(double seconds);

  // Puts the wheel at `angle` (held inside the stops) turning at `velocity`, and restarts the
  // clock and the noise sequence. Parameters, effects and the hand torque are kept.
  void Reset(double angle = 0.0, double velocity = 0.0);

  // Takes effect from the next sub-step; the state is kept (the angle is pulled inside new
  // stops). Throws std::invalid_argument, changing nothing, when the parameters are unusable.
  void SetParameters(const WheelParameters& parameters);
  const WheelParameters& Parameters() const { return parameters_; }
  // Clamped to 0..1.
  void SetDeviceGain(double gain);
  void SetAutoCenter(bool enabled) { parameters_.autoCenterEnabled = enabled; }

  // The driver's hand on the rim, N m, positive toward positive angles. The motor limit does
  // not apply to it.
  void SetHandTorque(double torque) { handTorque_ = torque; }
  double HandTorque() const { return handTorque_; }

  static constexpr int pendingChangeRoom = 256;

  // Slots run 0..effectSlotCount-1; a call with any other slot returns false and changes
  // nothing. Fields out of range are clamped (see ClampedEffect). With a commandLatency the
  // motor acts on a change that much later; Effect() shows it at once.
  bool SetEffect(int slot, const WheelEffect& effect);
  bool SetEffectPlaying(int slot, bool playing);
  bool ClearEffect(int slot);
  void ClearAllEffects();
  // An empty effect for a slot out of range.
  WheelEffect Effect(int slot) const;

  double Angle() const { return angle_; }
  double Velocity() const { return velocity_; }
  // Over the last sub-step (0 before the first): what friction and the stops left of it.
  double Acceleration() const { return acceleration_; }
  // floor(angle / step + noise), step = 2 pi / counts per revolution: rounding goes toward
  // negative infinity, so a wheel a hair left of centre reads -1.
  int64_t EncoderCount() const;
  double EncoderStep() const;
  // EncoderCount() * EncoderStep(): never above the true angle when noise is off.
  double MeasuredAngle() const;
  // What the motor puts on the rim for the present state, the effects it is acting on and
  // the gains: through the torque curve, within +-maxMotorTorque and the back-EMF limit.
  double MotorTorque() const;
  // Simulated time of the sub-steps run since construction or Reset.
  double ElapsedSeconds() const;

  // The measured angle on a logical axis: -half range gives logicalMin, +half range
  // logicalMax, linear in between, held inside the range, then rounded down. Centre on
  // 0..65535 reads 32767.
  int32_t AxisValue(int32_t logicalMin, int32_t logicalMax) const;

 private:
  // An effect change waiting out the command latency; slot -1 clears every slot.
  struct PendingChange {
    double due;
    int slot;
    WheelEffect effect;
  };
  void Step();
  double EffectTorque(const WheelEffect& effect) const;
  void Command(int slot, const WheelEffect& effect);
  void ApplyOldestChange();
  void ApplyChangesDueBy(double seconds);
  void ApplyAllPendingChanges();
  const std::array<WheelEffect, effectSlotCount>& ActingEffects() const;
  double HalfRange() const { return parameters_.rotationRange / 2.0; }

  WheelParameters parameters_;
  std::array<WheelEffect, effectSlotCount> effects_{};
  // What the motor acts on while a command latency holds changes back; effects_ otherwise.
  std::array<WheelEffect, effectSlotCount> acting_{};
  // A ring of changes in the order made: nothing per step or per change allocates.
  std::array<PendingChange, pendingChangeRoom> pending_{};
  int pendingFirst_ = 0;
  int pendingCount_ = 0;
  double handTorque_ = 0.0;

  double angle_ = 0.0;
  double velocity_ = 0.0;
  double acceleration_ = 0.0;
  // Filtered acceleration read by inertia conditions.
  double accelerationEstimate_ = 0.0;

  NoiseSource noise_;
  double noiseCounts_ = 0.0;  // drawn once per sub-step

  double pendingSeconds_ = 0.0;
  // Elapsed time is kept as a base plus a step count, so it does not drift by summing steps
  // and stays right across a change of sub-step.
  double elapsedBase_ = 0.0;
  int64_t stepsSinceBase_ = 0;
};

}  // namespace sim

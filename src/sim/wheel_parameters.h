// The physical and device constants of the simulated wheel, in SI units:
// radians, seconds, newton-metres, kilogram-square-metres.
#pragma once

#include <cstdint>
#include <numbers>

namespace sim {

constexpr double DegreesToRadians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// The defaults describe a belt-driven 900-degree wheel.
struct WheelParameters {
  // Lock to lock; the end stops sit at plus and minus half of it.
  double rotationRange = DegreesToRadians(900.0);

  // A 300 mm rim of about 1 kg (about 0.02 kg m^2) plus the motor rotor as the belt
  // reduction multiplies it (about 0.01 kg m^2).
  double inertia = 0.03;
  // Viscous loss in bearings and belt, N m s/rad.
  double viscousDamping = 0.005;
  // Break-away friction: below it a wheel at rest stays at rest. 7.5 % of the motor's
  // 2.2 N m, the share of full scale a belt wheel swallows.
  double staticFriction = 0.165;
  // Kinetic friction once moving; must not exceed staticFriction.
  double coulombFriction = 0.13;
  // Below this speed (rad/s) the wheel counts as at rest for the break-away test.
  double stictionVelocity = 1e-5;

  // The most the motor can put on the rim, N m, either way.
  double maxMotorTorque = 2.2;

  // How the motor answers what the effects ask for (their sum, in force units, 10000 = full
  // scale): no torque up to torqueDeadZone, then the fraction
  //   ((|force| - torqueDeadZone) / (torqueSaturation - torqueDeadZone)) ^ torqueCurveExponent
  // of maxMotorTorque, and all of it from torqueSaturation on. An exponent above 1 is weak at
  // low forces, below 1 strong. The defaults make torque proportional to force.
  double torqueDeadZone = 0.0;        // force units, below torqueSaturation
  double torqueSaturation = 10000.0;  // force units
  double torqueCurveExponent = 1.0;

  // Back-EMF: the drive runs out of voltage as the motor turns, so the torque it can give
  // in the direction of motion falls in proportion to speed, from maxMotorTorque at rest to
  // nothing at noLoadSpeed (rad/s). Torque against the motion is not limited. 0 turns it off.
  double noLoadSpeed = 0.0;

  // Time from a change of the effects to the motor acting on it (bus, driver, firmware), s.
  // At most maxCommandLatency; 0 acts at once.
  double commandLatency = 0.0;

  int64_t encoderCountsPerRevolution = 4096;
  // Standard deviation of the sensor noise in counts; 0 turns it off.
  double encoderNoiseCounts = 0.0;
  uint64_t noiseSeed = 0x5EED0F5EED0F5EEDull;

  // The device's own centring spring, active until a driver switches it off.
  bool autoCenterEnabled = true;
  double autoCenterStiffness = 2.0;  // N m/rad

  // Scales every effect force (not the auto-centre spring), 0..1.
  double deviceGain = 1.0;

  // Speed (rad/s) a damper condition reads as full scale (10000).
  double conditionFullScaleVelocity = 10.0;
  // Acceleration (rad/s^2) an inertia condition reads as full scale; about what the motor
  // can give the bare rim (2.2 / 0.03 = 73 rad/s^2).
  double conditionFullScaleAcceleration = 100.0;
  // Speed (rad/s) over which a friction condition ramps from nothing to full force, so that
  // it does not flip sign on every sub-step at rest. Inside the band it acts as a damper of
  // maxMotorTorque / band, so keep maxMotorTorque * subStepSeconds / (band * inertia) well
  // under 2 or it rings.
  double frictionVelocityBand = 0.1;
  // Time constant of the low-pass filter on the acceleration an inertia condition reads;
  // 0 reads the previous sub-step's acceleration unfiltered.
  double accelerationFilterSeconds = 0.001;

  // Fixed integration step.
  double subStepSeconds = 1e-4;
};

inline constexpr double maxCommandLatency = 1.0;

// The torque curve alone: the share of maxMotorTorque (-1..1, the sign of force) the motor
// gives for a force in DirectInput units, at rest. What a scale under the held rim reads.
double TorqueFraction(const WheelParameters& parameters, double force);
// True when TorqueFraction is force / 10000 clamped, as with the defaults.
bool TorqueCurveIsLinear(const WheelParameters& parameters);

// nullptr when the model can run with these parameters, otherwise what is wrong with them.
const char* FindParameterProblem(const WheelParameters& parameters);

}  // namespace sim

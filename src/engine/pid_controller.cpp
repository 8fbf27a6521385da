#include "engine/pid_controller.h"

#include <cmath>

#include "settings/test_settings.h"

PidState forceSpringPid{};
PidState wheelForcePid{};
PidState settlePid{};
uint32_t settleStartTime = 0;

namespace {

bool settleStarted = false;

constexpr int32_t settleMinimumMs = 500;
constexpr int32_t settleMaximumMs = 10000;
constexpr float settledDerivative = 0.05f;

// Doubles beyond int32 (a huge gain) saturate instead of being undefined.
int32_t TruncToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace

int32_t PidStep(float dt, int32_t target, int32_t position, int32_t maxForce, bool reset, PidState& state) {
  const TestSettings& s = testSettings;
  float integralLimit = static_cast<float>(maxForce) / 10.0f;
  int32_t error = static_cast<int32_t>(static_cast<int64_t>(position) - target);
  if (reset) {
    state.prevError = error;
    state.derivative = 0.0f;
    state.integral = 0.0f;
  }
  float p = static_cast<float>(error) * s.pidKp;
  if (s.pidKi > 0.0f) {
    state.integral = static_cast<float>(error) * s.pidKi * dt + state.integral;
    if (state.integral > integralLimit) state.integral = integralLimit;
    if (state.integral < -integralLimit) state.integral = -integralLimit;
  } else {
    state.integral = 0.0f;
  }
  float a = s.pidKdAvg * 0.001f / dt;
  if (a < 0.0f) a = 0.0f;
  if (a > 0.99f) a = 0.99f;
  float raw = static_cast<float>(static_cast<int64_t>(error) - state.prevError) * s.pidKd / dt;
  state.derivative = state.derivative * a + (1.0f - a) * raw;
  int32_t out = TruncToInt32(static_cast<double>(p) + state.integral + state.derivative);
  if (out > maxForce) out = maxForce;
  if (out < -maxForce) out = -maxForce;
  state.prevError = error;
  return out;
}

bool PidSettle(float dt, int32_t target, int32_t position, bool reset, uint32_t now, int32_t& force) {
  if (!settleStarted || reset) {
    settleStartTime = now;
    settleStarted = true;
  }
  force = PidStep(dt, target, position, 10000, reset, settlePid);
  int32_t elapsed = static_cast<int32_t>(now - settleStartTime);
  return elapsed > settleMinimumMs &&
         (std::fabs(settlePid.derivative) < settledDerivative || elapsed > settleMaximumMs);
}

void ResetPidControllers() {
  forceSpringPid = PidState{};
  wheelForcePid = PidState{};
  settlePid = PidState{};
  settleStartTime = 0;
  settleStarted = false;
}

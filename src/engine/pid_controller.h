// The PID controller of the position modes and the settling wrapper the measurement
// tests use to bring the wheel to a position.
#pragma once

#include <cstdint>

struct PidState {
  int32_t prevError;
  float integral;
  float derivative;
};

extern PidState forceSpringPid;  // mode 3
extern PidState wheelForcePid;   // mode 7
extern PidState settlePid;       // PidSettle's own
extern uint32_t settleStartTime;

// Force within +-maxForce pushing position toward target (positive when position > target).
int32_t PidStep(float dt, int32_t target, int32_t position, int32_t maxForce, bool reset, PidState& state);
// Drives the wheel toward target with full-scale force; true once it counts as settled.
bool PidSettle(float dt, int32_t target, int32_t position, bool reset, uint32_t now, int32_t& force);

void ResetPidControllers();

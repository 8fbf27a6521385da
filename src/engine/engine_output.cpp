#include "engine/engine_output.h"

#include <cstring>

EngineOutput engineOutput{};

namespace {

// Phases in the order the tests number them.
const char* const stepPhases[] = {"open", "kick", "centre", "rest", "pulse +", "pulse -", "pulse + again", "release",
                                  "finish"};
const char* const linearPhases[] = {"open", "kick", "centre", "rest", "step", "finish"};
const char* const resolutionPhases[] = {"open", "kick", "centre", "rest", "sweep", "finish"};
const char* const minForcePhases[] = {"open", "kick", "rest", "ramp", "finish"};

template <size_t N>
const char* Pick(const char* const (&names)[N], int32_t phase) {
  return (phase >= 0 && static_cast<size_t>(phase) < N) ? names[phase] : "";
}

}  // namespace

const char* MeasurementPhaseName(ForceMode mode, int32_t phase) {
  switch (mode) {
    case ForceMode::StepTest: return Pick(stepPhases, phase);
    case ForceMode::LinearForceTest:
    case ForceMode::LinearTimeTest: return Pick(linearPhases, phase);
    case ForceMode::ResolutionTest: return Pick(resolutionPhases, phase);
    case ForceMode::MinForce: return Pick(minForcePhases, phase);
    default: return "";
  }
}

void ResetEngineOutput() {
  std::memset(&engineOutput, 0, sizeof(engineOutput));
  engineOutput.measurement.mode = ForceMode::Disabled;
  engineOutput.measurement.state = RunState::Idle;
  engineOutput.measurement.phaseName = "";
}

#include "engine/force_modes.h"

#include "engine/min_force_test.h"
#include "engine/position_modes.h"
#include "engine/resolution_test.h"
#include "engine/sine_and_cycle.h"
#include "engine/step_tests.h"
#include "engine/test_frame.h"
#include "settings/test_settings.h"

void RunForceMode(TickValues& t) {
  ForceMode mode = testSettings.forceMode;
  switch (mode) {
    case ForceMode::SimpleSpring: RunSimpleSpring(t); break;
    case ForceMode::ForceSpring: RunForceSpring(t); break;
    case ForceMode::ForceSpringPid: RunForceSpringPid(t); break;
    case ForceMode::HPatternShifter: RunHPatternShifter(t); break;
    case ForceMode::WheelWithSpring:
    case ForceMode::WheelWithForce:
    case ForceMode::WheelWithForcePid: RunWheelMode(t, testSettings.forceMode); break;
    case ForceMode::SineWave: runSineWave(t); break;
    case ForceMode::Cycle: runCycle(t); break;
    case ForceMode::MinForce: runMinForceTest(minForceState, t); break;
    case ForceMode::StepTest: runStepLog(stepLogState, t); break;
    case ForceMode::LinearForceTest: runStepLog2(stepLog2State, t); break;
    case ForceMode::LinearTimeTest: runStepLog3(stepLog3State, t); break;
    case ForceMode::ResolutionTest: runResolutionTest(resolutionState, t); break;
    case ForceMode::Disabled:  // no force of its own; a damping slot may still run
      break;
  }
  if (const TestRunState* state = TestStateOf(mode)) PublishMeasurementProgress(mode, *state);
}

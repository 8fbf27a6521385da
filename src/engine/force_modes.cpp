#include "engine/force_modes.h"

#include "app/test_settings.h"
#include "engine/position_modes.h"
#include "engine/min_force_test.h"
#include "engine/resolution_test.h"
#include "engine/sine_and_cycle.h"
#include "engine/step_tests.h"
#include "engine/test_frame.h"

void RunForceMode(TickValues& t) {
  int32_t mode = testSettings.forceMode;
  switch (mode) {
    case 1: RunSimpleSpring(t); break;
    case 2: RunForceSpring(t); break;
    case 3: RunForceSpringPid(t); break;
    case 4: RunHPatternShifter(t); break;
    case 5:
    case 6:
    case 7: RunWheelMode(t, mode); break;
    case 8: runSineWave(t); break;
    case 9: runCycle(t); break;
    case 10: runMinForceTest(minForceState, t); break;
    case 11: runStepLog(stepLogState, t); break;
    case 12: runStepLog2(stepLog2State, t); break;
    case 13: runStepLog3(stepLog3State, t); break;
    case 14: runResolutionTest(resolutionState, t); break;
    case 0:  // "Disabled": no force of its own; a damping slot may still run.
    default:
      break;
  }
}

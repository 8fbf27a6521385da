#include "engine/force_modes.h"

#include "app/test_settings.h"
#include "engine/position_modes.h"
#include "engine/sine_and_cycle.h"

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
    case 0:  // "Disabled": no force of its own; a damping slot may still run.
    default:
      // The measurement tests are not built yet: they yield no force.
      break;
  }
}

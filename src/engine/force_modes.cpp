#include "engine/force_modes.h"

#include "app/test_settings.h"

void RunForceMode(TickValues& t) {
  (void)t;
  switch (testSettings.forceMode) {
    case 0:  // "Disabled": no force of its own; a damping slot may still run.
    default:
      // The position, sine, cycle and measurement modes are not built yet: they yield no force.
      break;
  }
}

// The dialog may include the engine.
#include "engine/force_tick.h"

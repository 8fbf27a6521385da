// Starting and stopping a measurement: what a front end calls, the dialog from its mode combo,
// the console runner from its command line.
#pragma once

#include "settings/test_settings.h"

// Takes `settings` (the dialog passes the record it edits) and starts measurement `mode`: its
// first run begins at the next tick with the device read, and runs follow to "Repeat".
// False, changing nothing, when `mode` is not a measurement.
bool StartMeasurement(ForceMode mode, const TestSettings& settings);
// Stops a measurement before its end: its log is closed with the rows written so far, the
// priority drops back to high, and the mode becomes "Disabled", so the next tick stops the force.
void StopMeasurement();

// Puts the program and every host stand-in back to the state of a fresh start: settings at
// their defaults, no DirectInput object, no devices, no windows, an empty trace, the virtual
// clock running from a machine's typical uptime.
#pragma once

void ResetProgramState();

// Ending the program after a fatal condition the user has been told about.
#pragma once

#include "platform/platform.h"

// Set once the program has started to end: callers stop what they were doing.
extern bool programEnding;

// Destroys the dialog, whose destroy handling shuts everything down and posts the quit.
void EndProgram(HWND dialog);

// The process priority class: high for the whole run, real time while a test log is open.
#pragma once

#include "platform/platform.h"

// Sets the class; a refusal is traced and the program carries on at its current class.
void SetProcessPriority(DWORD priorityClass);

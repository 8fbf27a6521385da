#pragma once

#include "platform/platform.h"

#ifndef _WIN32
// The host build has no C runtime start-up that calls it: tests do.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);
#endif

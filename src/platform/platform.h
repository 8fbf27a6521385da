// The one door from the program to the platform. On Windows it is the SDK itself;
// on the host it is our stand-ins, which declare the same names with the same layouts.
#pragma once

#ifdef _WIN32
#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
#include <windows.h>
#include <mmsystem.h>
#include <commctrl.h>
#include <shlobj.h>
#include <dbt.h>
#include <dinput.h>

// Separator between the documents folder and a log file name.
inline constexpr char pathSeparator = '\\';
#else
#include "host/win32_base.h"
#include "host/console.h"
#include "host/debug_output.h"
#include "host/system.h"
#include "host/shell_folders.h"
#include "host/dinput_api.h"
#include "host/window_system.h"

inline constexpr char pathSeparator = '/';
#endif

// printf-style checking for the program's own formatters.
#define VANTREL_PRINTF_FORMAT(formatIndex, firstArg) __attribute__((format(gnu_printf, formatIndex, firstArg)))

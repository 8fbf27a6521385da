// Host stand-in for the window system: the Win32 window, dialog, message and control calls
// the program makes (declared with their published names and layouts), over a headless
// model of windows and controls in fixed storage, plus what tests see of it.
#pragma once

#include "host/window/win32_types.h"
#include "host/window/win32_messages.h"
#include "host/window/win32_styles.h"
#include "host/window/win32_controls.h"
#include "host/window/win32_device_change.h"
#include "host/window/win32_functions.h"
#include "host/window/last_error.h"
#include "host/window/host_window.h"
#include "host/window/device_notification.h"
#include "host/window/resource_script.h"

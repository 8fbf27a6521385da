// The device report shown in the tree view: identity, capabilities, objects, device
// properties and the force-feedback section of the open device.
#pragma once

#include "platform/platform.h"

// Clears `tree` (a tree-view control) and builds the whole report of g_pDevice into it; does
// nothing without the tree, DirectInput or a device.
void BuildDeviceReport(HWND tree);

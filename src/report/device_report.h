// The device report shown in the tree view.
#pragma once

// Rebuilds the report tree of the open device.
void BuildDeviceReport();

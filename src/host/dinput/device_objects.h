// The object tables of the device kinds: which controls a device has and how DirectInput
// describes them. Game controllers lay their native report out like DIJOYSTATE2 (axes,
// sliders, POVs, buttons), keyboards by scan code, mice like DIMOUSESTATE.
#pragma once

#include <vector>

#include "host/dinput/device_model.h"
#include "host/dinput/device_registry.h"

namespace host::dinput {

// Axes (X, Y, Z, Rx, Ry, Rz, slider, slider; the first `actuatorAxes` carry actuators),
// then POVs, then buttons.
std::vector<DeviceObject> GameControllerObjects(const DeviceDescription& description);
// Keys by scan code: the instance of each key is its scan code, as in DirectInput.
inline constexpr int firstKeyScanCode = 0x01;
inline constexpr int lastKeyScanCode = 0x58;
std::vector<DeviceObject> KeyboardObjects();
// Relative X, Y and wheel axes, then three buttons.
std::vector<DeviceObject> MouseObjects();

}  // namespace host::dinput

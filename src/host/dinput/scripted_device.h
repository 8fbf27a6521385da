// Devices whose inputs the test scripts: keyboard- and mouse-like devices and game
// controllers with any number of axes, buttons and POVs. A scripted controller with
// actuators accepts effects (they are checked, stored and logged) but nothing moves.
#pragma once

#include <memory>

#include "host/dinput/device_model.h"
#include "host/dinput/device_registry.h"

namespace host::dinput {

std::unique_ptr<DeviceModel> MakeScriptedDevice(const DeviceDescription& description);

}  // namespace host::dinput

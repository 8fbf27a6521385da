// The virtual wheel: its X axis is the rim of a sim::VirtualWheel, and the effects the
// driver layer renders drive that wheel's motor. Y (combined pedals), the buttons and the
// hat are scripted. Effects act on X only: the rim is the one physical axis.
#pragma once

#include <memory>

#include "host/dinput/device_model.h"
#include "host/dinput/device_registry.h"

namespace host::dinput {

// Throws std::invalid_argument when description.wheel is unusable.
std::unique_ptr<DeviceModel> MakeVirtualWheelDevice(const DeviceDescription& description);

}  // namespace host::dinput

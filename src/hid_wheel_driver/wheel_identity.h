// Who the wheel says it is: USB-style ids and the strings the class driver asks for.
#pragma once

#include "hid_wheel_driver/kernel.h"

namespace hid_wheel_driver {

// The open-source vendor id the virtual wheel's DLL uses too, with a product id of its own.
inline constexpr USHORT wheelVendorId = 0x1209;
inline constexpr USHORT wheelProductId = 0x0002;
inline constexpr USHORT wheelVersion = 0x0100;

// Null for an id the wheel has no string for. Both numberings are answered: 1, 2, 3 as Wine
// asks, 14, 15, 16 as Windows does; a product string that fails hides the device.
const wchar_t* WheelString(USHORT id);

}  // namespace hid_wheel_driver

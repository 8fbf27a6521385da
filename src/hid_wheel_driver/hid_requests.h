// The HID class driver's requests to its minidriver (IRP_MJ_INTERNAL_DEVICE_CONTROL).
#pragma once

#include "hid_wheel_driver/kernel.h"

namespace hid_wheel_driver {

NTSTATUS NTAPI DispatchHidRequest(PDEVICE_OBJECT device, PIRP irp);

}  // namespace hid_wheel_driver

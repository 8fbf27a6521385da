// Read requests wait here until the simulation has the next input report: completing them at
// once with the same report would only spin the class driver's read thread.
#pragma once

#include "hid_wheel_driver/wheel_device.h"

namespace hid_wheel_driver {

// Pends the read (STATUS_PENDING), or completes it cancelled when it is being cancelled already.
NTSTATUS QueueRead(WheelDevice& wheel, PIRP irp);

// The oldest waiting read, no longer cancellable, or null. Call with wheel.lock held.
PIRP TakeQueuedRead(WheelDevice& wheel);

// Completes every waiting read with `status`: the device is going away.
void FailQueuedReads(WheelDevice& wheel, NTSTATUS status);

}  // namespace hid_wheel_driver

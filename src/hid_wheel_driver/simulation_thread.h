// The thread that runs the wheel on the real clock and answers the waiting reads with the
// wheel as it is now, once a millisecond.
#pragma once

#include "hid_wheel_driver/wheel_device.h"

namespace hid_wheel_driver {

NTSTATUS StartSimulation(WheelDevice& wheel);
// Waits for the thread to end; does nothing when it is not running.
void StopSimulation(WheelDevice& wheel);

}  // namespace hid_wheel_driver

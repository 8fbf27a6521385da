// The minidriver's own part of each device object's extension: the simulated wheel, its
// force-feedback state and the reads waiting for its next input report.
#pragma once

#include "hid_wheel_driver/kernel.h"
#include "pid_wheel/pid_device.h"

namespace hid_wheel_driver {

struct WheelDevice {
  // Guards everything below: requests arrive on the class driver's threads while the
  // simulation thread runs. Held only for copies and model updates, never across a wait.
  KSPIN_LOCK lock;
  // Read requests pended until the next input report, linked through Tail.Overlay.ListEntry.
  LIST_ENTRY pendingReads;
  pid_wheel::PidDevice device;

  HANDLE simulationThread;
  KEVENT stopSimulation;
};

inline WheelDevice* WheelOf(PDEVICE_OBJECT device) {
  auto* extension = static_cast<HID_DEVICE_EXTENSION*>(device->DeviceExtension);
  return static_cast<WheelDevice*>(extension->MiniDeviceExtension);
}

inline PDEVICE_OBJECT LowerDeviceOf(PDEVICE_OBJECT device) {
  return static_cast<HID_DEVICE_EXTENSION*>(device->DeviceExtension)->NextDeviceObject;
}

}  // namespace hid_wheel_driver

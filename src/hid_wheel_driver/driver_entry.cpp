// A HID minidriver on a root-enumerated device: the HID class driver owns the device objects
// and sends us its requests; we own the wheel behind them.
#include <new>

#include "hid_wheel_driver/hid_requests.h"
#include "hid_wheel_driver/read_queue.h"
#include "hid_wheel_driver/simulation_thread.h"
#include "hid_wheel_driver/wheel_device.h"

namespace hid_wheel_driver {

namespace {

NTSTATUS NTAPI AddDevice(PDRIVER_OBJECT, PDEVICE_OBJECT device) {
  // The class driver allocated our part of the extension; it is ours to construct.
  auto* wheel = new (WheelOf(device)) WheelDevice{};
  KeInitializeSpinLock(&wheel->lock);
  InitializeListHead(&wheel->pendingReads);
  KeInitializeEvent(&wheel->stopSimulation, NotificationEvent, FALSE);
  return STATUS_SUCCESS;
}

NTSTATUS CompleteFailed(PIRP irp, NTSTATUS status) {
  irp->IoStatus.Status = status;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

// Every PnP request goes on down to the root device; the wheel starts before the class
// driver's start completes and stops before removal goes further.
NTSTATUS NTAPI DispatchPnp(PDEVICE_OBJECT device, PIRP irp) {
  WheelDevice& wheel = *WheelOf(device);
  UCHAR minor = IoGetCurrentIrpStackLocation(irp)->MinorFunction;
  if (minor == IRP_MN_START_DEVICE) {
    NTSTATUS status = StartSimulation(wheel);
    if (!NT_SUCCESS(status)) return CompleteFailed(irp, status);
  } else if (minor == IRP_MN_SURPRISE_REMOVAL || minor == IRP_MN_REMOVE_DEVICE) {
    StopSimulation(wheel);
    FailQueuedReads(wheel, STATUS_DELETE_PENDING);
  }
  IoSkipCurrentIrpStackLocation(irp);
  NTSTATUS status = IoCallDriver(LowerDeviceOf(device), irp);
  // The class driver deletes the device object after this; the wheel goes first.
  if (minor == IRP_MN_REMOVE_DEVICE) wheel.~WheelDevice();
  return status;
}

void NTAPI Unload(PDRIVER_OBJECT) {}

}  // namespace

}  // namespace hid_wheel_driver

extern "C" NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
  using namespace hid_wheel_driver;
  driver->MajorFunction[IRP_MJ_PNP] = DispatchPnp;
  driver->MajorFunction[IRP_MJ_INTERNAL_DEVICE_CONTROL] = DispatchHidRequest;
  driver->DriverExtension->AddDevice = AddDevice;
  driver->DriverUnload = Unload;

  HID_MINIDRIVER_REGISTRATION registration = {};
  registration.Revision = HID_REVISION;
  registration.DriverObject = driver;
  registration.RegistryPath = registryPath;
  registration.DeviceExtensionSize = sizeof(WheelDevice);
  // The wheel answers reads when it has a report, not when polled.
  registration.DevicesArePolled = FALSE;
  return HidRegisterMinidriver(&registration);
}

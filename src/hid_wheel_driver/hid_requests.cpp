#include "hid_wheel_driver/hid_requests.h"

#include "hid_wheel_driver/read_queue.h"
#include "hid_wheel_driver/wheel_identity.h"
#include "pid_wheel/report_descriptor.h"

namespace hid_wheel_driver {

namespace {

NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = NT_SUCCESS(status) ? information : 0;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

ULONG OutputLength(PIRP irp) {
  return IoGetCurrentIrpStackLocation(irp)->Parameters.DeviceIoControl.OutputBufferLength;
}

NTSTATUS CopyOut(PIRP irp, const void* data, ULONG size) {
  if (OutputLength(irp) < size) return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
  RtlCopyMemory(irp->UserBuffer, data, size);
  return Complete(irp, STATUS_SUCCESS, size);
}

NTSTATUS GetDeviceDescriptor(PIRP irp) {
  HID_DESCRIPTOR descriptor = {};
  descriptor.bLength = sizeof(descriptor);
  descriptor.bDescriptorType = hidDescriptorType;
  descriptor.bcdHID = 0x0111;
  descriptor.bNumDescriptors = 1;
  descriptor.DescriptorList[0].bReportType = hidReportDescriptorType;
  descriptor.DescriptorList[0].wReportLength = static_cast<USHORT>(pid_wheel::ReportDescriptor().size());
  return CopyOut(irp, &descriptor, sizeof(descriptor));
}

NTSTATUS GetReportDescriptor(PIRP irp) {
  auto descriptor = pid_wheel::ReportDescriptor();
  return CopyOut(irp, descriptor.data(), static_cast<ULONG>(descriptor.size()));
}

NTSTATUS GetDeviceAttributes(PIRP irp) {
  HID_DEVICE_ATTRIBUTES attributes = {};
  attributes.Size = sizeof(attributes);
  attributes.VendorID = wheelVendorId;
  attributes.ProductID = wheelProductId;
  attributes.VersionNumber = wheelVersion;
  return CopyOut(irp, &attributes, sizeof(attributes));
}

// The request's input "buffer" is the string's id itself (the language in the high word).
NTSTATUS GetString(PIRP irp) {
  auto value = reinterpret_cast<ULONG_PTR>(IoGetCurrentIrpStackLocation(irp)->Parameters.DeviceIoControl.Type3InputBuffer);
  const wchar_t* text = WheelString(static_cast<USHORT>(value & 0xFFFF));
  if (text == nullptr) return Complete(irp, STATUS_INVALID_PARAMETER, 0);
  ULONG size = 0;
  while (text[size / sizeof(wchar_t)] != L'\0') size += sizeof(wchar_t);
  return CopyOut(irp, text, size + sizeof(wchar_t));
}

// Output and feature reports the host sends: a transfer packet, report id first.
NTSTATUS SendReport(WheelDevice& wheel, PIRP irp, bool feature) {
  auto* packet = static_cast<HID_XFER_PACKET*>(irp->UserBuffer);
  if (packet == nullptr || packet->reportBuffer == nullptr) return Complete(irp, STATUS_INVALID_PARAMETER, 0);
  std::span<const uint8_t> report(packet->reportBuffer, packet->reportBufferLen);
  KIRQL irql;
  KeAcquireSpinLock(&wheel.lock, &irql);
  bool taken = feature ? wheel.device.SetFeatureReport(report) : wheel.device.WriteOutputReport(report);
  KeReleaseSpinLock(&wheel.lock, irql);
  return Complete(irp, taken ? STATUS_SUCCESS : STATUS_INVALID_PARAMETER, packet->reportBufferLen);
}

NTSTATUS GetFeature(WheelDevice& wheel, PIRP irp) {
  auto* packet = static_cast<HID_XFER_PACKET*>(irp->UserBuffer);
  if (packet == nullptr || packet->reportBuffer == nullptr) return Complete(irp, STATUS_INVALID_PARAMETER, 0);
  KIRQL irql;
  KeAcquireSpinLock(&wheel.lock, &irql);
  size_t length = wheel.device.GetFeatureReport(packet->reportId,
                                                std::span<uint8_t>(packet->reportBuffer, packet->reportBufferLen));
  KeReleaseSpinLock(&wheel.lock, irql);
  return Complete(irp, length != 0 ? STATUS_SUCCESS : STATUS_INVALID_PARAMETER, length);
}

}  // namespace

NTSTATUS NTAPI DispatchHidRequest(PDEVICE_OBJECT device, PIRP irp) {
  switch (IoGetCurrentIrpStackLocation(irp)->Parameters.DeviceIoControl.IoControlCode) {
    case IOCTL_HID_GET_DEVICE_DESCRIPTOR:
      return GetDeviceDescriptor(irp);
    case IOCTL_HID_GET_REPORT_DESCRIPTOR:
      return GetReportDescriptor(irp);
    case IOCTL_HID_GET_DEVICE_ATTRIBUTES:
      return GetDeviceAttributes(irp);
    case IOCTL_HID_GET_STRING:
      return GetString(irp);
    case IOCTL_HID_READ_REPORT:
      return QueueRead(*WheelOf(device), irp);
    case IOCTL_HID_WRITE_REPORT:
    case IOCTL_HID_SET_OUTPUT_REPORT:
      return SendReport(*WheelOf(device), irp, false);
    case IOCTL_HID_SET_FEATURE:
      return SendReport(*WheelOf(device), irp, true);
    case IOCTL_HID_GET_FEATURE:
      return GetFeature(*WheelOf(device), irp);
    default:
      return Complete(irp, STATUS_NOT_SUPPORTED, 0);
  }
}

}  // namespace hid_wheel_driver

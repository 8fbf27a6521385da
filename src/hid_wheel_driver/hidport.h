// What a HID minidriver needs from the WDK's hidport.h, which MinGW-w64 does not ship, and the
// HID request codes its ddk/hidclass.h gets wrong (it says so itself). Include after the DDK.
#pragma once

#include <cstddef>

extern "C" {

typedef struct _HID_MINIDRIVER_REGISTRATION {
  ULONG Revision;
  PDRIVER_OBJECT DriverObject;
  PUNICODE_STRING RegistryPath;
  ULONG DeviceExtensionSize;
  BOOLEAN DevicesArePolled;
  UCHAR Reserved[3];
} HID_MINIDRIVER_REGISTRATION, *PHID_MINIDRIVER_REGISTRATION;

// At the start of the extension of every device object the class driver creates for us.
typedef struct _HID_DEVICE_EXTENSION {
  PDEVICE_OBJECT PhysicalDeviceObject;
  PDEVICE_OBJECT NextDeviceObject;
  PVOID MiniDeviceExtension;
} HID_DEVICE_EXTENSION, *PHID_DEVICE_EXTENSION;

typedef struct _HID_DEVICE_ATTRIBUTES {
  ULONG Size;
  USHORT VendorID;
  USHORT ProductID;
  USHORT VersionNumber;
  USHORT Reserved[11];
} HID_DEVICE_ATTRIBUTES, *PHID_DEVICE_ATTRIBUTES;

#pragma pack(push, 1)
typedef struct _HID_DESCRIPTOR {
  UCHAR bLength;
  UCHAR bDescriptorType;
  USHORT bcdHID;
  UCHAR bCountry;
  UCHAR bNumDescriptors;
  struct _HID_DESCRIPTOR_DESC_LIST {
    UCHAR bReportType;
    USHORT wReportLength;
  } DescriptorList[1];
} HID_DESCRIPTOR, *PHID_DESCRIPTOR;
#pragma pack(pop)

NTSTATUS NTAPI HidRegisterMinidriver(PHID_MINIDRIVER_REGISTRATION registration);

}  // extern "C"

static_assert(sizeof(HID_DEVICE_ATTRIBUTES) == 32);
static_assert(sizeof(HID_DESCRIPTOR) == 9);
static_assert(offsetof(HID_MINIDRIVER_REGISTRATION, DevicesArePolled) == 28);

inline constexpr UCHAR hidDescriptorType = 0x21;
inline constexpr UCHAR hidReportDescriptorType = 0x22;

#undef IOCTL_HID_GET_DEVICE_DESCRIPTOR
#undef IOCTL_HID_GET_REPORT_DESCRIPTOR
#undef IOCTL_HID_READ_REPORT
#undef IOCTL_HID_WRITE_REPORT
#undef IOCTL_HID_GET_STRING
#undef IOCTL_HID_GET_DEVICE_ATTRIBUTES
#define IOCTL_HID_GET_DEVICE_DESCRIPTOR HID_CTL_CODE(0)
#define IOCTL_HID_GET_REPORT_DESCRIPTOR HID_CTL_CODE(1)
#define IOCTL_HID_READ_REPORT HID_CTL_CODE(2)
#define IOCTL_HID_WRITE_REPORT HID_CTL_CODE(3)
#define IOCTL_HID_GET_STRING HID_CTL_CODE(4)
#define IOCTL_HID_GET_DEVICE_ATTRIBUTES HID_CTL_CODE(9)

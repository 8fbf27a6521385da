// The kernel-mode headers, as the driver's sources include them.
#pragma once

// ddk/wdm.h defines these two again after <intrin.h> has; tell it they exist.
#define __INTRINSIC_DEFINED_InterlockedBitTestAndSet
#define __INTRINSIC_DEFINED_InterlockedBitTestAndReset

extern "C" {
#include <ntddk.h>
#include <hidusage.h>
#include <hidclass.h>

// Exported by the kernel, declared by no MinGW-w64 header.
NTSYSAPI NTSTATUS NTAPI ZwWaitForSingleObject(HANDLE handle, BOOLEAN alertable, PLARGE_INTEGER timeout);
}

#include "hid_wheel_driver/hidport.h"

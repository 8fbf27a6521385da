// The DirectInput object and the list of devices the user can choose from. Failures come
// back as statuses: the front end decides what the user is told and whether it ends.
#pragma once

#include "platform/platform.h"

inline constexpr int deviceListRoom = 16;
// Enumeration stops after this many; the last slot of the table is never filled.
inline constexpr int deviceListMax = 15;

extern IDirectInput8A* g_pDI;
extern DIDEVICEINSTANCEA deviceList[deviceListRoom];
extern int deviceCount;

enum class DeviceListStatus {
  Ok,
  NoDirectInput,      // DirectInput8Create failed, or there is no DirectInput object
  EnumerationFailed,  // EnumDevices failed
  NoDevice,           // enumeration found nothing
};
struct DeviceListResult {
  DeviceListStatus status;
  HRESULT code;  // the failing call's result; S_OK for Ok and NoDevice
};

// Creates the DirectInput object and enumerates the devices.
DeviceListResult InitDirectInput();
// Fills the list: force-feedback game controllers, or every attached device when there is
// none or when `showAllDevices` asks for them.
DeviceListResult EnumerateDevices();
BOOL CALLBACK StoreDeviceInstance(LPCDIDEVICEINSTANCEA instance, LPVOID context);
// Enumerates again and reopens, for `window`, the device that was open when it is still
// listed (entry 0 otherwise); `selection` becomes its index. Without a DirectInput object
// (a start-up that failed) it does nothing and answers NoDirectInput.
DeviceListResult RefreshDeviceList(HWND window, int& selection);
// The open device is still plugged in (DirectInput's own word for its instance).
bool OpenDeviceAttached();
// Whether list entry `index` is an attached device with force feedback (an enumeration of its own).
bool ListedDeviceHasForceFeedback(int index);
// Stops every effect of the open device at once, each slot and then the device as a whole.
void StopAllEffects();
void ReleaseDevice();
void ShutdownDirectInput();

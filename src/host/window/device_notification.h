// Device-change broadcasts. Windows that registered for a device-interface class (or for
// all classes) hear WM_DEVICECHANGE when a device of that class arrives or leaves; volume,
// port and DBT_DEVNODES_CHANGED events go to every top-level window. Either way the message
// comes from another thread (the system's device-notification one): it reaches the window
// procedure at the program's next PeekMessageA or GetMessageA, with a broadcast record that
// stays valid for that call.
#pragma once

#include <cstddef>

#include "host/window/host_window.h"

namespace host {

// {4D1E55B2-F16F-11CF-88CB-001111000030}, GUID_DEVINTERFACE_HID of <hidclass.h>.
extern const GUID hidDeviceInterfaceClass;

// A device interface of `classGuid` at `devicePath` arrived (DBT_DEVICEARRIVAL) or left
// (DBT_DEVICEREMOVECOMPLETE). The number of windows it was sent to.
size_t BroadcastDeviceInterfaceChange(UINT event, REFGUID classGuid, const char* devicePath);
// An event of another kind: DBT_DEVNODES_CHANGED (no record), or `event` with a record of
// `deviceType` (DBT_DEVTYP_VOLUME and the other non-interface types).
size_t BroadcastDeviceChange(UINT event, DWORD deviceType);
// Registrations made and not yet unregistered.
size_t DeviceNotificationCount();

}  // namespace host

namespace host::window {

void ResetDeviceNotifications();

}  // namespace host::window

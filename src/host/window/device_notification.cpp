#include "host/window/device_notification.h"

#include <cstddef>
#include <cstring>

#include "host/window/last_error.h"
#include "host/window/window_table.h"

const GUID host::hidDeviceInterfaceClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

namespace host::window {
namespace {

constexpr size_t registrationRoom = 32;
constexpr size_t devicePathRoom = 512;

struct Registration {
  bool inUse;
  uint16_t generation;
  HWND window;
  bool allClasses;
  GUID classGuid;
};

// One broadcast record per message that may be waiting for delivery, reused in turn.
union BroadcastRecord {
  DEV_BROADCAST_HDR header;
  DEV_BROADCAST_DEVICEINTERFACE_A deviceInterface;
  DEV_BROADCAST_VOLUME volume;
  char bytes[offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) + devicePathRoom];
};

Registration registrations[registrationRoom];
bool failRegistration = false;
BroadcastRecord records[crossThreadMessageCapacity];
size_t nextRecord = 0;

BroadcastRecord& NextRecord() {
  BroadcastRecord& record = records[nextRecord];
  nextRecord = (nextRecord + 1) % crossThreadMessageCapacity;
  std::memset(&record, 0, sizeof(record));
  return record;
}

HDEVNOTIFY HandleOf(size_t index) {
  return reinterpret_cast<HDEVNOTIFY>((static_cast<uintptr_t>(registrations[index].generation) << 16) | (index + 1));
}

Registration* FindRegistration(HDEVNOTIFY handle) {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  size_t index = value & 0xFFFF;
  if (index == 0 || index > registrationRoom || (value >> 32) != 0) return nullptr;
  Registration& r = registrations[index - 1];
  if (!r.inUse || r.generation != static_cast<uint16_t>(value >> 16)) return nullptr;
  return &r;
}

}  // namespace

void ResetDeviceNotifications() {
  for (Registration& r : registrations) r.inUse = false;
  failRegistration = false;
}

}  // namespace host::window

HDEVNOTIFY WINAPI RegisterDeviceNotificationA(HANDLE recipient, LPVOID filter, DWORD flags) {
  using namespace host::window;
  auto fail = [](DWORD error) -> HDEVNOTIFY {
    SetLastError(error);
    return nullptr;
  };
  if (failRegistration) return fail(ERROR_INVALID_DATA);
  // Only window recipients are modelled; services are not.
  if ((flags & DEVICE_NOTIFY_SERVICE_HANDLE) != 0) return fail(ERROR_INVALID_PARAMETER);
  HWND window = static_cast<HWND>(recipient);
  if (host::window::Find(window) == nullptr) return fail(ERROR_INVALID_WINDOW_HANDLE);
  if (filter == nullptr) return fail(ERROR_INVALID_PARAMETER);
  const DEV_BROADCAST_HDR* header = static_cast<const DEV_BROADCAST_HDR*>(filter);
  // Handle filters need a file handle of a device, which the host does not have.
  if (header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return fail(ERROR_INVALID_DATA);
  if (header->dbch_size < sizeof(DEV_BROADCAST_DEVICEINTERFACE_A)) return fail(ERROR_INVALID_DATA);
  const DEV_BROADCAST_DEVICEINTERFACE_A* deviceInterface = static_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(filter);
  for (size_t i = 0; i < registrationRoom; ++i) {
    Registration& r = registrations[i];
    if (r.inUse) continue;
    r.inUse = true;
    r.generation = static_cast<uint16_t>(r.generation + 1 == 0 ? 1 : r.generation + 1);
    r.window = window;
    r.allClasses = (flags & DEVICE_NOTIFY_ALL_INTERFACE_CLASSES) != 0;
    r.classGuid = deviceInterface->dbcc_classguid;
    return HandleOf(i);
  }
  return fail(ERROR_NOT_ENOUGH_QUOTA);
}

BOOL WINAPI UnregisterDeviceNotification(HDEVNOTIFY notification) {
  host::window::Registration* r = host::window::FindRegistration(notification);
  if (r == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  r->inUse = false;
  return TRUE;
}

namespace host {

size_t BroadcastDeviceInterfaceChange(UINT event, REFGUID classGuid, const char* devicePath) {
  using namespace window;
  size_t sent = 0;
  for (Registration& r : registrations) {
    if (!r.inUse || window::Find(r.window) == nullptr) continue;
    if (!r.allClasses && !IsEqualGUID(r.classGuid, classGuid)) continue;
    BroadcastRecord& record = NextRecord();
    size_t length = BoundedLength(devicePath, devicePathRoom - 1);
    DEV_BROADCAST_DEVICEINTERFACE_A& d = record.deviceInterface;
    d.dbcc_size = static_cast<DWORD>(offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) + length + 1);
    d.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    d.dbcc_classguid = classGuid;
    if (length > 0)
      std::memcpy(record.bytes + offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name), devicePath, length);
    if (SendFromOtherThread(r.window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&record))) ++sent;
  }
  return sent;
}

size_t BroadcastDeviceChange(UINT event, DWORD deviceType) {
  using namespace window;
  size_t sent = 0;
  for (HWND top = NextTopLevel(nullptr); top != nullptr; top = NextTopLevel(top)) {
    LPARAM data = 0;
    if (event != DBT_DEVNODES_CHANGED) {
      BroadcastRecord& record = NextRecord();
      record.header.dbch_size =
          deviceType == DBT_DEVTYP_VOLUME ? sizeof(DEV_BROADCAST_VOLUME) : sizeof(DEV_BROADCAST_HDR);
      record.header.dbch_devicetype = deviceType;
      data = reinterpret_cast<LPARAM>(&record);
    }
    if (SendFromOtherThread(top, WM_DEVICECHANGE, event, data)) ++sent;
  }
  return sent;
}

size_t DeviceNotificationCount() {
  size_t count = 0;
  for (const window::Registration& r : window::registrations) count += r.inUse ? 1 : 0;
  return count;
}

void FailRegisterDeviceNotification(bool fail) { window::failRegistration = fail; }

}  // namespace host

#include "virtual_dinput/virtual_wheel_standin.h"

#include <mutex>

#include "host/dinput/call_log.h"
#include "host/dinput/device_registry.h"
#include "host/dinput/direct_input.h"

namespace virtual_dinput {
namespace {

GUID AttachWheel() {
  // The call log is for tests; a program running for hours has no reader for it.
  host::SetCallLogEnabled(false);
  host::DeviceId wheel = host::AttachDevice(host::VirtualWheelDescription());
  return host::DeviceInstanceGuid(wheel);
}

}  // namespace

GUID VirtualWheelGuid() {
  static std::once_flag once;
  static GUID guid{};
  std::call_once(once, [] { guid = AttachWheel(); });
  return guid;
}

HRESULT CreateStandInDirectInput(HINSTANCE hinst, DWORD version, IDirectInput8A** out, LPUNKNOWN outer) {
  VirtualWheelGuid();
  return host::CreateDirectInput8(hinst, version, IID_IDirectInput8A, reinterpret_cast<void**>(out), outer);
}

}  // namespace virtual_dinput

#include "host/dinput/direct_input.h"

#include <new>

#include "host/dinput/api_lock.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device.h"
#include "host/dinput/device_entry.h"
#include "host/dinput/live_objects.h"

namespace host {
namespace dinput {
namespace {

constexpr DWORD enumFlags = DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK | DIEDFL_INCLUDEALIASES |
                            DIEDFL_INCLUDEPHANTOMS | DIEDFL_INCLUDEHIDDEN;

HRESULT CheckVersion(DWORD version) {
  if (version == DIRECTINPUT_VERSION) return DI_OK;
  // Newer than this runtime: the application needs a newer DirectInput.
  return version > DIRECTINPUT_VERSION ? DIERR_OLDDIRECTINPUTVERSION : DIERR_BETADIRECTINPUTVERSION;
}

}  // namespace

DirectInput8::DirectInput8() { CountCreated(ObjectKind::DirectInput); }

DirectInput8::~DirectInput8() { CountDestroyed(ObjectKind::DirectInput); }

void DirectInput8::ReleaseInternal() {
  if (--references_ == 0) delete this;
}

HRESULT STDMETHODCALLTYPE DirectInput8::QueryInterface(REFIID riid, void** ppvObject) {
  ApiLock lock;
  CallScope scope(Interface::DirectInput, Method::QueryInterface, noDevice, 0, noEffect);
  scope.record().guid = riid;
  HRESULT injected;
  if (scope.Injected(&injected)) {
    if (ppvObject != nullptr) *ppvObject = nullptr;
    return scope.Finish(injected);
  }
  if (ppvObject == nullptr) return scope.Finish(E_POINTER);
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectInput8A)) {
    ++references_;
    *ppvObject = static_cast<IDirectInput8A*>(this);
    return scope.Finish(S_OK);
  }
  *ppvObject = nullptr;
  return scope.Finish(E_NOINTERFACE);
}

ULONG STDMETHODCALLTYPE DirectInput8::AddRef() {
  ApiLock lock;
  CallScope scope(Interface::DirectInput, Method::AddRef, noDevice, 0, noEffect);
  ULONG count = ++references_;
  scope.record().value = count;
  return count;
}

ULONG STDMETHODCALLTYPE DirectInput8::Release() {
  ApiLock lock;
  CallScope scope(Interface::DirectInput, Method::Release, noDevice, 0, noEffect);
  ULONG count = --references_;
  scope.record().value = count;
  if (count == 0) delete this;
  return count;
}

HRESULT STDMETHODCALLTYPE DirectInput8::CreateDevice(REFGUID rguid, LPDIRECTINPUTDEVICE8A* lplpDirectInputDevice,
                                                     LPUNKNOWN pUnkOuter) {
  ApiLock lock;
  CallScope scope(Interface::DirectInput, Method::CreateDevice, noDevice, 0, noEffect);
  scope.record().guid = rguid;
  if (lplpDirectInputDevice != nullptr) *lplpDirectInputDevice = nullptr;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (lplpDirectInputDevice == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  if (pUnkOuter != nullptr) return scope.Finish(DIERR_NOAGGREGATION);
  std::shared_ptr<DeviceEntry> entry = EntryForGuid(rguid);
  if (!entry || !entry->attached()) return scope.Finish(DIERR_DEVICENOTREG);
  scope.record().device = entry->id();
  uint32_t serial = NextDeviceObjectSerial();
  Device* device = new (std::nothrow) Device(this, entry, serial);
  if (device == nullptr) return scope.Finish(DIERR_OUTOFMEMORY);
  scope.record().deviceObject = serial;
  *lplpDirectInputDevice = device;
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE DirectInput8::EnumDevices(DWORD dwDevType, LPDIENUMDEVICESCALLBACKA lpCallback,
                                                    LPVOID pvRef, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::DirectInput, Method::EnumDevices, noDevice, 0, noEffect);
  scope.record().flags = dwFlags;
  scope.record().value = dwDevType;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (lpCallback == nullptr || (dwFlags & ~enumFlags) != 0 || !IsDeviceFilter(dwDevType)) {
    return scope.Finish(DIERR_INVALIDPARAM);
  }
  // By index: a callback may attach or detach devices (tests do), which only appends.
  const std::vector<std::shared_ptr<DeviceEntry>>& entries = Entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    std::shared_ptr<DeviceEntry> entry = entries[i];
    const DeviceDescription& d = entry->description();
    if ((dwFlags & DIEDFL_ATTACHEDONLY) && !entry->attached()) continue;
    if ((dwFlags & DIEDFL_FORCEFEEDBACK) && !d.forceFeedback) continue;
    if (!MatchesDeviceFilter(d, dwDevType)) continue;
    DIDEVICEINSTANCEA instance;
    instance.dwSize = sizeof(DIDEVICEINSTANCEA);
    FillDeviceInstance(*entry, &instance, sizeof(instance));
    if (lpCallback(&instance, pvRef) == DIENUM_STOP) break;
  }
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE DirectInput8::GetDeviceStatus(REFGUID rguidInstance) {
  ApiLock lock;
  CallScope scope(Interface::DirectInput, Method::GetDeviceStatus, noDevice, 0, noEffect);
  scope.record().guid = rguidInstance;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  std::shared_ptr<DeviceEntry> entry = EntryForGuid(rguidInstance);
  if (!entry) return scope.Finish(DIERR_DEVICENOTREG);
  scope.record().device = entry->id();
  return scope.Finish(entry->attached() ? DI_OK : DI_NOTATTACHED);
}

HRESULT STDMETHODCALLTYPE DirectInput8::RunControlPanel(HWND, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::DirectInput, Method::RunControlPanel, noDevice, 0, noEffect);
  scope.record().flags = dwFlags;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(DIERR_UNSUPPORTED);
}

HRESULT STDMETHODCALLTYPE DirectInput8::Initialize(HINSTANCE hinst, DWORD dwVersion) {
  ApiLock lock;
  CallScope scope(Interface::DirectInput, Method::Initialize, noDevice, 0, noEffect);
  scope.record().flags = dwVersion;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (hinst == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  return scope.Finish(CheckVersion(dwVersion));
}

HRESULT STDMETHODCALLTYPE DirectInput8::FindDevice(REFGUID, LPCSTR, LPGUID pguidInstance) {
  ApiLock lock;
  CallScope scope(Interface::DirectInput, Method::FindDevice, noDevice, 0, noEffect);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (pguidInstance == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  // Devices here are known by instance GUID only: no name finds one.
  return scope.Finish(DIERR_DEVICENOTREG);
}

HRESULT STDMETHODCALLTYPE DirectInput8::EnumDevicesBySemantics(LPCSTR, LPDIACTIONFORMATA, LPDIENUMDEVICESBYSEMANTICSCBA,
                                                               LPVOID, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::DirectInput, Method::EnumDevicesBySemantics, noDevice, 0, noEffect);
  scope.record().flags = dwFlags;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(DIERR_UNSUPPORTED);
}

HRESULT STDMETHODCALLTYPE DirectInput8::ConfigureDevices(LPDICONFIGUREDEVICESCALLBACK, LPDICONFIGUREDEVICESPARAMSA,
                                                         DWORD dwFlags, LPVOID) {
  ApiLock lock;
  CallScope scope(Interface::DirectInput, Method::ConfigureDevices, noDevice, 0, noEffect);
  scope.record().flags = dwFlags;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(DIERR_UNSUPPORTED);
}

}  // namespace dinput

HRESULT CreateDirectInput8(HINSTANCE hinst, DWORD version, REFIID riid, void** out, LPUNKNOWN outer) {
  dinput::ApiLock lock;
  dinput::CallScope scope(Interface::None, Method::DirectInput8Create, noDevice, 0, noEffect);
  scope.record().flags = version;
  scope.record().guid = riid;
  if (out != nullptr) *out = nullptr;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (out == nullptr || hinst == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  if (outer != nullptr) return scope.Finish(DIERR_NOAGGREGATION);
  HRESULT versionCheck = dinput::CheckVersion(version);
  if (FAILED(versionCheck)) return scope.Finish(versionCheck);
  if (!IsEqualIID(riid, IID_IDirectInput8A) && !IsEqualIID(riid, IID_IUnknown)) {
    return scope.Finish(DIERR_NOINTERFACE);
  }
  auto* directInput = new (std::nothrow) dinput::DirectInput8();
  if (directInput == nullptr) return scope.Finish(DIERR_OUTOFMEMORY);
  *out = static_cast<IDirectInput8A*>(directInput);
  return scope.Finish(DI_OK);
}

HRESULT CreateDirectInput(REFIID riid, void** out) {
  return CreateDirectInput8(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, riid, out, nullptr);
}

}  // namespace host

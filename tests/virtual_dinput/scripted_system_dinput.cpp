#include "virtual_dinput/scripted_system_dinput.h"

#include <cstring>

namespace virtual_dinput_test {
namespace {

virtual_dinput::SystemDirectInput loadedSystem;
ScriptedSystemDirectInput* factorySystem = nullptr;
HRESULT factoryResult = DI_OK;
int factoryCalls = 0;

}  // namespace

void ScriptedSystemDirectInput::AddDevice(const char* name, const GUID& instance, DWORD devType) {
  DIDEVICEINSTANCEA device{};
  device.dwSize = sizeof(device);
  device.guidInstance = instance;
  device.dwDevType = devType;
  std::strncpy(device.tszInstanceName, name, sizeof(device.tszInstanceName) - 1);
  std::strncpy(device.tszProductName, name, sizeof(device.tszProductName) - 1);
  devices_.push_back(device);
}

bool ScriptedSystemDirectInput::Knows(REFGUID guid) const {
  for (const DIDEVICEINSTANCEA& device : devices_) {
    if (IsEqualGUID(device.guidInstance, guid)) return true;
  }
  return false;
}

HRESULT STDMETHODCALLTYPE ScriptedSystemDirectInput::QueryInterface(REFIID, void** ppvObject) {
  calls.push_back("QueryInterface");
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ScriptedSystemDirectInput::AddRef() { return ++references; }

ULONG STDMETHODCALLTYPE ScriptedSystemDirectInput::Release() { return --references; }

HRESULT STDMETHODCALLTYPE ScriptedSystemDirectInput::CreateDevice(REFGUID rguid, LPDIRECTINPUTDEVICE8A* device,
                                                                  LPUNKNOWN) {
  calls.push_back("CreateDevice");
  createdGuids.push_back(rguid);
  if (device != nullptr) *device = nullptr;
  // Handing out no real device: the test only needs to see the request arrive here.
  return Knows(rguid) ? DIERR_ACQUIRED : DIERR_DEVICENOTREG;
}

HRESULT STDMETHODCALLTYPE ScriptedSystemDirectInput::EnumDevices(DWORD dwDevType, LPDIENUMDEVICESCALLBACKA callback,
                                                                 LPVOID pvRef, DWORD dwFlags) {
  calls.push_back("EnumDevices");
  lastEnumType = dwDevType;
  lastEnumFlags = dwFlags;
  if (FAILED(enumResult)) return enumResult;
  for (const DIDEVICEINSTANCEA& device : devices_) {
    if (callback(&device, pvRef) != DIENUM_CONTINUE) break;
  }
  return enumResult;
}

HRESULT STDMETHODCALLTYPE ScriptedSystemDirectInput::GetDeviceStatus(REFGUID rguidInstance) {
  calls.push_back("GetDeviceStatus");
  statusGuids.push_back(rguidInstance);
  return Knows(rguidInstance) ? DI_OK : DIERR_DEVICENOTREG;
}

HRESULT STDMETHODCALLTYPE ScriptedSystemDirectInput::RunControlPanel(HWND, DWORD) {
  calls.push_back("RunControlPanel");
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE ScriptedSystemDirectInput::Initialize(HINSTANCE, DWORD) {
  calls.push_back("Initialize");
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE ScriptedSystemDirectInput::FindDevice(REFGUID, LPCSTR, LPGUID pguidInstance) {
  calls.push_back("FindDevice");
  if (pguidInstance != nullptr && !devices_.empty()) *pguidInstance = devices_.front().guidInstance;
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE ScriptedSystemDirectInput::EnumDevicesBySemantics(LPCSTR, LPDIACTIONFORMATA,
                                                                            LPDIENUMDEVICESBYSEMANTICSCBA, LPVOID,
                                                                            DWORD) {
  calls.push_back("EnumDevicesBySemantics");
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE ScriptedSystemDirectInput::ConfigureDevices(LPDICONFIGUREDEVICESCALLBACK,
                                                                      LPDICONFIGUREDEVICESPARAMSA, DWORD, LPVOID) {
  calls.push_back("ConfigureDevices");
  return DI_OK;
}

virtual_dinput::SystemDirectInput& LoadedSystemDirectInput() { return loadedSystem; }

void UseSystemFactory(ScriptedSystemDirectInput* system, HRESULT result) {
  factorySystem = system;
  factoryResult = result;
  factoryCalls = 0;
}

HRESULT WINAPI ScriptedDirectInput8Create(HINSTANCE, DWORD, REFIID, LPVOID* out, LPUNKNOWN) {
  ++factoryCalls;
  *out = nullptr;
  if (FAILED(factoryResult)) return factoryResult;
  factorySystem->AddRef();
  *out = static_cast<IDirectInput8A*>(factorySystem);
  return factoryResult;
}

int SystemFactoryCalls() { return factoryCalls; }

}  // namespace virtual_dinput_test

// The DLL's loader of the system dinput8.dll, replaced in this test program: there is no
// system directory on the host, and each test decides what the loader found.
namespace virtual_dinput {

const SystemDirectInput& LoadSystemDirectInput() { return virtual_dinput_test::LoadedSystemDirectInput(); }

}  // namespace virtual_dinput

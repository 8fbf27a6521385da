#include "virtual_dinput/merging_direct_input.h"

#include <cstdio>
#include <new>
#include <string>

#include "virtual_dinput/system_dinput.h"
#include "virtual_dinput/virtual_wheel_standin.h"

namespace virtual_dinput {
namespace {

void SayStandInAlone(const std::string& why) {
  std::string line = "dinput8 (virtual wheel): system DirectInput not available, " + why +
                     "; the virtual wheel alone\n";
  OutputDebugStringA(line.c_str());
}

std::string HexCode(HRESULT hr) {
  // Through unsigned int: a long is 64 bits on the host and would carry the sign along.
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08x", static_cast<unsigned int>(hr));
  return text;
}

// Carries the caller's callback through both enumerations, and its DIENUM_STOP across them.
struct EnumContext {
  LPDIENUMDEVICESCALLBACKA callback;
  LPVOID reference;
  bool stopped;
};

BOOL CALLBACK ForwardDevice(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  auto* c = static_cast<EnumContext*>(context);
  if (c->callback(instance, c->reference) == DIENUM_CONTINUE) return DIENUM_CONTINUE;
  c->stopped = true;
  return DIENUM_STOP;
}

}  // namespace

HRESULT CreateMergingDirectInput(HINSTANCE hinst, DWORD version, REFIID riid, void** out, LPUNKNOWN outer) {
  if (out == nullptr) return DIERR_INVALIDPARAM;
  *out = nullptr;
  // The stand-in makes DirectInput8Create's other checks (module, version, aggregation).
  IDirectInput8A* standIn = nullptr;
  HRESULT hr = CreateStandInDirectInput(hinst, version, &standIn, outer);
  if (FAILED(hr)) return hr;
  if (!IsEqualIID(riid, IID_IDirectInput8A) && !IsEqualIID(riid, IID_IUnknown)) {
    standIn->Release();
    return DIERR_NOINTERFACE;
  }

  IDirectInput8A* system = nullptr;
  const SystemDirectInput& systemDll = LoadSystemDirectInput();
  if (systemDll.create == nullptr) {
    SayStandInAlone(systemDll.path.empty() ? systemDll.problem : systemDll.path + ": " + systemDll.problem);
  } else {
    hr = systemDll.create(hinst, version, IID_IDirectInput8A, reinterpret_cast<void**>(&system), nullptr);
    if (FAILED(hr) || system == nullptr) {
      SayStandInAlone(systemDll.path + ": DirectInput8Create failed (" + HexCode(hr) + ")");
      system = nullptr;
    }
  }

  auto* merged = new (std::nothrow) MergingDirectInput(system, standIn, VirtualWheelGuid());
  if (merged == nullptr) {
    if (system != nullptr) system->Release();
    standIn->Release();
    return DIERR_OUTOFMEMORY;
  }
  *out = static_cast<IDirectInput8A*>(merged);
  return DI_OK;
}

MergingDirectInput::MergingDirectInput(IDirectInput8A* system, IDirectInput8A* standIn, const GUID& wheel)
    : system_(system), standIn_(standIn), wheel_(wheel) {}

MergingDirectInput::~MergingDirectInput() {
  if (system_ != nullptr) system_->Release();
  standIn_->Release();
}

bool MergingDirectInput::IsWheel(REFGUID guid) const {
  // A zero GUID would mean the wheel never attached: then nothing is the wheel.
  return !IsEqualGUID(wheel_, GUID{}) && IsEqualGUID(guid, wheel_);
}

HRESULT STDMETHODCALLTYPE MergingDirectInput::QueryInterface(REFIID riid, void** ppvObject) {
  if (ppvObject == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectInput8A)) {
    AddRef();
    *ppvObject = static_cast<IDirectInput8A*>(this);
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE MergingDirectInput::AddRef() { return ++references_; }

ULONG STDMETHODCALLTYPE MergingDirectInput::Release() {
  ULONG count = --references_;
  if (count == 0) delete this;
  return count;
}

HRESULT STDMETHODCALLTYPE MergingDirectInput::CreateDevice(REFGUID rguid, LPDIRECTINPUTDEVICE8A* lplpDirectInputDevice,
                                                           LPUNKNOWN pUnkOuter) {
  if (IsWheel(rguid)) return standIn_->CreateDevice(rguid, lplpDirectInputDevice, pUnkOuter);
  return Others()->CreateDevice(rguid, lplpDirectInputDevice, pUnkOuter);
}

HRESULT STDMETHODCALLTYPE MergingDirectInput::EnumDevices(DWORD dwDevType, LPDIENUMDEVICESCALLBACKA lpCallback,
                                                          LPVOID pvRef, DWORD dwFlags) {
  if (lpCallback == nullptr) return DIERR_INVALIDPARAM;
  EnumContext context{lpCallback, pvRef, false};
  if (system_ != nullptr) {
    HRESULT hr = system_->EnumDevices(dwDevType, ForwardDevice, &context, dwFlags);
    // A filter or flags the system refuses is the caller's error, whatever the stand-in says.
    if (FAILED(hr)) return hr;
    if (context.stopped) return hr;
  }
  // The stand-in's own filter decides whether the wheel is listed.
  return standIn_->EnumDevices(dwDevType, ForwardDevice, &context, dwFlags);
}

HRESULT STDMETHODCALLTYPE MergingDirectInput::GetDeviceStatus(REFGUID rguidInstance) {
  if (IsWheel(rguidInstance)) return standIn_->GetDeviceStatus(rguidInstance);
  return Others()->GetDeviceStatus(rguidInstance);
}

HRESULT STDMETHODCALLTYPE MergingDirectInput::RunControlPanel(HWND hwndOwner, DWORD dwFlags) {
  return Others()->RunControlPanel(hwndOwner, dwFlags);
}

HRESULT STDMETHODCALLTYPE MergingDirectInput::Initialize(HINSTANCE hinst, DWORD dwVersion) {
  HRESULT hr = standIn_->Initialize(hinst, dwVersion);
  if (FAILED(hr) || system_ == nullptr) return hr;
  return system_->Initialize(hinst, dwVersion);
}

HRESULT STDMETHODCALLTYPE MergingDirectInput::FindDevice(REFGUID rguidClass, LPCSTR ptszName, LPGUID pguidInstance) {
  // Names here are device paths; the virtual wheel has none, so only the system can find one.
  return Others()->FindDevice(rguidClass, ptszName, pguidInstance);
}

HRESULT STDMETHODCALLTYPE MergingDirectInput::EnumDevicesBySemantics(LPCSTR ptszUserName,
                                                                     LPDIACTIONFORMATA lpdiActionFormat,
                                                                     LPDIENUMDEVICESBYSEMANTICSCBA lpCallback,
                                                                     LPVOID pvRef, DWORD dwFlags) {
  // Action mapping is the system's alone: the stand-in has none, and the callback's count of
  // devices still to come could not span two enumerations.
  return Others()->EnumDevicesBySemantics(ptszUserName, lpdiActionFormat, lpCallback, pvRef, dwFlags);
}

HRESULT STDMETHODCALLTYPE MergingDirectInput::ConfigureDevices(LPDICONFIGUREDEVICESCALLBACK lpdiCallback,
                                                               LPDICONFIGUREDEVICESPARAMSA lpdiCDParams,
                                                               DWORD dwFlags, LPVOID pvRefData) {
  return Others()->ConfigureDevices(lpdiCallback, lpdiCDParams, dwFlags, pvRefData);
}

}  // namespace virtual_dinput

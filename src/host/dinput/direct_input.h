// IDirectInput8A: device enumeration and creation over the registry, and the factory the
// host's DirectInput8Create (and, later, the Windows DLL export) calls.
#pragma once

#include "platform/platform.h"

namespace host {

// DirectInput8Create's checks and work: the version must be 0x0800, hinst set, riid
// IID_IDirectInput8A or IID_IUnknown, no aggregation.
HRESULT CreateDirectInput8(HINSTANCE hinst, DWORD version, REFIID riid, void** out, LPUNKNOWN outer);
// The same for a caller with nothing to check: the program's module and version 0x0800.
HRESULT CreateDirectInput(REFIID riid, void** out);

namespace dinput {

class DirectInput8 final : public IDirectInput8A {
 public:
  DirectInput8();
  DirectInput8(const DirectInput8&) = delete;
  DirectInput8& operator=(const DirectInput8&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE CreateDevice(REFGUID rguid, LPDIRECTINPUTDEVICE8A* lplpDirectInputDevice,
                                         LPUNKNOWN pUnkOuter) override;
  HRESULT STDMETHODCALLTYPE EnumDevices(DWORD dwDevType, LPDIENUMDEVICESCALLBACKA lpCallback, LPVOID pvRef,
                                        DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE GetDeviceStatus(REFGUID rguidInstance) override;
  HRESULT STDMETHODCALLTYPE RunControlPanel(HWND hwndOwner, DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE Initialize(HINSTANCE hinst, DWORD dwVersion) override;
  HRESULT STDMETHODCALLTYPE FindDevice(REFGUID rguidClass, LPCSTR ptszName, LPGUID pguidInstance) override;
  HRESULT STDMETHODCALLTYPE EnumDevicesBySemantics(LPCSTR ptszUserName, LPDIACTIONFORMATA lpdiActionFormat,
                                                   LPDIENUMDEVICESBYSEMANTICSCBA lpCallback, LPVOID pvRef,
                                                   DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE ConfigureDevices(LPDICONFIGUREDEVICESCALLBACK lpdiCallback,
                                             LPDICONFIGUREDEVICESPARAMSA lpdiCDParams, DWORD dwFlags,
                                             LPVOID pvRefData) override;

  // References its devices hold; not the application's calls, so not logged.
  void AddRefInternal() { ++references_; }
  void ReleaseInternal();

 private:
  ~DirectInput8();

  ULONG references_ = 1;
};

}  // namespace dinput
}  // namespace host

// The IDirectInput8A this DLL hands out: the system's DirectInput and the stand-in with the
// virtual wheel behind one object. The system's devices come first in every enumeration,
// the virtual wheel after them; each device is created by the object that owns it.
#pragma once

#include <atomic>

#include "platform/platform.h"

namespace virtual_dinput {

// DirectInput8Create's work. Without a usable system DirectInput the object has the stand-in
// alone, and one debug-output line says why.
HRESULT CreateMergingDirectInput(HINSTANCE hinst, DWORD version, REFIID riid, void** out, LPUNKNOWN outer);

class MergingDirectInput final : public IDirectInput8A {
 public:
  // Takes over one reference on each; `system` may be null.
  MergingDirectInput(IDirectInput8A* system, IDirectInput8A* standIn, const GUID& wheel);
  MergingDirectInput(const MergingDirectInput&) = delete;
  MergingDirectInput& operator=(const MergingDirectInput&) = delete;

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

 private:
  ~MergingDirectInput();

  bool IsWheel(REFGUID guid) const;
  // The object that answers for everything but the wheel: the system's, or the stand-in alone.
  IDirectInput8A* Others() const { return system_ != nullptr ? system_ : standIn_; }

  std::atomic<ULONG> references_{1};
  IDirectInput8A* system_;
  IDirectInput8A* standIn_;
  GUID wheel_;
};

}  // namespace virtual_dinput

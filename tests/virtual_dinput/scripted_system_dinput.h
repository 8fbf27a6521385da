// A scripted IDirectInput8A in the place of the system's DirectInput, and what the DLL's
// loader of the system dinput8.dll finds: the merging object is tested over both.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "virtual_dinput/system_dinput.h"

namespace virtual_dinput_test {

class ScriptedSystemDirectInput final : public IDirectInput8A {
 public:
  // A device the system lists and knows, in list order.
  void AddDevice(const char* name, const GUID& instance, DWORD devType);

  HRESULT enumResult = DI_OK;
  // What was asked of it, one entry per call: the method's name.
  std::vector<std::string> calls;
  std::vector<GUID> createdGuids;
  std::vector<GUID> statusGuids;
  DWORD lastEnumType = 0xFFFFFFFF;
  DWORD lastEnumFlags = 0xFFFFFFFF;
  ULONG references = 1;  // the test's own; the object is never deleted

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
  bool Knows(REFGUID guid) const;

  std::vector<DIDEVICEINSTANCEA> devices_;
};

// What LoadSystemDirectInput hands the DLL; each test sets it.
virtual_dinput::SystemDirectInput& LoadedSystemDirectInput();

// A DirectInput8Create that gives out `system` (one more reference) or fails with `result`.
void UseSystemFactory(ScriptedSystemDirectInput* system, HRESULT result);
HRESULT WINAPI ScriptedDirectInput8Create(HINSTANCE hinst, DWORD version, REFIID riid, LPVOID* out,
                                          LPUNKNOWN outer);
// How many times that factory was called.
int SystemFactoryCalls();

}  // namespace virtual_dinput_test

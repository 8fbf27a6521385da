// dinput8.dll's entry point and its one export.
#include "platform/platform.h"
#include "virtual_dinput/merging_direct_input.h"
#include "virtual_dinput/this_module.h"

namespace {

HMODULE thisModule = nullptr;

}  // namespace

namespace virtual_dinput {

HMODULE ThisModule() { return thisModule; }

}  // namespace virtual_dinput

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    thisModule = instance;
    // No thread notifications: nothing here is per thread.
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DirectInput8Create(HINSTANCE hinst, DWORD dwVersion, REFIID riidltf, LPVOID* ppvOut,
                                             LPUNKNOWN punkOuter) {
  return virtual_dinput::CreateMergingDirectInput(hinst, dwVersion, riidltf, ppvOut, punkOuter);
}

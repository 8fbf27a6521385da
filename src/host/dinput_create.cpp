// The host's DirectInput8Create: the stand-in's factory under the exported name.
#include "host/dinput/direct_input.h"

extern "C" HRESULT WINAPI DirectInput8Create(HINSTANCE hinst, DWORD dwVersion, REFIID riidltf, LPVOID* ppvOut,
                                             LPUNKNOWN punkOuter) {
  return host::CreateDirectInput8(hinst, dwVersion, riidltf, ppvOut, punkOuter);
}

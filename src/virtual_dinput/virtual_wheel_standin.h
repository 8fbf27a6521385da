// The stand-in DirectInput with the virtual wheel plugged in.
#pragma once

#include "platform/platform.h"

namespace virtual_dinput {

// The virtual wheel's instance GUID; the wheel is attached on the first call, once per process.
GUID VirtualWheelGuid();

// A stand-in IDirectInput8A (the same checks as DirectInput8Create's) that sees the wheel.
HRESULT CreateStandInDirectInput(HINSTANCE hinst, DWORD version, IDirectInput8A** out, LPUNKNOWN outer);

}  // namespace virtual_dinput

// The DLL's own module handle, kept by DllMain.
#pragma once

#include "platform/platform.h"

namespace virtual_dinput {

HMODULE ThisModule();

}  // namespace virtual_dinput

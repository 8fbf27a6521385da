// The system's own DirectInput: dinput8.dll from the system directory, loaded by full path.
#pragma once

#include <string>

#include "platform/platform.h"

namespace virtual_dinput {

using DirectInput8CreateFunction = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);

struct SystemDirectInput {
  DirectInput8CreateFunction create = nullptr;  // null: not available, `problem` says why
  std::string path;                             // the file asked for
  std::string problem;
};

// Loaded on the first call and kept for the process: devices the system object hands out
// live in that module, so it is never unloaded. A load that comes back to this DLL (an
// override that makes the system path resolve to us) counts as not available.
const SystemDirectInput& LoadSystemDirectInput();

}  // namespace virtual_dinput

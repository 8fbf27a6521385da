#include "virtual_dinput/system_dinput.h"

#include <mutex>

#include "virtual_dinput/this_module.h"

namespace virtual_dinput {
namespace {

std::string ErrorText(const char* what, DWORD error) {
  char code[16];
  wsprintfA(code, "%lu", static_cast<unsigned long>(error));
  return std::string(what) + " (error " + code + ")";
}

SystemDirectInput Load() {
  SystemDirectInput system;
  char directory[MAX_PATH];
  UINT length = GetSystemDirectoryA(directory, sizeof(directory));
  if (length == 0 || length >= sizeof(directory)) {
    system.problem = ErrorText("GetSystemDirectoryA failed", GetLastError());
    return system;
  }
  system.path = std::string(directory, length) + "\\dinput8.dll";
  HMODULE module = LoadLibraryA(system.path.c_str());
  if (module == nullptr) {
    system.problem = ErrorText("LoadLibraryA failed", GetLastError());
    return system;
  }
  if (module == ThisModule()) {
    // Only the reference just taken: the loader's own one keeps this DLL in place.
    FreeLibrary(module);
    system.problem = "it loads this module again";
    return system;
  }
  FARPROC create = GetProcAddress(module, "DirectInput8Create");
  if (create == nullptr) {
    system.problem = ErrorText("it has no DirectInput8Create", GetLastError());
    FreeLibrary(module);
    return system;
  }
  system.create = reinterpret_cast<DirectInput8CreateFunction>(reinterpret_cast<void*>(create));
  return system;
}

}  // namespace

const SystemDirectInput& LoadSystemDirectInput() {
  static std::once_flag once;
  static SystemDirectInput system;
  std::call_once(once, [] { system = Load(); });
  return system;
}

}  // namespace virtual_dinput

// CreateWindowExA for the one predefined class a program creates outside a dialog template.
#include <strings.h>

#include "host/window/last_error.h"
#include "host/window/win32_functions.h"
#include "host/window/window_procedure.h"
#include "host/window/window_table.h"

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int, int, int, int,
                            HWND parent, HMENU menu, HINSTANCE, LPVOID) {
  using namespace host::window;
  if (className == nullptr || strcasecmp(className, "STATIC") != 0) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  bool child = (style & WS_CHILD) != 0;
  if (child && Find(parent) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  int id = child ? static_cast<int>(reinterpret_cast<intptr_t>(menu)) : 0;
  NewWindow made{host::ControlClass::Static, child ? parent : nullptr, child ? nullptr : parent, id, style, exStyle,
                 RECT{0, 0, 0, 0}, windowName != nullptr ? windowName : "", nullptr};
  HWND handle = CreateWindowSlot(made);
  if (handle != nullptr && !AttachClassStorage(handle)) {
    FreeWindowSlot(handle);
    return nullptr;
  }
  if (handle == nullptr) SetLastError(ERROR_NOT_ENOUGH_QUOTA);
  return handle;
}

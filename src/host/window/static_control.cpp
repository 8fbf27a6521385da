// Static text: a caption and nothing the user can do with it.
#include "host/window/window_procedure.h"

namespace host::window {

LRESULT StaticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETDLGCODE) return DLGC_STATIC;
  return DefaultWindowProcedure(window, message, wParam, lParam);
}

}  // namespace host::window

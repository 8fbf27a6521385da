#include "host/window/window_procedure.h"

#include "host/window/combo_lists.h"
#include "host/window/tree_items.h"

namespace host::window {

LRESULT CallWindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(handle);
  if (w == nullptr) return 0;
  switch (w->kind) {
    case ControlClass::Dialog:
      return DialogWindowProcedure(handle, message, wParam, lParam);
    case ControlClass::Static:
      return StaticProcedure(handle, message, wParam, lParam);
    case ControlClass::Button:
      return ButtonProcedure(handle, message, wParam, lParam);
    case ControlClass::Edit:
      return EditProcedure(handle, message, wParam, lParam);
    case ControlClass::ComboBox:
      return ComboBoxProcedure(handle, message, wParam, lParam);
    case ControlClass::Trackbar:
      return TrackbarProcedure(handle, message, wParam, lParam);
    case ControlClass::TreeView:
      return TreeViewProcedure(handle, message, wParam, lParam);
  }
  return 0;
}

LRESULT DefaultWindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(handle);
  if (w == nullptr) return 0;
  switch (message) {
    case WM_SETTEXT:
      SetText(*w, reinterpret_cast<const char*>(lParam));
      return TRUE;
    case WM_GETTEXT:
      return static_cast<LRESULT>(CopyTextOut(w->text, w->textLength, reinterpret_cast<char*>(lParam), wParam));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->textLength);
    case WM_NOTIFYFORMAT:
      return NFR_ANSI;
    case WM_NCACTIVATE:
      return TRUE;
    case WM_NCLBUTTONDOWN:
      // The close box tracks the button and, released over it, asks for SC_CLOSE.
      if (wParam == HTCLOSE) SendMessageA(handle, WM_SYSCOMMAND, SC_CLOSE, lParam);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(handle, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      DestroyWindow(handle);
      return 0;
    default:
      return 0;
  }
}

void NotifyParent(HWND control, UINT code) {
  Window* w = Find(control);
  if (w == nullptr || w->parent == nullptr) return;
  SendMessageA(w->parent, WM_COMMAND, MAKEWPARAM(w->id, code), reinterpret_cast<LPARAM>(control));
}

LRESULT NotifyParent(HWND control, NMHDR* header, UINT code) {
  Window* w = Find(control);
  if (w == nullptr || w->parent == nullptr) return 0;
  header->hwndFrom = control;
  header->idFrom = static_cast<UINT_PTR>(w->id);
  header->code = code;
  return SendMessageA(w->parent, WM_NOTIFY, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(header));
}

bool AttachClassStorage(HWND handle) {
  Window* w = Find(handle);
  if (w == nullptr) return false;
  if (w->kind == ControlClass::ComboBox) {
    w->combo.list = AllocateComboList();
    return w->combo.list >= 0;
  }
  if (w->kind == ControlClass::TreeView) return AttachTreeRoot(handle);
  return true;
}

void DetachClassStorage(HWND handle) {
  Window* w = Find(handle);
  if (w == nullptr) return;
  if (w->kind == ControlClass::ComboBox && w->combo.list >= 0) {
    FreeComboList(w->combo.list);
    w->combo.list = -1;
  }
  if (w->kind == ControlClass::TreeView) ForgetTreeItems(handle);
}

void ResetClassStorage() {
  ResetComboLists();
  ResetTreeItems();
}

}  // namespace host::window

#include "host/window_system.h"

#include <cstring>

namespace {

constexpr size_t windowRoom = 128;
constexpr size_t messageBoxRoom = 64;

struct Window {
  bool alive;
  HWND parent;
  int id;
  host::ControlClass kind;
  DLGPROC procedure;
  char text[host::windowTextRoom];
  char items[host::comboItemRoom][host::comboItemTextRoom];
  int itemCount;
  int selection;
};

Window windows[windowRoom];
size_t windowCount = 0;
host::MessageBoxRecord messageBoxes[messageBoxRoom];
size_t messageBoxCount = 0;

// Handles are 1-based indices into the table, so null is never a window.
HWND HandleOf(size_t index) { return reinterpret_cast<HWND>(index + 1); }

Window* Find(HWND handle) {
  size_t index = reinterpret_cast<size_t>(handle);
  if (index == 0 || index > windowCount) return nullptr;
  Window* w = &windows[index - 1];
  return w->alive ? w : nullptr;
}

void CopyText(char* to, size_t room, const char* from) {
  if (from == nullptr) from = "";
  size_t length = std::strlen(from);
  if (length >= room) length = room - 1;
  std::memcpy(to, from, length);
  to[length] = '\0';
}

HWND Create(HWND parent, int id, host::ControlClass kind, DLGPROC procedure, const char* text) {
  if (windowCount == windowRoom) return nullptr;
  Window& w = windows[windowCount];
  std::memset(&w, 0, sizeof(w));
  w.alive = true;
  w.parent = parent;
  w.id = id;
  w.kind = kind;
  w.procedure = procedure;
  w.selection = CB_ERR;
  CopyText(w.text, sizeof(w.text), text);
  return HandleOf(windowCount++);
}

LRESULT ComboMessage(Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case CB_ADDSTRING:
      if (w.itemCount == static_cast<int>(host::comboItemRoom)) return CB_ERR;
      CopyText(w.items[w.itemCount], host::comboItemTextRoom, reinterpret_cast<const char*>(lParam));
      return w.itemCount++;
    case CB_RESETCONTENT:
      w.itemCount = 0;
      w.selection = CB_ERR;
      return 0;
    case CB_GETCOUNT:
      return w.itemCount;
    case CB_GETCURSEL:
      return w.selection;
    case CB_SETCURSEL: {
      int index = static_cast<int>(wParam);
      w.selection = (index >= 0 && index < w.itemCount) ? index : CB_ERR;
      if (w.selection != CB_ERR) CopyText(w.text, sizeof(w.text), w.items[w.selection]);
      return w.selection;
    }
    case CB_GETLBTEXTLEN: {
      int index = static_cast<int>(wParam);
      if (index < 0 || index >= w.itemCount) return CB_ERR;
      return static_cast<LRESULT>(std::strlen(w.items[index]));
    }
    case CB_GETLBTEXT: {
      int index = static_cast<int>(wParam);
      if (index < 0 || index >= w.itemCount) return CB_ERR;
      std::strcpy(reinterpret_cast<char*>(lParam), w.items[index]);
      return static_cast<LRESULT>(std::strlen(w.items[index]));
    }
    default:
      return 0;
  }
}

}  // namespace

HWND WINAPI GetDlgItem(HWND dialog, int id) {
  if (Find(dialog) == nullptr) return nullptr;
  for (size_t i = 0; i < windowCount; ++i) {
    if (windows[i].alive && windows[i].parent == dialog && windows[i].id == id) return HandleOf(i);
  }
  return nullptr;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(window);
  if (w == nullptr) return 0;
  if (w->kind == host::ControlClass::ComboBox) return ComboMessage(*w, message, wParam, lParam);
  if (w->procedure != nullptr) return w->procedure(window, message, wParam, lParam);
  return 0;
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
  Window* w = Find(window);
  if (w == nullptr) return FALSE;
  CopyText(w->text, sizeof(w->text), text);
  return TRUE;
}

int WINAPI GetWindowTextA(HWND window, LPSTR buffer, int room) {
  Window* w = Find(window);
  if (w == nullptr || buffer == nullptr || room <= 0) return 0;
  CopyText(buffer, static_cast<size_t>(room), w->text);
  return static_cast<int>(std::strlen(buffer));
}

BOOL WINAPI DestroyWindow(HWND window) {
  Window* w = Find(window);
  if (w == nullptr) return FALSE;
  // The window procedure sees WM_DESTROY while the window and its controls still exist.
  if (w->procedure != nullptr) w->procedure(window, WM_DESTROY, 0, 0);
  for (size_t i = 0; i < windowCount; ++i) {
    if (windows[i].parent == window) windows[i].alive = false;
  }
  w->alive = false;
  return TRUE;
}

BOOL WINAPI IsWindow(HWND window) { return Find(window) != nullptr; }

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  if (messageBoxCount < messageBoxRoom) {
    host::MessageBoxRecord& r = messageBoxes[messageBoxCount++];
    r.owner = owner;
    CopyText(r.text, sizeof(r.text), text);
    CopyText(r.caption, sizeof(r.caption), caption);
    r.type = type;
  }
  return IDOK;
}

namespace host {

HWND CreateHostDialog(DLGPROC procedure) { return Create(nullptr, 0, ControlClass::Dialog, procedure, ""); }

HWND AddHostControl(HWND dialog, int id, ControlClass kind, const char* text) {
  if (Find(dialog) == nullptr) return nullptr;
  return Create(dialog, id, kind, nullptr, text);
}

void ResetWindowSystem() {
  windowCount = 0;
  messageBoxCount = 0;
}

size_t MessageBoxCount() { return messageBoxCount; }
const MessageBoxRecord& MessageBoxAt(size_t index) { return messageBoxes[index < messageBoxCount ? index : 0]; }

int ComboItemCount(HWND combo) {
  Window* w = Find(combo);
  return w != nullptr ? w->itemCount : 0;
}

const char* ComboItemText(HWND combo, int index) {
  Window* w = Find(combo);
  if (w == nullptr || index < 0 || index >= w->itemCount) return "";
  return w->items[index];
}

int ComboSelection(HWND combo) {
  Window* w = Find(combo);
  return w != nullptr ? w->selection : CB_ERR;
}

}  // namespace host

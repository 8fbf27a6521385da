#include "host/window/window_table.h"

#include <cstring>

namespace host::window {
namespace {

Window windows[windowCapacity];

HWND HandleOf(size_t index) {
  uintptr_t value = (static_cast<uintptr_t>(windows[index].generation) << 16) | (index + 1);
  return reinterpret_cast<HWND>(value);
}

}  // namespace

Window* Find(HWND handle) {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  size_t index = (value & 0xFFFF);
  if (index == 0 || index > windowCapacity || (value >> 32) != 0) return nullptr;
  Window& w = windows[index - 1];
  if (!w.inUse || w.generation != static_cast<uint16_t>(value >> 16)) return nullptr;
  return &w;
}

HWND CreateWindowSlot(const NewWindow& made) {
  Window* parent = nullptr;
  if (made.parent != nullptr) {
    parent = Find(made.parent);
    if (parent == nullptr) return nullptr;
  }
  for (size_t i = 0; i < windowCapacity; ++i) {
    Window& w = windows[i];
    if (w.inUse) continue;
    uint16_t generation = static_cast<uint16_t>(w.generation + 1);
    if (generation == 0) generation = 1;
    // Only the fixed-size fields: the text buffer is written through its length.
    w.inUse = true;
    w.destroying = false;
    w.generation = generation;
    w.kind = made.kind;
    w.id = made.id;
    w.parent = made.parent;
    w.owner = made.parent == nullptr ? made.owner : nullptr;
    w.firstChild = w.lastChild = w.nextSibling = w.previousSibling = nullptr;
    w.style = made.style;
    w.exStyle = made.exStyle;
    w.dialogUnits = made.dialogUnits;
    w.dialogProcedure = made.dialogProcedure;
    w.edit = EditState{0, 0, false, 30000, false};
    w.button = ButtonState{BST_UNCHECKED, false};
    w.trackbar = TrackbarState{0, 100, 0, 1, 20, false, false};
    w.combo = ComboState{-1, false};
    w.dialog = DialogState{0, nullptr, false, nullptr};
    w.treeRoot = -1;
    w.treeItemCount = 0;
    SetText(w, made.text);
    HWND handle = HandleOf(i);
    if (parent != nullptr) {
      w.previousSibling = parent->lastChild;
      if (Window* last = Find(parent->lastChild)) last->nextSibling = handle;
      if (parent->firstChild == nullptr) parent->firstChild = handle;
      parent->lastChild = handle;
    }
    return handle;
  }
  return nullptr;
}

void FreeWindowSlot(HWND handle) {
  Window* w = Find(handle);
  if (w == nullptr) return;
  if (Window* parent = Find(w->parent)) {
    if (parent->firstChild == handle) parent->firstChild = w->nextSibling;
    if (parent->lastChild == handle) parent->lastChild = w->previousSibling;
  }
  if (Window* previous = Find(w->previousSibling)) previous->nextSibling = w->nextSibling;
  if (Window* next = Find(w->nextSibling)) next->previousSibling = w->previousSibling;
  w->inUse = false;
}

void ResetWindowTable() {
  // Generations carry on, so handles from before the reset stay invalid.
  for (Window& w : windows) w.inUse = false;
}

bool IsDescendant(HWND ancestor, HWND handle) {
  if (ancestor == nullptr) return false;
  Window* w = Find(handle);
  while (w != nullptr && w->parent != nullptr) {
    if (w->parent == ancestor) return true;
    w = Find(w->parent);
  }
  return false;
}

HWND TopLevelOf(HWND handle) {
  Window* w = Find(handle);
  if (w == nullptr) return nullptr;
  while (w->parent != nullptr) {
    handle = w->parent;
    w = Find(handle);
  }
  return handle;
}

HWND NextTopLevel(HWND after) {
  size_t start = 0;
  if (after != nullptr) start = (reinterpret_cast<uintptr_t>(after) & 0xFFFF);
  for (size_t i = start; i < windowCapacity; ++i) {
    if (windows[i].inUse && windows[i].parent == nullptr) return HandleOf(i);
  }
  return nullptr;
}

size_t BoundedLength(const char* text, size_t room) { return text != nullptr ? strnlen(text, room) : 0; }

void SetText(Window& w, const char* text) {
  size_t length = BoundedLength(text, windowTextRoom - 1);
  if (length > 0) std::memmove(w.text, text, length);
  w.text[length] = '\0';
  w.textLength = length;
}

size_t CopyTextOut(const char* text, size_t length, char* buffer, size_t room) {
  if (buffer == nullptr || room == 0) return 0;
  if (length >= room) length = room - 1;
  if (length > 0) std::memmove(buffer, text, length);
  buffer[length] = '\0';
  return length;
}

}  // namespace host::window

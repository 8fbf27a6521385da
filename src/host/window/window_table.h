// The table of windows behind the host window system: one fixed slot per window, handles
// that name a slot and its reuse count (so a handle to a destroyed window never reaches
// the slot's next occupant), and the parent/child links in creation (z-)order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/window/host_window.h"

namespace host::window {

// Text editing state of an edit box, or of the edit field of a drop-down combo box.
struct EditState {
  int selectionStart;  // the anchor
  int selectionEnd;    // the caret
  bool mouseSelecting;
  int limit;  // characters
  bool modified;
};

struct ButtonState {
  UINT check;  // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
  bool pushed;
};

struct TrackbarState {
  LONG minimum;
  LONG maximum;
  LONG position;
  LONG lineSize;
  LONG pageSize;
  bool dragging;
  bool paging;
};

struct ComboState {
  int list;  // slot in the combo list pool, -1 when none
  bool dropped;
};

struct DialogState {
  int defaultId;  // DM_SETDEFID, or the template's default push button; 0 for none
  HWND savedFocus;
  bool ended;
  HFONT font;
};

struct Window {
  bool inUse;
  bool destroying;
  uint16_t generation;
  ControlClass kind;
  int id;
  HWND parent;  // null for top-level windows
  HWND owner;   // top-level windows: the parent given at creation
  HWND firstChild;
  HWND lastChild;
  HWND nextSibling;
  HWND previousSibling;
  DWORD style;
  DWORD exStyle;
  RECT dialogUnits;
  DLGPROC dialogProcedure;
  size_t textLength;
  char text[windowTextRoom];
  EditState edit;
  ButtonState button;
  TrackbarState trackbar;
  ComboState combo;
  DialogState dialog;
  int treeRoot;  // tree views: the slot of the hidden root item
  int treeItemCount;
};

struct NewWindow {
  ControlClass kind;
  HWND parent;  // a child window of this one; null for a top-level window
  HWND owner;
  int id;
  DWORD style;
  DWORD exStyle;
  RECT dialogUnits;
  const char* text;
  DLGPROC dialogProcedure;
};

// A slot for a new window, linked last among its siblings; null when the table is full.
HWND CreateWindowSlot(const NewWindow& made);
// Unlinks the window (its children must be gone) and frees the slot.
void FreeWindowSlot(HWND window);
// The window while it exists, including during its destruction.
Window* Find(HWND window);
void ResetWindowTable();

bool IsDescendant(HWND ancestor, HWND window);
HWND TopLevelOf(HWND window);
// Top-level windows in table order: start with null, continue with the last answer.
HWND NextTopLevel(HWND after);

void SetText(Window& window, const char* text);
// Copies at most room-1 characters and a NUL; the count copied.
size_t CopyTextOut(const char* text, size_t length, char* buffer, size_t room);
// strlen bounded by room, for texts from the caller.
size_t BoundedLength(const char* text, size_t room);

}  // namespace host::window

// Single-line text editing, shared by edit boxes and the edit field of drop-down combo
// boxes: a selection (anchor and caret), replacement of the selection, typed characters
// and the text limit.
#pragma once

#include "host/window/window_table.h"

namespace host::window {

struct EditOutcome {
  bool changed;
  bool hitLimit;  // the text limit cut the insertion short (EN_MAXTEXT)
};

int SelectionLow(const Window& w);
int SelectionHigh(const Window& w);
// EM_SETSEL: a start of -1 removes the selection, an end of -1 (or past the text) is the end.
void SetSelection(Window& w, int start, int end);
EditOutcome ReplaceSelection(Window& w, const char* text, size_t length);
// A WM_CHAR: printable characters replace the selection, backspace deletes it (or the
// character before the caret); other control characters do nothing.
EditOutcome TypeCharacter(Window& w, char character);
// VK_DELETE, VK_LEFT, VK_RIGHT, VK_HOME, VK_END; false for other keys.
bool EditKey(Window& w, WPARAM key, EditOutcome* outcome);
// The character position under client x (dialog units).
int CharacterAt(const Window& w, LONG x);
void SelectAll(Window& w);

}  // namespace host::window

#include "host/window/edit_text.h"

#include <algorithm>
#include <cstring>

namespace host::window {
namespace {

int Length(const Window& w) { return static_cast<int>(w.textLength); }

int MaximumLength(const Window& w) { return std::min(w.edit.limit, static_cast<int>(windowTextRoom - 1)); }

void PlaceCaret(Window& w, int position) {
  w.edit.selectionStart = w.edit.selectionEnd = std::clamp(position, 0, Length(w));
}

}  // namespace

int SelectionLow(const Window& w) { return std::min(w.edit.selectionStart, w.edit.selectionEnd); }
int SelectionHigh(const Window& w) { return std::max(w.edit.selectionStart, w.edit.selectionEnd); }

void SetSelection(Window& w, int start, int end) {
  if (start < 0) {
    w.edit.selectionStart = w.edit.selectionEnd;
    return;
  }
  if (end < 0 || end > Length(w)) end = Length(w);
  w.edit.selectionStart = std::min(start, Length(w));
  w.edit.selectionEnd = end;
}

void SelectAll(Window& w) { SetSelection(w, 0, -1); }

EditOutcome ReplaceSelection(Window& w, const char* text, size_t count) {
  int low = SelectionLow(w);
  int high = SelectionHigh(w);
  int kept = Length(w) - (high - low);
  int room = std::max(0, MaximumLength(w) - kept);
  bool cut = static_cast<int>(count) > room;
  if (cut) count = static_cast<size_t>(room);
  if (count == 0 && low == high) return {false, cut};
  std::memmove(w.text + low + count, w.text + high, static_cast<size_t>(Length(w) - high));
  if (count > 0) std::memcpy(w.text + low, text, count);
  w.textLength = static_cast<size_t>(kept) + count;
  w.text[w.textLength] = '\0';
  PlaceCaret(w, low + static_cast<int>(count));
  w.edit.modified = true;
  return {true, cut};
}

EditOutcome TypeCharacter(Window& w, char character) {
  if (character == '\b') {
    if (SelectionLow(w) == SelectionHigh(w)) {
      if (w.edit.selectionEnd == 0) return {false, false};
      w.edit.selectionStart = w.edit.selectionEnd - 1;
    }
    return ReplaceSelection(w, "", 0);
  }
  if (static_cast<unsigned char>(character) < 0x20) return {false, false};
  return ReplaceSelection(w, &character, 1);
}

bool EditKey(Window& w, WPARAM key, EditOutcome* outcome) {
  *outcome = {false, false};
  switch (key) {
    case VK_DELETE:
      if (SelectionLow(w) == SelectionHigh(w)) {
        if (w.edit.selectionEnd >= Length(w)) return true;
        w.edit.selectionStart = w.edit.selectionEnd + 1;
      }
      *outcome = ReplaceSelection(w, "", 0);
      return true;
    case VK_LEFT:
      PlaceCaret(w, SelectionLow(w) == SelectionHigh(w) ? w.edit.selectionEnd - 1 : SelectionLow(w));
      return true;
    case VK_RIGHT:
      PlaceCaret(w, SelectionLow(w) == SelectionHigh(w) ? w.edit.selectionEnd + 1 : SelectionHigh(w));
      return true;
    case VK_HOME:
      PlaceCaret(w, 0);
      return true;
    case VK_END:
      PlaceCaret(w, Length(w));
      return true;
    default:
      return false;
  }
}

int CharacterAt(const Window& w, LONG x) {
  if (x <= 0) return 0;
  return std::min(Length(w), static_cast<int>((x + editCharacterWidth / 2) / editCharacterWidth));
}

}  // namespace host::window

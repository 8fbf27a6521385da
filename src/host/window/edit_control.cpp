// Single-line edit boxes. The parent hears EN_SETFOCUS and EN_KILLFOCUS as the focus comes
// and goes, and EN_UPDATE then EN_CHANGE after every change of the text: typing, deleting,
// EM_REPLACESEL and (for single-line boxes) WM_SETTEXT.
#include <cctype>

#include "host/window/edit_text.h"
#include "host/window/window_procedure.h"

namespace host::window {
namespace {

void NotifyChange(HWND edit, const EditOutcome& outcome) {
  if (outcome.hitLimit) NotifyParent(edit, EN_MAXTEXT);
  if (!outcome.changed) return;
  NotifyParent(edit, EN_UPDATE);
  NotifyParent(edit, EN_CHANGE);
}

// What the style lets through of a typed character; 0 to refuse it.
char Filtered(const Window& w, char character) {
  if (w.style & ES_READONLY) return 0;
  if (character == '\b') return character;
  if ((w.style & ES_NUMBER) && !std::isdigit(static_cast<unsigned char>(character))) return 0;
  if (w.style & ES_UPPERCASE) return static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
  if (w.style & ES_LOWERCASE) return static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
  return character;
}

}  // namespace

LRESULT EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(edit);
  if (w == nullptr) return 0;
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
      if (w->style & ES_MULTILINE) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_SETTEXT:
      SetText(*w, reinterpret_cast<const char*>(lParam));
      w->edit.selectionStart = w->edit.selectionEnd = 0;
      w->edit.modified = false;
      if ((w->style & ES_MULTILINE) == 0) NotifyChange(edit, {true, false});
      return TRUE;
    case WM_CHAR: {
      char character = Filtered(*w, static_cast<char>(wParam));
      if (character == 0) return 0;
      NotifyChange(edit, TypeCharacter(*w, character));
      return 0;
    }
    case WM_KEYDOWN: {
      EditOutcome outcome;
      if ((w->style & ES_READONLY) && wParam == VK_DELETE) return 0;
      if (EditKey(*w, wParam, &outcome)) NotifyChange(edit, outcome);
      return 0;
    }
    case EM_GETSEL: {
      DWORD low = static_cast<DWORD>(SelectionLow(*w));
      DWORD high = static_cast<DWORD>(SelectionHigh(*w));
      if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = low;
      if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = high;
      return MAKELRESULT(low, high);
    }
    case EM_SETSEL:
      SetSelection(*w, static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case EM_REPLACESEL: {
      const char* text = reinterpret_cast<const char*>(lParam);
      NotifyChange(edit, ReplaceSelection(*w, text, BoundedLength(text, windowTextRoom)));
      return 0;
    }
    case EM_LIMITTEXT:
      w->edit.limit = wParam == 0 ? 0x7FFFFFFE : static_cast<int>(wParam);
      return 0;
    case EM_GETLIMITTEXT:
      return w->edit.limit;
    case EM_GETMODIFY:
      return w->edit.modified ? TRUE : FALSE;
    case EM_SETMODIFY:
      w->edit.modified = wParam != 0;
      return 0;
    case EM_SETREADONLY:
      w->style = wParam ? (w->style | ES_READONLY) : (w->style & ~static_cast<DWORD>(ES_READONLY));
      return TRUE;
    case WM_LBUTTONDOWN: {
      SetFocus(edit);
      if ((w = Find(edit)) == nullptr) return 0;
      int at = CharacterAt(*w, static_cast<SHORT>(LOWORD(lParam)));
      w->edit.selectionStart = w->edit.selectionEnd = at;
      w->edit.mouseSelecting = true;
      return 0;
    }
    case WM_MOUSEMOVE:
      if (w->edit.mouseSelecting) w->edit.selectionEnd = CharacterAt(*w, static_cast<SHORT>(LOWORD(lParam)));
      return 0;
    case WM_LBUTTONUP:
      w->edit.mouseSelecting = false;
      return 0;
    case WM_SETFOCUS:
      NotifyParent(edit, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      w->edit.mouseSelecting = false;
      NotifyParent(edit, EN_KILLFOCUS);
      return 0;
    default:
      return DefaultWindowProcedure(edit, message, wParam, lParam);
  }
}

}  // namespace host::window

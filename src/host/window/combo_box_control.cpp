// Combo boxes: a list of items with a selection and, for CBS_SIMPLE and CBS_DROPDOWN, an
// edit field the selection writes its text into. Selecting by message (CB_SETCURSEL) tells
// the parent nothing; a user's pick from the dropped-down list sends CBN_SELCHANGE, then
// CBN_SELENDOK and CBN_CLOSEUP as the list closes. The focus brings CBN_SETFOCUS, its loss
// CBN_SELENDCANCEL (and CBN_CLOSEUP if the list was down) then CBN_KILLFOCUS.
#include <algorithm>
#include <cstring>
#include <strings.h>

#include "host/window/combo_lists.h"
#include "host/window/edit_text.h"
#include "host/window/window_procedure.h"

namespace host::window {
namespace {

// Width of the drop-down button at the right end, in dialog units.
constexpr LONG dropButtonWidth = 10;

bool HasEdit(const Window& w) { return (w.style & 3) != CBS_DROPDOWNLIST; }

// The edit field shows the selected item (or nothing).
void ShowSelection(Window& w, const ComboList& list) {
  SetText(w, list.selection >= 0 ? list.items[list.selection].text : "");
  SelectAll(w);
}

int Insert(Window& w, ComboList& list, int index, const char* text) {
  if (list.count == static_cast<int>(comboItemRoom)) return CB_ERRSPACE;
  if (text == nullptr) text = "";
  if (index < 0) {
    index = list.count;
    if (w.style & CBS_SORT) {
      index = 0;
      while (index < list.count && strcasecmp(list.items[index].text, text) <= 0) ++index;
    }
  }
  if (index > list.count) return CB_ERR;
  std::memmove(&list.items[index + 1], &list.items[index], sizeof(ComboItem) * static_cast<size_t>(list.count - index));
  ComboItem& item = list.items[index];
  item.length = BoundedLength(text, comboItemTextRoom - 1);
  std::memcpy(item.text, text, item.length);
  item.text[item.length] = '\0';
  item.data = 0;
  ++list.count;
  if (list.selection >= index) ++list.selection;
  return index;
}

int Delete(ComboList& list, int index) {
  if (index < 0 || index >= list.count) return CB_ERR;
  std::memmove(&list.items[index], &list.items[index + 1],
               sizeof(ComboItem) * static_cast<size_t>(list.count - index - 1));
  --list.count;
  if (list.selection == index) {
    list.selection = CB_ERR;
  } else if (list.selection > index) {
    --list.selection;
  }
  return list.count;
}

// The first item after `start` (wrapping round) whose text begins with, or is, `text`.
int Find(const ComboList& list, int start, const char* text, bool exact) {
  if (text == nullptr || list.count == 0) return CB_ERR;
  size_t length = std::strlen(text);
  if (start < -1 || start >= list.count) start = -1;
  for (int step = 1; step <= list.count; ++step) {
    int i = (start + step) % list.count;
    const ComboItem& item = list.items[i];
    bool match = exact ? strcasecmp(item.text, text) == 0 : strncasecmp(item.text, text, length) == 0;
    if (match) return i;
  }
  return CB_ERR;
}

// Closes a dropped-down list, accepting (pick) or cancelling the selection.
void RollUp(HWND combo, bool accepted) {
  NotifyParent(combo, accepted ? CBN_SELENDOK : CBN_SELENDCANCEL);
  Window* w = window::Find(combo);
  if (w == nullptr || !w->combo.dropped) return;
  w->combo.dropped = false;
  NotifyParent(combo, CBN_CLOSEUP);
}

void DropDown(HWND combo) {
  Window* w = window::Find(combo);
  if (w == nullptr || w->combo.dropped || (w->style & 3) == CBS_SIMPLE) return;
  NotifyParent(combo, CBN_DROPDOWN);
  if ((w = window::Find(combo)) != nullptr) w->combo.dropped = true;
}

void SelectByUser(HWND combo, int index) {
  Window* w = window::Find(combo);
  ComboList* list = w != nullptr ? ComboListAt(w->combo.list) : nullptr;
  if (list == nullptr || index < 0 || index >= list->count) return;
  list->selection = index;
  ShowSelection(*w, *list);
  NotifyParent(combo, CBN_SELCHANGE);
}

void NotifyEdit(HWND combo, const EditOutcome& outcome) {
  if (!outcome.changed) return;
  Window* w = window::Find(combo);
  // Typed text no longer names a list item.
  if (ComboList* list = w != nullptr ? ComboListAt(w->combo.list) : nullptr) list->selection = CB_ERR;
  NotifyParent(combo, CBN_EDITUPDATE);
  NotifyParent(combo, CBN_EDITCHANGE);
}

}  // namespace

LRESULT ComboBoxProcedure(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = window::Find(combo);
  if (w == nullptr) return 0;
  ComboList* list = ComboListAt(w->combo.list);
  if (list == nullptr) return DefaultWindowProcedure(combo, message, wParam, lParam);
  int index = static_cast<int>(wParam);
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS;
      const MSG* m = reinterpret_cast<const MSG*>(lParam);
      if (m != nullptr && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE) &&
          w->combo.dropped) {
        code |= DLGC_WANTMESSAGE;
      }
      return code;
    }
    case CB_ADDSTRING:
      return Insert(*w, *list, -1, reinterpret_cast<const char*>(lParam));
    case CB_INSERTSTRING:
      return Insert(*w, *list, index < 0 ? list->count : index, reinterpret_cast<const char*>(lParam));
    case CB_DELETESTRING: {
      int selection = list->selection;
      LRESULT remaining = Delete(*list, index);
      // A drop-down list shows only what is selected; an edit field keeps its text.
      if (!HasEdit(*w) && selection >= 0 && list->selection == CB_ERR) SetText(*w, "");
      return remaining;
    }
    case CB_RESETCONTENT:
      list->count = 0;
      list->selection = CB_ERR;
      SetText(*w, "");
      return CB_OKAY;
    case CB_GETCOUNT:
      return list->count;
    case CB_GETCURSEL:
      return list->selection;
    case CB_SETCURSEL:
      list->selection = (index >= 0 && index < list->count) ? index : CB_ERR;
      ShowSelection(*w, *list);
      return list->selection;
    case CB_GETLBTEXTLEN:
      if (index < 0 || index >= list->count) return CB_ERR;
      return static_cast<LRESULT>(list->items[index].length);
    case CB_GETLBTEXT:
      if (index < 0 || index >= list->count || lParam == 0) return CB_ERR;
      std::memcpy(reinterpret_cast<char*>(lParam), list->items[index].text, list->items[index].length + 1);
      return static_cast<LRESULT>(list->items[index].length);
    case CB_GETITEMDATA:
      if (index < 0 || index >= list->count) return CB_ERR;
      return static_cast<LRESULT>(list->items[index].data);
    case CB_SETITEMDATA:
      if (index < 0 || index >= list->count) return CB_ERR;
      list->items[index].data = static_cast<ULONG_PTR>(lParam);
      return TRUE;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
      return Find(*list, index, reinterpret_cast<const char*>(lParam), message == CB_FINDSTRINGEXACT);
    case CB_SELECTSTRING: {
      int found = Find(*list, index, reinterpret_cast<const char*>(lParam), false);
      if (found == CB_ERR) return CB_ERR;
      list->selection = found;
      ShowSelection(*w, *list);
      return found;
    }
    case CB_GETDROPPEDSTATE:
      return w->combo.dropped ? TRUE : FALSE;
    case CB_SHOWDROPDOWN:
      if (wParam) {
        DropDown(combo);
      } else if (w->combo.dropped) {
        w->combo.dropped = false;
        NotifyParent(combo, CBN_CLOSEUP);
      }
      return TRUE;
    case CB_LIMITTEXT:
      w->edit.limit = wParam == 0 ? 0x7FFFFFFE : static_cast<int>(wParam);
      return TRUE;
    case CB_GETEDITSEL: {
      DWORD low = static_cast<DWORD>(SelectionLow(*w));
      DWORD high = static_cast<DWORD>(SelectionHigh(*w));
      if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = low;
      if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = high;
      return MAKELRESULT(low, high);
    }
    case CB_SETEDITSEL:
      if (!HasEdit(*w)) return CB_ERR;
      SetSelection(*w, static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
      return TRUE;
    case WM_SETTEXT:
      if (HasEdit(*w)) {
        // The combo's own edit field does not report text set by message.
        SetText(*w, reinterpret_cast<const char*>(lParam));
        return TRUE;
      } else {
        int found = Find(*list, -1, reinterpret_cast<const char*>(lParam), true);
        if (found == CB_ERR) return CB_ERR;
        list->selection = found;
        ShowSelection(*w, *list);
        return TRUE;
      }
    case WM_CHAR:
      if (HasEdit(*w)) {
        NotifyEdit(combo, TypeCharacter(*w, static_cast<char>(wParam)));
      } else {
        char prefix[2] = {static_cast<char>(wParam), '\0'};
        int found = Find(*list, list->selection, prefix, false);
        if (found != CB_ERR && found != list->selection) SelectByUser(combo, found);
      }
      return 0;
    case WM_KEYDOWN: {
      if (wParam == VK_F4) {
        if (w->combo.dropped) {
          RollUp(combo, true);
        } else {
          DropDown(combo);
        }
        return 0;
      }
      if (wParam == VK_DOWN || wParam == VK_UP) {
        int next = list->selection + (wParam == VK_DOWN ? 1 : -1);
        if (list->selection < 0) next = 0;
        next = std::clamp(next, 0, std::max(0, list->count - 1));
        if (list->count > 0 && next != list->selection) SelectByUser(combo, next);
        return 0;
      }
      EditOutcome outcome;
      if (HasEdit(*w) && EditKey(*w, wParam, &outcome)) NotifyEdit(combo, outcome);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      SetFocus(combo);
      if ((w = window::Find(combo)) == nullptr || GetFocus() != combo) return 0;
      LONG x = static_cast<SHORT>(LOWORD(lParam));
      bool onButton = x >= (w->dialogUnits.right - w->dialogUnits.left) - dropButtonWidth;
      if (!HasEdit(*w) || onButton) {
        if (w->combo.dropped) {
          RollUp(combo, true);
        } else {
          DropDown(combo);
        }
      } else {
        w->edit.selectionStart = w->edit.selectionEnd = CharacterAt(*w, x);
        w->edit.mouseSelecting = true;
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (w->edit.mouseSelecting) w->edit.selectionEnd = CharacterAt(*w, static_cast<SHORT>(LOWORD(lParam)));
      return 0;
    case WM_LBUTTONUP:
      w->edit.mouseSelecting = false;
      return 0;
    case comboListPickMessage:
      if (!w->combo.dropped) return 0;
      if (index < 0 || index >= list->count) {
        RollUp(combo, false);
        return 0;
      }
      SelectByUser(combo, index);
      if (window::Find(combo) != nullptr) RollUp(combo, true);
      return 0;
    case WM_SETFOCUS:
      if (HasEdit(*w)) SelectAll(*w);
      NotifyParent(combo, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      w->edit.mouseSelecting = false;
      RollUp(combo, false);
      if ((w = window::Find(combo)) == nullptr) return 0;
      if (HasEdit(*w)) SetSelection(*w, -1, 0);
      NotifyParent(combo, CBN_KILLFOCUS);
      return 0;
    default:
      return DefaultWindowProcedure(combo, message, wParam, lParam);
  }
}

}  // namespace host::window

namespace host {

POINT ComboDropButtonPoint(HWND combo) {
  const window::Window* w = window::Find(combo);
  if (w == nullptr) return POINT{0, 0};
  LONG width = w->dialogUnits.right - w->dialogUnits.left;
  return POINT{std::max<LONG>(0, width - window::dropButtonWidth / 2), 6};
}

namespace {

const window::ComboList* ListOf(HWND combo) {
  const window::Window* w = window::Find(combo);
  if (w == nullptr || w->kind != ControlClass::ComboBox) return nullptr;
  return window::ComboListAt(w->combo.list);
}

}  // namespace

int ComboItemCount(HWND combo) {
  const window::ComboList* list = ListOf(combo);
  return list != nullptr ? list->count : 0;
}

const char* ComboItemText(HWND combo, int index) {
  const window::ComboList* list = ListOf(combo);
  if (list == nullptr || index < 0 || index >= list->count) return "";
  return list->items[index].text;
}

int ComboSelection(HWND combo) {
  const window::ComboList* list = ListOf(combo);
  return list != nullptr ? list->selection : CB_ERR;
}

}  // namespace host

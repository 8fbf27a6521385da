// Dialog creation from templates, the keyboard interface of IsDialogMessageA, and EndDialog.
#include "host/window/dialog_manager.h"

#include "host/window/focus.h"
#include "host/window/records.h"
#include "host/window/window_procedure.h"

namespace host::window {
namespace {

bool failNextCreateDialog = false;
bool commonControlsInitialised = false;
// The font handle the dialog manager hands WM_SETFONT (the host draws nothing with it).
HFONT const dialogFont = reinterpret_cast<HFONT>(static_cast<uintptr_t>(0x0A0F0001));

RECT RectOf(int x, int y, int cx, int cy) { return RECT{x, y, x + cx, y + cy}; }

HWND FirstFocusCandidate(HWND dialog) {
  HWND focus = GetNextDlgTabItem(dialog, nullptr, FALSE);
  return focus != nullptr ? focus : GetNextDlgGroupItem(dialog, nullptr, FALSE);
}

HWND CreateControl(HWND dialog, const ControlTemplate& control) {
  NewWindow made{control.kind,
                 dialog,
                 nullptr,
                 control.id,
                 control.style,
                 control.exStyle | WS_EX_NOPARENTNOTIFY,
                 RectOf(control.x, control.y, control.cx, control.cy),
                 control.text.c_str(),
                 nullptr};
  HWND handle = CreateWindowSlot(made);
  if (handle == nullptr) return nullptr;
  if (!AttachClassStorage(handle)) {
    FreeWindowSlot(handle);
    return nullptr;
  }
  // A tree view asks its parent which notifications it wants (ANSI or Unicode).
  if (control.kind == ControlClass::TreeView) {
    SendMessageA(dialog, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(handle), NF_QUERY);
  }
  return handle;
}

bool IsPushButton(HWND window) {
  Window* w = Find(window);
  if (w == nullptr || w->kind != ControlClass::Button) return false;
  DWORD type = w->style & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

void PressEnter(HWND dialog) {
  HWND focus = GetFocus();
  if (focus != nullptr && IsDescendant(dialog, focus) && IsPushButton(focus)) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
    return;
  }
  LRESULT defaultId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
  if (HIWORD(defaultId) == DC_HASDEFID) {
    HWND button = GetDlgItem(dialog, LOWORD(defaultId));
    if (button == nullptr || IsWindowEnabled(button)) {
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(defaultId), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    return;
  }
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// The dialog keys of a WM_KEYDOWN; false when the key is left to the control.
bool HandleDialogKey(HWND dialog, const MSG& message) {
  LRESULT code = SendMessageA(message.hwnd, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&message));
  if (code & DLGC_WANTMESSAGE) return false;
  switch (message.wParam) {
    case VK_TAB:
      if (code & DLGC_WANTTAB) return false;
      SendMessageA(dialog, WM_NEXTDLGCTL, 0, 0);
      return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
      if (code & DLGC_WANTARROWS) return false;
      BOOL previous = message.wParam == VK_LEFT || message.wParam == VK_UP;
      HWND next = GetNextDlgGroupItem(dialog, message.hwnd, previous);
      SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
      return true;
    }
    case VK_ESCAPE:
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return true;
    case VK_RETURN:
      PressEnter(dialog);
      return true;
    default:
      return false;
  }
}

}  // namespace

HWND CreateDialogFromTemplate(const DialogTemplate& t, HWND owner, DLGPROC procedure, LPARAM initParam) {
  bool child = (t.style & WS_CHILD) != 0;
  // Shown once initialised, as the dialog manager does.
  NewWindow made{ControlClass::Dialog,
                 child ? owner : nullptr,
                 owner,
                 0,
                 t.style & ~static_cast<DWORD>(WS_VISIBLE),
                 t.exStyle,
                 RectOf(t.x, t.y, t.cx, t.cy),
                 t.caption.c_str(),
                 procedure};
  HWND dialog = CreateWindowSlot(made);
  if (dialog == nullptr) return nullptr;
  if (t.style & DS_SETFONT) SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
  for (const ControlTemplate& control : t.controls) {
    if (Find(dialog) == nullptr) return nullptr;
    HWND handle = CreateControl(dialog, control);
    if (handle == nullptr) {
      if (t.style & DS_NOFAILCREATE) continue;
      DestroyWindow(dialog);
      return nullptr;
    }
    // The last default push button of the template is the dialog's default.
    if (control.kind == ControlClass::Button && (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      Window* d = Find(dialog);
      if (d->dialog.defaultId != 0) {
        if (HWND previous = GetDlgItem(dialog, d->dialog.defaultId))
          SendMessageA(previous, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
      }
      d->dialog.defaultId = control.id;
    }
  }
  if (Find(dialog) == nullptr) return nullptr;
  LRESULT initialised =
      SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(FirstFocusCandidate(dialog)), initParam);
  if (Find(dialog) == nullptr) return nullptr;
  // TRUE asks for the default focus: the first control that takes it (found again, since
  // WM_INITDIALOG may have changed the controls).
  if (initialised && (!(t.style & DS_CONTROL) || (t.style & WS_VISIBLE))) {
    HWND focus = FirstFocusCandidate(dialog);
    if (focus != nullptr) {
      if (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(focus, EM_SETSEL, 0, -1);
      SetFocus(focus);
    } else if (!child) {
      SetFocus(dialog);
    }
  }
  Window* d = Find(dialog);
  if (d == nullptr) return nullptr;
  if ((t.style & WS_VISIBLE) && (d->style & WS_VISIBLE) == 0) ShowWindow(dialog, SW_SHOWNORMAL);
  return Find(dialog) != nullptr ? dialog : nullptr;
}

void ResetDialogManager() {
  failNextCreateDialog = false;
  commonControlsInitialised = false;
  ResetLastResourceScriptError();
}

}  // namespace host::window

using host::window::Find;
using host::window::Window;

void WINAPI InitCommonControls() { host::window::commonControlsInitialised = true; }

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
  if (init == nullptr || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  host::window::commonControlsInitialised = true;
  return TRUE;
}

HWND WINAPI CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC dialogProc,
                               LPARAM initParam) {
  (void)instance;  // every registered script belongs to the one executable
  if (host::window::failNextCreateDialog) {
    host::window::failNextCreateDialog = false;
    return nullptr;
  }
  host::DialogTemplate found;
  if (!host::window::FindDialogTemplate(templateName, &found)) return nullptr;
  return host::window::CreateDialogFromTemplate(found, parent, dialogProc, initParam);
}

BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG message) {
  if (message == nullptr || Find(dialog) == nullptr) return FALSE;
  if (message->hwnd != dialog && !host::window::IsDescendant(dialog, message->hwnd)) return FALSE;
  if (message->message == WM_KEYDOWN && host::window::HandleDialogKey(dialog, *message)) return TRUE;
  // Everything else for the dialog is translated and dispatched here.
  TranslateMessage(message);
  DispatchMessageA(message);
  return TRUE;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
  Window* w = Find(dialog);
  if (w == nullptr || w->kind != host::ControlClass::Dialog) return FALSE;
  host::window::RecordEndDialog(dialog, result);
  w->dialog.ended = true;
  // The focus goes to the dialog itself, then the dialog is hidden (a modeless dialog stays
  // alive: only DestroyWindow ends it) and another window is activated.
  HWND focus = GetFocus();
  if (focus != nullptr && host::window::IsDescendant(dialog, focus)) SetFocus(dialog);
  if ((w = Find(dialog)) == nullptr) return TRUE;
  w->style &= ~static_cast<DWORD>(WS_VISIBLE);
  host::window::ActivateOtherWindow(dialog);
  // Wakes a modal loop, were one running.
  PostMessageA(dialog, WM_NULL, 0, 0);
  return TRUE;
}

namespace host {

HWND CreateHostDialog(DLGPROC procedure) {
  window::NewWindow made{ControlClass::Dialog, nullptr, nullptr,  0, WS_POPUP | WS_VISIBLE, 0,
                         RECT{0, 0, 0, 0},     "",      procedure};
  return window::CreateWindowSlot(made);
}

HWND AddHostControl(HWND dialog, int id, ControlClass kind, const char* text, DWORD style) {
  Window* d = Find(dialog);
  if (d == nullptr || kind == ControlClass::Dialog) return nullptr;
  window::NewWindow made{kind, dialog, nullptr, id, style, WS_EX_NOPARENTNOTIFY, RECT{0, 0, 0, 0}, text, nullptr};
  HWND handle = window::CreateWindowSlot(made);
  if (handle != nullptr && !window::AttachClassStorage(handle)) {
    window::FreeWindowSlot(handle);
    return nullptr;
  }
  return handle;
}

ControlClass ClassOf(HWND window) {
  Window* w = Find(window);
  return w != nullptr ? w->kind : ControlClass::Dialog;
}

RECT DialogUnitRect(HWND window) {
  Window* w = Find(window);
  return w != nullptr ? w->dialogUnits : RECT{0, 0, 0, 0};
}

bool CommonControlsInitialized() { return window::commonControlsInitialised; }

void FailNextCreateDialog() { window::failNextCreateDialog = true; }

}  // namespace host

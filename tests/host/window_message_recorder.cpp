#include "host/window_message_recorder.h"

#include <cstdio>

#include "host/dinput/device_registry.h"

namespace window_test {
namespace {

MessageRecorder* current = nullptr;

struct Name {
  UINT value;
  const char* name;
};

const Name messageNames[] = {
    {WM_NULL, "WM_NULL"},
    {WM_DESTROY, "WM_DESTROY"},
    {WM_ACTIVATE, "WM_ACTIVATE"},
    {WM_SETFOCUS, "WM_SETFOCUS"},
    {WM_KILLFOCUS, "WM_KILLFOCUS"},
    {WM_ENABLE, "WM_ENABLE"},
    {WM_SETTEXT, "WM_SETTEXT"},
    {WM_GETTEXT, "WM_GETTEXT"},
    {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
    {WM_CLOSE, "WM_CLOSE"},
    {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
    {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
    {WM_NEXTDLGCTL, "WM_NEXTDLGCTL"},
    {WM_SETFONT, "WM_SETFONT"},
    {WM_NOTIFY, "WM_NOTIFY"},
    {WM_NOTIFYFORMAT, "WM_NOTIFYFORMAT"},
    {WM_NCDESTROY, "WM_NCDESTROY"},
    {WM_NCACTIVATE, "WM_NCACTIVATE"},
    {WM_GETDLGCODE, "WM_GETDLGCODE"},
    {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
    {WM_KEYDOWN, "WM_KEYDOWN"},
    {WM_KEYUP, "WM_KEYUP"},
    {WM_CHAR, "WM_CHAR"},
    {WM_INITDIALOG, "WM_INITDIALOG"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
    {WM_HSCROLL, "WM_HSCROLL"},
    {WM_VSCROLL, "WM_VSCROLL"},
    {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
    {WM_LBUTTONUP, "WM_LBUTTONUP"},
    {WM_DEVICECHANGE, "WM_DEVICECHANGE"},
    {DM_GETDEFID, "DM_GETDEFID"},
    {DM_SETDEFID, "DM_SETDEFID"},
};

const Name editCodes[] = {{EN_SETFOCUS, "EN_SETFOCUS"},
                          {EN_KILLFOCUS, "EN_KILLFOCUS"},
                          {EN_CHANGE, "EN_CHANGE"},
                          {EN_UPDATE, "EN_UPDATE"},
                          {EN_MAXTEXT, "EN_MAXTEXT"}};
const Name comboCodes[] = {
    {CBN_SELCHANGE, "CBN_SELCHANGE"},   {CBN_SETFOCUS, "CBN_SETFOCUS"},     {CBN_KILLFOCUS, "CBN_KILLFOCUS"},
    {CBN_EDITCHANGE, "CBN_EDITCHANGE"}, {CBN_EDITUPDATE, "CBN_EDITUPDATE"}, {CBN_DROPDOWN, "CBN_DROPDOWN"},
    {CBN_CLOSEUP, "CBN_CLOSEUP"},       {CBN_SELENDOK, "CBN_SELENDOK"},     {CBN_SELENDCANCEL, "CBN_SELENDCANCEL"}};
const Name buttonCodes[] = {{BN_CLICKED, "BN_CLICKED"}, {BN_SETFOCUS, "BN_SETFOCUS"}, {BN_KILLFOCUS, "BN_KILLFOCUS"}};
const Name scrollCodes[] = {{TB_LINEUP, "TB_LINEUP"},
                            {TB_LINEDOWN, "TB_LINEDOWN"},
                            {TB_PAGEUP, "TB_PAGEUP"},
                            {TB_PAGEDOWN, "TB_PAGEDOWN"},
                            {TB_THUMBPOSITION, "TB_THUMBPOSITION"},
                            {TB_THUMBTRACK, "TB_THUMBTRACK"},
                            {TB_TOP, "TB_TOP"},
                            {TB_BOTTOM, "TB_BOTTOM"},
                            {TB_ENDTRACK, "TB_ENDTRACK"}};
const Name notifyCodes[] = {{TVN_DELETEITEMA, "TVN_DELETEITEMA"},
                            {TVN_ITEMEXPANDINGA, "TVN_ITEMEXPANDINGA"},
                            {TVN_ITEMEXPANDEDA, "TVN_ITEMEXPANDEDA"},
                            {NM_SETFOCUS, "NM_SETFOCUS"},
                            {NM_KILLFOCUS, "NM_KILLFOCUS"}};

template <size_t N>
std::string NameOf(const Name (&names)[N], UINT value) {
  for (const Name& n : names) {
    if (n.value == value) return n.name;
  }
  char number[16];
  std::snprintf(number, sizeof(number), "0x%X", value);
  return number;
}

std::string CommandCode(WORD code, HWND control) {
  switch (control != nullptr ? host::ClassOf(control) : host::ControlClass::Dialog) {
    case host::ControlClass::Edit:
      return NameOf(editCodes, code);
    case host::ControlClass::ComboBox:
      return NameOf(comboCodes, code);
    case host::ControlClass::Button:
      return NameOf(buttonCodes, code);
    default:
      return std::to_string(code);
  }
}

std::string Boolean(WPARAM value) { return value ? "TRUE" : "FALSE"; }

}  // namespace

std::string Describe(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  (void)dialog;
  Received r{dialog, message, wParam, lParam, "", {}};
  std::string name = NameOf(messageNames, r.message);
  switch (r.message) {
    case WM_COMMAND:
      return name + "(" + std::to_string(static_cast<SHORT>(LOWORD(r.wParam))) + ", " +
             CommandCode(HIWORD(r.wParam), reinterpret_cast<HWND>(r.lParam)) + ")";
    case WM_HSCROLL:
    case WM_VSCROLL: {
      WORD code = LOWORD(r.wParam);
      std::string text = name + "(" + NameOf(scrollCodes, code);
      if (code == TB_THUMBTRACK || code == TB_THUMBPOSITION) text += ", " + std::to_string(HIWORD(r.wParam));
      return text + ")";
    }
    case WM_ACTIVATE: {
      const char* state = LOWORD(r.wParam) == WA_INACTIVE ? "WA_INACTIVE"
                          : LOWORD(r.wParam) == WA_ACTIVE ? "WA_ACTIVE"
                                                          : "WA_CLICKACTIVE";
      return name + "(" + state + (HIWORD(r.wParam) ? ", minimised" : "") + ")";
    }
    case WM_NOTIFY:
      return name + "(" + std::to_string(r.wParam) + ", " +
             NameOf(notifyCodes, reinterpret_cast<const NMHDR*>(r.lParam)->code) + ")";
    case WM_NCACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_SHOWWINDOW:
      return name + "(" + Boolean(r.wParam) + ")";
    case WM_SYSCOMMAND:
      return name + ((r.wParam & 0xFFF0) == SC_CLOSE ? "(SC_CLOSE)" : "(" + std::to_string(r.wParam) + ")");
    case WM_DEVICECHANGE:
      return name + (r.wParam == DBT_DEVICEARRIVAL          ? "(DBT_DEVICEARRIVAL)"
                     : r.wParam == DBT_DEVICEREMOVECOMPLETE ? "(DBT_DEVICEREMOVECOMPLETE)"
                                                            : "(" + std::to_string(r.wParam) + ")");
    default:
      return name;
  }
}

MessageRecorder::MessageRecorder() { current = this; }

MessageRecorder::~MessageRecorder() {
  if (current == this) current = nullptr;
}

INT_PTR CALLBACK MessageRecorder::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (current == nullptr) return FALSE;
  Received r{dialog, message, wParam, lParam, Describe(dialog, message, wParam, lParam), {}};
  if (message == WM_NOTIFY) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    // Tree views send NMTREEVIEWA for their TVN_ codes; NM_ codes carry a bare NMHDR.
    if (static_cast<int>(header->code) <= static_cast<int>(TVN_FIRST)) {
      r.notice = *reinterpret_cast<const NMTREEVIEWA*>(lParam);
    } else {
      r.notice.hdr = *header;
    }
  }
  current->received_.push_back(r);
  if (current->answer) return current->answer(dialog, message, wParam, lParam);
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::vector<std::string> MessageRecorder::Lines(const std::vector<UINT>& ignored) const {
  std::vector<std::string> lines;
  for (const Received& r : received_) {
    bool skip = false;
    for (UINT message : ignored) skip = skip || message == r.message;
    if (!skip) lines.push_back(r.description);
  }
  return lines;
}

ScopedScript::ScopedScript(const char* name, const char* text, const host::EmbeddedFile* includes, size_t includeCount)
    : text_(text), script_{name, text_.c_str(), text_.size(), includes, includeCount} {
  host::RegisterResourceScript(&script_);
}

ScopedScript::~ScopedScript() { host::UnregisterResourceScript(&script_); }

void WindowTest::SetUp() {
  host::ResetWindowSystem();
  host::ResetDirectInput();
}

void WindowTest::TearDown() { host::ResetWindowSystem(); }

}  // namespace window_test

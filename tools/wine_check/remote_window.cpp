#include "remote_window.h"

#include <vector>

namespace remote {

std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, replyTimeoutMs,
                          &result) == 0) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

std::optional<std::string> Text(HWND window) {
  std::optional<LRESULT> length = Send(window, WM_GETTEXTLENGTH, 0, 0);
  if (!length || *length < 0) return std::nullopt;
  std::vector<char> buffer(static_cast<size_t>(*length) + 1, '\0');
  std::optional<LRESULT> copied =
      Send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  if (!copied) return std::nullopt;
  return std::string(buffer.data());
}

bool SetText(HWND window, const std::string& text) {
  std::optional<LRESULT> result = Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  return result && *result == TRUE;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  if (GetClassNameA(window, name, sizeof(name)) == 0) return {};
  return name;
}

// Asked in UTF-16: under Wine 8 a cross-process CB_GETLBTEXT sent through the ANSI call comes
// back unconverted (only the first character reads), while the Unicode call needs no conversion.
std::optional<std::string> ComboItem(HWND combo, int index) {
  DWORD_PTR length = 0;
  if (SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                          replyTimeoutMs, &length) == 0 ||
      static_cast<LRESULT>(length) == CB_ERR) {
    return std::nullopt;
  }
  std::vector<wchar_t> wide(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data()),
                          SMTO_ABORTIFHUNG | SMTO_BLOCK, replyTimeoutMs, &copied) == 0 ||
      static_cast<LRESULT>(copied) == CB_ERR) {
    return std::nullopt;
  }
  int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::nullopt;
  std::string text(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, text.data(), bytes, nullptr, nullptr);
  text.resize(static_cast<size_t>(bytes) - 1);
  return text;
}

HWND FocusedWindow(DWORD threadId) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(threadId, &info)) return nullptr;
  return info.hwndFocus;
}

bool Settle(HWND window) { return Send(window, WM_NULL, 0, 0).has_value(); }

bool PressKey(HWND window, UINT virtualKey) {
  LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  LPARAM down = 1 | scanCode;
  LPARAM up = 1 | scanCode | (LPARAM{1} << 30) | (LPARAM{1} << 31);
  return PostMessageA(window, WM_KEYDOWN, virtualKey, down) && PostMessageA(window, WM_KEYUP, virtualKey, up);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
}

}  // namespace remote

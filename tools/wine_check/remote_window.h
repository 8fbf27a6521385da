// Bounded access to the windows of another process: every message has a reply time-out, so a
// hung program fails a check instead of hanging the checker.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace remote {

constexpr UINT replyTimeoutMs = 3000;

// The reply to a sent message, or nothing when the window did not answer in time.
std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

std::optional<std::string> Text(HWND window);
bool SetText(HWND window, const std::string& text);
std::string ClassName(HWND window);
std::optional<std::string> ComboItem(HWND combo, int index);

// The window with the keyboard focus in the given GUI thread, or nullptr.
HWND FocusedWindow(DWORD threadId);

// Returns once the window's thread has handled everything sent or posted before a change that
// was already observed (its reply to WM_NULL comes only when it reads messages again).
bool Settle(HWND window);

// Posts a key press and release, as the keyboard would deliver them to the focused window.
bool PressKey(HWND window, UINT virtualKey);

// Polls the condition every few milliseconds until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

}  // namespace remote

// Retrieval follows the system's order: messages other threads sent are handed to their
// window procedures first (never returned), then posted messages, then WM_QUIT once none
// of those is left, then hardware input. TranslateMessage posts the characters of key
// presses, so they come before any input still queued.
#include "host/window/message_queue.h"

#include "host/system.h"
#include "host/window/last_error.h"
#include "host/window/window_procedure.h"

namespace host::window {
namespace {

template <size_t Capacity>
class MessageRing {
 public:
  size_t size() const { return size_; }
  MSG& at(size_t i) { return items_[(head_ + i) % Capacity]; }
  bool Push(const MSG& message) {
    if (size_ == Capacity) return false;
    items_[(head_ + size_) % Capacity] = message;
    ++size_;
    return true;
  }
  // Removes entry i, moving the ones before it up by one.
  void RemoveAt(size_t i) {
    for (; i > 0; --i) at(i) = at(i - 1);
    head_ = (head_ + 1) % Capacity;
    --size_;
  }
  void RemoveWindow(HWND window) {
    size_t kept = 0;
    for (size_t i = 0; i < size_; ++i) {
      if (at(i).hwnd != window) at(kept++) = at(i);
    }
    size_ = kept;
  }
  void Clear() { head_ = size_ = 0; }

 private:
  MSG items_[Capacity];
  size_t head_ = 0;
  size_t size_ = 0;
};

// No more than this many idle-hook rounds for one GetMessageA that finds nothing.
constexpr int idleRoundsPerGetMessage = 100000;

MessageRing<messageQueueCapacity> posted;
MessageRing<messageQueueCapacity> input;
MessageRing<crossThreadMessageCapacity> crossThread;
bool quitPosted = false;
int quitCode = 0;
bool failNextGetMessage = false;
void (*idleHook)(void*) = nullptr;
void* idleContext = nullptr;
bool inIdleHook = false;
uint64_t retrievedCount = 0;
uint64_t stalledGetMessages = 0;
RetrievedMessage retrievedLog[retrievedMessageLogRoom];

MSG Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return MSG{window, message, wParam, lParam, timeGetTime(), POINT{0, 0}, 0};
}

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
  if (filterMin == 0 && filterMax == 0) return true;
  return message >= filterMin && message <= filterMax;
}

bool Matches(const MSG& m, HWND window, UINT filterMin, UINT filterMax) {
  if (window == reinterpret_cast<HWND>(-1)) {
    if (m.hwnd != nullptr) return false;
  } else if (window != nullptr) {
    if (m.hwnd != window && !IsDescendant(window, m.hwnd)) return false;
  }
  return InRange(m.message, filterMin, filterMax);
}

void Log(const MSG& m, bool byGetMessage) {
  retrievedLog[retrievedCount % retrievedMessageLogRoom] =
      RetrievedMessage{m.hwnd, m.message, m.wParam, m.lParam, byGetMessage};
  ++retrievedCount;
}


template <size_t Capacity>
bool TakeFrom(MessageRing<Capacity>& ring, MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove) {
  for (size_t i = 0; i < ring.size(); ++i) {
    if (!Matches(ring.at(i), window, filterMin, filterMax)) continue;
    *out = ring.at(i);
    if (remove) ring.RemoveAt(i);
    return true;
  }
  return false;
}

bool Take(MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove, bool byGetMessage) {
  bool found = TakeFrom(posted, out, window, filterMin, filterMax, remove);
  if (!found && quitPosted && InRange(WM_QUIT, filterMin, filterMax)) {
    *out = Message(nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0);
    if (remove) quitPosted = false;
    found = true;
  }
  if (!found) found = TakeFrom(input, out, window, filterMin, filterMax, remove);
  if (found && remove) Log(*out, byGetMessage);
  return found;
}

bool RunIdleHook() {
  if (idleHook == nullptr || inIdleHook) return false;
  inIdleHook = true;
  idleHook(idleContext);
  inIdleHook = false;
  return true;
}

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && Find(window) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  if (posted.Push(Message(window, message, wParam, lParam))) return true;
  SetLastError(ERROR_NOT_ENOUGH_QUOTA);
  return false;
}

// A filter naming a window that does not exist.
bool InvalidFilter(HWND window) {
  if (window == nullptr || window == reinterpret_cast<HWND>(-1) || Find(window) != nullptr) return false;
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return true;
}

// The character a key press types, without shift states; 0 for none.
char CharacterOf(WPARAM key, LPARAM lParam) {
  if (key >= 'A' && key <= 'Z') return static_cast<char>(key - 'A' + 'a');
  if (key >= '0' && key <= '9') return static_cast<char>(key);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return static_cast<char>('0' + (key - VK_NUMPAD0));
  switch (key) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return '\r';
    case VK_BACK:
      return '\b';
    case VK_TAB:
      return '\t';
    case VK_ESCAPE:
      return 0x1B;
    case VK_DECIMAL:
    case VK_OEM_PERIOD:
      return '.';
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
      return '-';
    case VK_OEM_COMMA:
      return ',';
    // A character typed as such (SendInput's KEYEVENTF_UNICODE) rides in the scan code.
    case VK_PACKET:
      return static_cast<char>((lParam >> 16) & 0xFF);
    default:
      return 0;
  }
}

}  // namespace

void DeliverCrossThreadMessages() {
  while (crossThread.size() > 0) {
    MSG m = crossThread.at(0);
    crossThread.RemoveAt(0);
    CallWindowProcedure(m.hwnd, m.message, m.wParam, m.lParam);
  }
}

void DropMessagesFor(HWND window) {
  posted.RemoveWindow(window);
  input.RemoveWindow(window);
  crossThread.RemoveWindow(window);
}

void ResetMessageQueue() {
  posted.Clear();
  input.Clear();
  crossThread.Clear();
  quitPosted = false;
  quitCode = 0;
  failNextGetMessage = false;
  idleHook = nullptr;
  idleContext = nullptr;
  inIdleHook = false;
  retrievedCount = 0;
  stalledGetMessages = 0;
}

}  // namespace host::window

using namespace host::window;

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window == HWND_BROADCAST) {
    for (HWND top = NextTopLevel(nullptr); top != nullptr; top = NextTopLevel(top)) {
      if (!Post(top, message, wParam, lParam)) return FALSE;
    }
    return TRUE;
  }
  // Another application's window gets it in its own queue.
  if (window == host::OtherApplicationWindow()) return TRUE;
  return Post(window, message, wParam, lParam) ? TRUE : FALSE;
}

void WINAPI PostQuitMessage(int exitCode) {
  quitPosted = true;
  quitCode = exitCode;
}

BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (message == nullptr || InvalidFilter(window)) return FALSE;
  bool remove = (removeFlags & PM_REMOVE) != 0;
  DeliverCrossThreadMessages();
  if (Take(message, window, filterMin, filterMax, remove, false)) return TRUE;
  if (!RunIdleHook()) return FALSE;
  DeliverCrossThreadMessages();
  return Take(message, window, filterMin, filterMax, remove, false) ? TRUE : FALSE;
}

BOOL WINAPI GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
  if (failNextGetMessage) {
    failNextGetMessage = false;
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  if (message == nullptr || InvalidFilter(window)) return -1;
  for (int round = 0; round < idleRoundsPerGetMessage; ++round) {
    DeliverCrossThreadMessages();
    if (Take(message, window, filterMin, filterMax, true, true)) return message->message == WM_QUIT ? 0 : 1;
    if (!RunIdleHook()) break;
  }
  // A real GetMessageA would wait for ever here.
  ++stalledGetMessages;
  return -1;
}

BOOL WINAPI TranslateMessage(const MSG* message) {
  if (message == nullptr) return FALSE;
  switch (message->message) {
    case WM_KEYDOWN: {
      char character = CharacterOf(message->wParam, message->lParam);
      if (character != 0) {
        Post(message->hwnd, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)), message->lParam);
      }
      return TRUE;
    }
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      return TRUE;
    default:
      return FALSE;
  }
}

LRESULT WINAPI DispatchMessageA(const MSG* message) {
  if (message == nullptr || message->hwnd == nullptr) return 0;
  return CallWindowProcedure(message->hwnd, message->message, message->wParam, message->lParam);
}

namespace host {

void FailNextGetMessage() { failNextGetMessage = true; }

void SetIdleHook(void (*hook)(void* context), void* context) {
  idleHook = hook;
  idleContext = context;
}

uint64_t RetrievedMessageCount() { return retrievedCount; }

size_t RetrievedMessageLogSize() {
  return retrievedCount < retrievedMessageLogRoom ? static_cast<size_t>(retrievedCount) : retrievedMessageLogRoom;
}

const RetrievedMessage& RetrievedMessageAt(size_t index) {
  size_t size = RetrievedMessageLogSize();
  if (index >= size) index = size == 0 ? 0 : size - 1;
  uint64_t oldest = retrievedCount - size;
  return retrievedLog[(oldest + index) % retrievedMessageLogRoom];
}

uint64_t StalledGetMessageCount() { return stalledGetMessages; }

bool PostInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Find(window) == nullptr) return false;
  return input.Push(Message(window, message, wParam, lParam));
}

bool SendFromOtherThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Find(window) == nullptr) return false;
  return crossThread.Push(Message(window, message, wParam, lParam));
}

}  // namespace host

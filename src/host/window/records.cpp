#include "host/window/records.h"

#include "host/window/message_queue.h"
#include "host/window/window_table.h"

namespace host::window {
namespace {

constexpr size_t endDialogRoom = 64;

MessageBoxRecord messageBoxes[messageBoxRoom];
size_t messageBoxCount = 0;
EndDialogRecord endDialogs[endDialogRoom];
size_t endDialogCount = 0;
void (*messageBoxHook)(void*) = nullptr;
void* messageBoxHookContext = nullptr;
bool inMessageBoxHook = false;

void Copy(char* to, const char* from) {
  CopyTextOut(from != nullptr ? from : "", BoundedLength(from, windowTextRoom), to, windowTextRoom);
}

}  // namespace

void RecordEndDialog(HWND dialog, INT_PTR result) {
  if (endDialogCount < endDialogRoom) endDialogs[endDialogCount++] = EndDialogRecord{dialog, result};
}

void ResetRecords() {
  messageBoxCount = 0;
  endDialogCount = 0;
  messageBoxHook = nullptr;
  messageBoxHookContext = nullptr;
}

}  // namespace host::window

// Recorded, not shown: the user "presses" OK at once.
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  using namespace host::window;
  if (messageBoxCount < host::messageBoxRoom) {
    host::MessageBoxRecord& r = messageBoxes[messageBoxCount++];
    r.owner = owner;
    Copy(r.text, text);
    Copy(r.caption, caption);
    r.type = type;
  }
  if (messageBoxHook != nullptr && !inMessageBoxHook) {
    inMessageBoxHook = true;
    messageBoxHook(messageBoxHookContext);
    inMessageBoxHook = false;
  }
  // The box's modal loop: what other threads sent meanwhile reaches its windows.
  DeliverCrossThreadMessages();
  return IDOK;
}

namespace host {

void SetMessageBoxHook(void (*hook)(void* context), void* context) {
  window::messageBoxHook = hook;
  window::messageBoxHookContext = context;
}

size_t MessageBoxCount() { return window::messageBoxCount; }

const MessageBoxRecord& MessageBoxAt(size_t index) {
  return window::messageBoxes[index < window::messageBoxCount ? index : 0];
}

size_t EndDialogCount() { return window::endDialogCount; }

const EndDialogRecord& EndDialogAt(size_t index) {
  return window::endDialogs[index < window::endDialogCount ? index : 0];
}

bool EndDialogCalled(HWND dialog) {
  for (size_t i = 0; i < window::endDialogCount; ++i) {
    if (window::endDialogs[i].dialog == dialog) return true;
  }
  return false;
}

}  // namespace host

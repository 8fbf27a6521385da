// The thread's message queue: posted messages, the quit flag, hardware input, and messages
// other threads send, each in fixed storage.
#pragma once

#include "host/window/window_table.h"

namespace host::window {

// Forgets everything queued for a window that is going away.
void DropMessagesFor(HWND window);
void ResetMessageQueue();
// Hands what other threads sent to the window procedures, as every wait for messages does
// (PeekMessageA, GetMessageA, a message box's modal loop).
void DeliverCrossThreadMessages();

}  // namespace host::window

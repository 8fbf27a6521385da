// What the window system records for tests rather than shows: message boxes and EndDialog.
#pragma once

#include "host/window/host_window.h"

namespace host::window {

void RecordEndDialog(HWND dialog, INT_PTR result);
void ResetRecords();

}  // namespace host::window

// The dialog manager's internal steps, shared by CreateDialogParamA and the host's own
// dialog constructors.
#pragma once

#include "host/window/resource_script.h"
#include "host/window/window_table.h"

namespace host::window {

// Creates the dialog and its controls, sends WM_SETFONT, WM_INITDIALOG, sets the focus and
// shows the dialog as its style asks. Null when creation failed or WM_INITDIALOG destroyed it.
HWND CreateDialogFromTemplate(const DialogTemplate& dialogTemplate, HWND owner, DLGPROC procedure, LPARAM initParam);
// Finds the template among the registered scripts; false (with the reason kept for
// LastResourceScriptError) when there is none or a script does not parse.
bool FindDialogTemplate(LPCSTR name, DialogTemplate* found);
void ResetDialogManager();
void ResetLastResourceScriptError();

}  // namespace host::window

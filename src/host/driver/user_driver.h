// Acting on the program's dialog as a user would, and reading back what a user would see.
//
// Every action hands the window system what the real system would: mouse and keyboard input
// posted to the input queue (the program's own loop retrieves it, IsDialogMessageA and the
// controls handle it), activation changes sent at once, device changes sent from the
// system's notification thread. Nothing happens until the program pumps its messages, so an
// action made from the idle hook arrives as a user's would. Actions answer false, posting
// nothing, when a user could not do them: no such control, hidden or disabled, the window
// not the active one, a control of the wrong kind.
//
// Read-backs ask the controls through their messages, as another process would.
#pragma once

#include <string>
#include <vector>

#include "host/dinput/device_registry.h"
#include "platform/platform.h"

namespace host::driver {

// --- Mouse
// Clicks the button (an automatic check box changes state; the parent hears BN_CLICKED).
bool ClickButton(HWND dialog, int id);
// Clicks the check box only when its state differs from `checked`.
bool SetCheck(HWND dialog, int id, bool checked);
// Clicks into the control: an edit box gets the caret at the end of its text, a button is
// pressed and the mouse released off it (focus without a click), a trackbar's thumb is
// pressed and released where it is.
bool FocusControl(HWND dialog, int id);
// Opens the combo box's list (the focus moves to the combo box first) and clicks item `index`.
bool ChooseComboItem(HWND dialog, int id, int index);
// Presses the thumb, drags it through `steps` evenly spaced positions to `position` (clamped
// into the range) and releases it.
bool DragTrackbar(HWND dialog, int id, LONG position, int steps = 4);
// The close box: the default handling turns it into SC_CLOSE, then WM_CLOSE.
bool ClickCloseBox(HWND dialog);

// --- Keyboard (to the focused control, or to the dialog when no control has the focus)
// Clicks into the edit box (or the edit field of a combo box), selects its whole text by
// dragging across it and types `text` over it, one character at a time; an empty `text`
// deletes the selection with backspace. Printable ASCII only.
bool TypeText(HWND dialog, int id, const std::string& text);
bool PressKey(HWND dialog, WPARAM virtualKey);
bool PressEnter(HWND dialog);
bool PressEscape(HWND dialog);
bool PressTab(HWND dialog);
// One arrow-key step on a trackbar (+1: right, TB_LINEDOWN; -1: left, TB_LINEUP), clicking
// into it first when it does not have the focus.
bool StepTrackbarLine(HWND dialog, int id, int direction);

// --- The desktop
// Another application comes to the front (optionally after minimising this window): the
// DirectInput stand-in learns that the program is in the background, the dialog is
// deactivated and loses the focus.
void SwitchToOtherApplication(HWND dialog, bool minimise = false);
// Back to the program: DirectInput hears it is in the foreground, then the window is
// restored and activated and the dialog manager puts the focus back. False (and nothing
// changes) when the dialog is gone or hidden.
bool SwitchBack(HWND dialog);
// Plugs a device in (the DirectInput stand-in's registry) and broadcasts its arrival as a
// HID device interface; noDevice when the registry refused it.
DeviceId PlugDevice(const DeviceDescription& description);
// Unplugs it and broadcasts its removal.
bool UnplugDevice(DeviceId device);

// The standard modeless-dialog loop until the queue is empty, for tests that do not run the
// program's own: PeekMessageA, IsDialogMessageA, else TranslateMessage and DispatchMessageA.
// The number of messages retrieved.
size_t PumpMessages(HWND dialog);

// --- What the user sees
std::string Text(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
LONG TrackbarPosition(HWND dialog, int id);
struct Range {
  LONG minimum;
  LONG maximum;
};
Range TrackbarRange(HWND dialog, int id);
std::vector<std::string> ComboItems(HWND dialog, int id);
int ComboSelection(HWND dialog, int id);
// The id of the dialog's control that has the focus; 0 when none has.
int FocusedControlId(HWND dialog);
bool IsVisible(HWND dialog, int id);
bool WindowExists(HWND window);
bool EndDialogCalled(HWND dialog);

struct MessageBoxShown {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};
std::vector<MessageBoxShown> MessageBoxes();

// The tree view as indented text: one line per item, two spaces per level, "[+] " before
// the text of an expanded item, each line ending in "\n". Collapsed items' children are
// listed too (they are in the tree, only not shown).
std::string TreeText(HWND dialog, int id);

}  // namespace host::driver

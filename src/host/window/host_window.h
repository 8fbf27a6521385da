// What tests and the user driver see of the host window system beyond the Win32 calls:
// capacities, reset, injected failures, hooks, the record of retrieved messages, message
// boxes and EndDialog calls, and the entry points through which input and other threads'
// messages arrive.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/window/win32_controls.h"
#include "host/window/win32_device_change.h"
#include "host/window/win32_functions.h"
#include "host/window/win32_messages.h"
#include "host/window/win32_styles.h"

namespace host {

// Fixed storage: nothing here allocates once a dialog exists.
inline constexpr size_t windowCapacity = 512;
inline constexpr size_t windowTextRoom = 2048;  // bytes, with the terminating NUL
inline constexpr size_t comboBoxCapacity = 32;  // combo boxes alive at once
inline constexpr size_t comboItemRoom = 128;    // items per combo box
inline constexpr size_t comboItemTextRoom = 260;
inline constexpr size_t treeItemCapacity = 4096;      // items of all tree views together
inline constexpr size_t treeItemTextRoom = 2049;      // 2048 characters and the NUL
inline constexpr size_t messageQueueCapacity = 8192;  // posted messages; as many input messages
inline constexpr size_t crossThreadMessageCapacity = 256;
inline constexpr size_t retrievedMessageLogRoom = 512;
inline constexpr size_t messageBoxRoom = 64;

enum class ControlClass { Dialog, Static, Button, Edit, ComboBox, Trackbar, TreeView };

// A top-level dialog window with this procedure (null: none), outside any template.
HWND CreateHostDialog(DLGPROC procedure);
// A control on it, as the dialog manager would create it from a template line.
HWND AddHostControl(HWND dialog, int id, ControlClass kind, const char* text = "", DWORD style = WS_CHILD | WS_VISIBLE);

// Forgets windows, queues, quit state, focus and activation, hooks, message boxes,
// EndDialog calls, device registrations and injected failures. Registered resource
// scripts stay: they belong to the executable, as linked resources do.
void ResetWindowSystem();

ControlClass ClassOf(HWND window);
// The rectangle the template gave the window, in dialog units (empty for host-made ones).
RECT DialogUnitRect(HWND window);
bool CommonControlsInitialized();

// --- Injected failures
void FailNextGetMessage();    // the next GetMessageA returns -1
void FailNextCreateDialog();  // the next CreateDialogParamA returns NULL, sending nothing
void FailRegisterDeviceNotification(bool fail);

// --- Hooks
// Called whenever PeekMessageA or GetMessageA finds nothing for its caller: the moment a
// user's input would arrive. The hook may post input, advance the clock or close the window;
// the call looks once more after it. Null clears it. Not called again from inside itself.
void SetIdleHook(void (*hook)(void* context), void* context);
// Called while a message box is up, before the user "presses" OK: a real box runs a modal
// loop that delivers what the system sends meanwhile (a device broadcast, for one) to the
// program's windows. Null clears it. Not called again from inside itself.
void SetMessageBoxHook(void (*hook)(void* context), void* context);

// --- Messages removed from the queue by GetMessageA or by PeekMessageA with PM_REMOVE
struct RetrievedMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool byGetMessage;
};
uint64_t RetrievedMessageCount();
// The last retrievedMessageLogRoom of them, oldest first.
size_t RetrievedMessageLogSize();
const RetrievedMessage& RetrievedMessageAt(size_t index);
// GetMessageA calls that found nothing, even after the idle hook, and returned -1 instead
// of waiting forever.
uint64_t StalledGetMessageCount();

// --- Input and other threads
// Hardware input (keyboard and mouse) for a window: retrieved after posted messages and
// after WM_QUIT, as the system's input queue is. false when full or no such window.
bool PostInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A message another thread sends: it waits until this thread next calls PeekMessageA or
// GetMessageA, which hand it to the window procedure without returning it.
bool SendFromOtherThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Mouse input the host controls take already hit-tested, where a real one would work it
// out from coordinates: a click on item wParam of a dropped-down combo list, and the
// trackbar thumb dragged to position wParam (while the button is down).
inline constexpr UINT comboListPickMessage = WM_USER + 0x7B00;
inline constexpr UINT trackbarThumbDragMessage = WM_USER + 0x7B01;
// Client coordinates of the host controls are dialog units; an edit box's characters are
// an average character wide, which is four horizontal dialog units.
inline constexpr LONG editCharacterWidth = 4;
POINT TrackbarThumbPoint(HWND trackbar);
POINT ComboDropButtonPoint(HWND combo);

// --- Activation by the rest of the desktop
// Another application's window takes the foreground: our active window is deactivated
// (minimised first when asked) and loses the focus.
void ActivateOtherApplication(bool minimise);
// The user comes back to this window (restoring it when minimised); false when the window
// is gone or hidden, which no user can switch to.
bool ActivateFromOtherApplication(HWND window);
bool OtherApplicationActive();
// The other application's window: IsWindow accepts it, nothing else does anything with it.
HWND OtherApplicationWindow();

// --- Records
struct MessageBoxRecord {
  HWND owner;
  char text[windowTextRoom];
  char caption[windowTextRoom];
  UINT type;
};
size_t MessageBoxCount();
const MessageBoxRecord& MessageBoxAt(size_t index);

struct EndDialogRecord {
  HWND dialog;
  INT_PTR result;
};
size_t EndDialogCount();
const EndDialogRecord& EndDialogAt(size_t index);
bool EndDialogCalled(HWND dialog);

// What a user sees in a combo box.
int ComboItemCount(HWND combo);
const char* ComboItemText(HWND combo, int index);
int ComboSelection(HWND combo);

}  // namespace host

// The control panel: filling the dialog's controls from the settings, committing edit
// boxes with clamping and canonical write-back, trackbar moves and the force map boxes.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Controls the engine view renders into (see engine_view.h) and the report is built in.
extern HWND positionReadout;   // 1038, the position readout
extern HWND sleepReadout;      // 1042, the loop timing
extern HWND reportTreeWindow;  // 1025, the device report
extern HWND modeCombo;         // 1012, set back to "Disabled" when a measurement ends
extern HWND statusLine;        // 1050, the minimum-force result
// timeBeginPeriod(1) succeeded, so the destroy handling owes one timeEndPeriod(1).
extern bool timerResolutionSet;

// A trackbar, the setting it writes and its value label. Offset trackbars run 0..20000
// for the values -10000..10000: the position minus positionOffset is the value.
struct TrackbarControl {
  int trackbarId;
  int labelId;
  int32_t* field;
  int minimum;
  int maximum;
  int positionOffset;
  HWND trackbar;  // looked up at initialisation
  HWND label;
};
inline constexpr int trackbarControlCount = 11;
extern TrackbarControl trackbarControls[trackbarControlCount];

// The value label with this id, as looked up at initialisation (null before).
HWND ValueLabel(int labelId);

float ReadFloatEdit(HWND edit, float minimum, float maximum);
int ReadIntEdit(HWND edit, int minimum, int maximum);
void ShowForceMap();
void OnTrackbarScroll(int code, int thumbPosition, HWND trackbar);
// How a commit was asked for: leaving the box, or Enter.
enum class CommitTrigger { LeaveBox, Enter };
// Commits edit box `id`; false when `id` is not a committable edit box.
bool CommitEdit(HWND dialog, int id, CommitTrigger trigger);
void CommitFocusedEdit(HWND dialog);
// After a mode change: the Saturation X trackbar follows the new range.
void UpdateSaturationXTrackbar(HWND dialog);
void InitDialogControls(HWND dialog);
void ResetControlPanel();

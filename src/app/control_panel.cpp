#include "app/control_panel.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/control_ids.h"
#include "device/direct_input.h"
#include "diag/debug_trace.h"
#include "diag/result_code_name.h"
#include "settings/test_settings.h"

HWND positionReadout = nullptr;
HWND sleepReadout = nullptr;
HWND reportTreeWindow = nullptr;
HWND modeCombo = nullptr;
HWND statusLine = nullptr;
bool timerResolutionSet = false;
TrackbarControl trackbarControls[trackbarControlCount] = {
    {IDC_SATURATION_X, IDC_SATURATION_X_VALUE, &testSettings.springSaturationX, 1, 10000, 0, nullptr, nullptr},
    {IDC_SATURATION_Y, IDC_SATURATION_Y_VALUE, &testSettings.springSaturationY, 1, 10000, 0, nullptr, nullptr},
    {IDC_COEFFICIENT, IDC_COEFFICIENT_VALUE, &testSettings.springCoefficient, 0, 10000, 0, nullptr, nullptr},
    {IDC_OFFSET_X, IDC_OFFSET_X_VALUE, &testSettings.springOffsetX, 0, 20000, 10000, nullptr, nullptr},
    {IDC_OFFSET_Y, IDC_OFFSET_Y_VALUE, &testSettings.springOffsetY, 0, 20000, 10000, nullptr, nullptr},
    {IDC_DEADBAND, IDC_DEADBAND_VALUE, &testSettings.springDeadBand, 0, 10000, 0, nullptr, nullptr},
    {IDC_RANGE, IDC_RANGE_VALUE, &testSettings.springRange, 1, 100, 0, nullptr, nullptr},
    {IDC_DAMPER_SATURATION, IDC_DAMPER_SATURATION_VALUE, &testSettings.damperSaturation, 1, 10000, 0, nullptr, nullptr},
    {IDC_DAMPER_COEFFICIENT, IDC_DAMPER_COEFFICIENT_VALUE, &testSettings.damperCoefficient, 0, 10000, 0, nullptr, nullptr},
    {IDC_DAMPER_OFFSET, IDC_DAMPER_OFFSET_VALUE, &testSettings.damperOffset, 0, 20000, 10000, nullptr, nullptr},
    {IDC_DAMPER_DEADBAND, IDC_DAMPER_DEADBAND_VALUE, &testSettings.damperDeadBand, 0, 10000, 0, nullptr, nullptr},
};

namespace {

// The loop handles no message while it sleeps: beyond a second the window stops answering
// (and the tick already counts longer frames as stalls), so longer pauses are not taken.
constexpr int maxLoopSleepMs = 1000;
constexpr int editReadRoom = 256;      // at most 255 characters are read
constexpr int forceMapReadRoom = 1024;  // the map box reads up to 1023 ...
constexpr size_t forceMapTextCut = 255;  // ... and keeps the first 255

const char* const modeNames[] = {
    "Disabled",
    "Simple Spring",
    "Force Spring",
    "Force Spring (PID)",
    "H-Pattern Shifter",
    "Wheel with Spring",
    "Wheel with Force",
    "Wheel with Force (PID)",
    "Play sine wave",
    "Cycle",
    "Min force",
    "Step Log (step test)",
    "Step Log 2 (linear force test)",
    "Step Log 3 (linear time test)",
    "Resolution test",
};
const char* const damperNames[] = {"Disabled", "Damper", "Inertia", "Friction"};

// The order in which Enter looks for the focused box.
const int focusCommitOrder[] = {IDC_KP,    IDC_KI,        IDC_KD,        IDC_KD_AVG,   IDC_SLEEP,      IDC_REPEAT,
                                IDC_MIN_FORCE, IDC_FORCE_MAP, IDC_MAX_COUNT, IDC_STEP_TIME, IDC_WHEEL_ANGLE};

TrackbarControl& SaturationXControl() { return trackbarControls[0]; }

void SetTrackbarRange(HWND trackbar, int minimum, int maximum, BOOL redraw) {
  SendMessageA(trackbar, TBM_SETRANGE, static_cast<WPARAM>(redraw), MAKELONG(minimum, maximum));
}

void SetTrackbarPosition(HWND trackbar, int position) {
  SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
}

// Looks the trackbar and its label up, sets the range without redraw and the position.
void InitTrackbar(HWND dialog, TrackbarControl& control, int maximum) {
  control.trackbar = GetDlgItem(dialog, control.trackbarId);
  control.label = GetDlgItem(dialog, control.labelId);
  if (control.trackbar == nullptr) return;
  SetTrackbarRange(control.trackbar, control.minimum, maximum, FALSE);
  SetTrackbarPosition(control.trackbar, *control.field + control.positionOffset);
}

void InitTrackbarById(HWND dialog, int trackbarId) {
  for (TrackbarControl& control : trackbarControls) {
    if (control.trackbarId == trackbarId) InitTrackbar(dialog, control, control.maximum);
  }
}

void SetCheck(HWND dialog, int id, bool checked) {
  HWND box = GetDlgItem(dialog, id);
  if (box != nullptr) SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FillCombo(HWND combo, const char* const* names, int count, int selection) {
  if (combo == nullptr) return;
  for (int i = 0; i < count; ++i) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

void SetFloatText(HWND edit, float value) {
  char text[64];
  std::snprintf(text, sizeof(text), "%0.2f", static_cast<double>(value));
  SetWindowTextA(edit, text);
}

void SetIntText(HWND edit, int value) {
  char text[16];
  std::snprintf(text, sizeof(text), "%d", value);
  SetWindowTextA(edit, text);
}

void InitFloatEdit(HWND dialog, int id, float value) {
  HWND edit = GetDlgItem(dialog, id);
  if (edit != nullptr) SetFloatText(edit, value);
}

void InitIntEdit(HWND dialog, int id, int value) {
  HWND edit = GetDlgItem(dialog, id);
  if (edit != nullptr) SetIntText(edit, value);
}

// atof's reading, kept finite: text that is not a number (including "nan") reads as 0,
// and a value beyond the float range saturates, so no gain can turn the controllers'
// arithmetic into infinities.
float ParseFloatText(const char* text) {
  double value = std::strtod(text, nullptr);
  if (std::isnan(value)) return 0.0f;
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

// atoi's reading without its undefined overflow: out-of-range numbers saturate.
int ParseIntText(const char* text) {
  long long value = std::strtoll(text, nullptr, 10);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int>(value);
}

void CommitForceMap(HWND edit) {
  char text[forceMapReadRoom];
  text[0] = '\0';
  GetWindowTextA(edit, text, sizeof(text));
  text[forceMapTextCut] = '\0';
  ParseForceMap(text);
  ShowForceMap();
}

HWND controlDialog = nullptr;

}  // namespace

HWND ValueLabel(int labelId) {
  for (const TrackbarControl& control : trackbarControls) {
    if (control.labelId == labelId) return control.label;
  }
  return nullptr;
}

float ReadFloatEdit(HWND edit, float minimum, float maximum) {
  char text[editReadRoom];
  text[0] = '\0';
  GetWindowTextA(edit, text, sizeof(text));
  float value = ParseFloatText(text);
  if (value < minimum) value = minimum;
  if (maximum != minimum && value > maximum) value = maximum;
  SetFloatText(edit, value);
  return value;
}

int ReadIntEdit(HWND edit, int minimum, int maximum) {
  char text[editReadRoom];
  text[0] = '\0';
  GetWindowTextA(edit, text, sizeof(text));
  int value = ParseIntText(text);
  if (value < minimum) value = minimum;
  if (maximum >= minimum && value > maximum) value = maximum;
  SetIntText(edit, value);
  return value;
}

void ShowForceMap() {
  if (controlDialog == nullptr) return;
  HWND minForceEdit = GetDlgItem(controlDialog, IDC_MIN_FORCE);
  if (minForceEdit != nullptr) SetIntText(minForceEdit, testSettings.forceMap[0].output);

  char text[forceMapReadRoom];
  size_t length = 0;
  text[0] = '\0';
  for (int i = 0; i < testSettings.forceMapCount && length < sizeof(text); ++i) {
    int written = std::snprintf(text + length, sizeof(text) - length, "%s%d:%d", i == 0 ? "" : ",",
                                testSettings.forceMap[i].input, testSettings.forceMap[i].output);
    if (written < 0) break;
    length += static_cast<size_t>(written);
  }
  text[forceMapTextCut] = '\0';
  HWND mapEdit = GetDlgItem(controlDialog, IDC_FORCE_MAP);
  if (mapEdit != nullptr) SetWindowTextA(mapEdit, text);
}

void OnTrackbarScroll(int code, int thumbPosition, HWND trackbar) {
  if (code < 0 || code > TB_BOTTOM) return;
  if (trackbar == nullptr) return;
  for (TrackbarControl& control : trackbarControls) {
    if (control.trackbar != trackbar) continue;
    int position = thumbPosition;
    if (code != TB_THUMBPOSITION && code != TB_THUMBTRACK) {
      position = static_cast<int>(SendMessageA(trackbar, TBM_GETPOS, 0, 0));
    }
    *control.field = position - control.positionOffset;
    return;
  }
}

bool CommitEdit(HWND dialog, int id, CommitTrigger trigger) {
  HWND box = GetDlgItem(dialog, id);
  if (box == nullptr) return false;
  bool enter = trigger == CommitTrigger::Enter;
  switch (id) {
    case IDC_KP: testSettings.pidKp = ReadFloatEdit(box, 0.0f, 0.0f); return true;
    case IDC_KI: testSettings.pidKi = ReadFloatEdit(box, 0.0f, 0.0f); return true;
    case IDC_KD: testSettings.pidKd = ReadFloatEdit(box, 0.0f, 0.0f); return true;
    case IDC_KD_AVG: testSettings.pidKdAvg = ReadFloatEdit(box, 0.0f, 0.99f); return true;
    case IDC_SLEEP: testSettings.loopSleepMs = ReadIntEdit(box, 0, maxLoopSleepMs); return true;
    case IDC_REPEAT: testSettings.testRepeat = ReadIntEdit(box, 1, -1); return true;
    case IDC_MIN_FORCE:
      SetMinForce(ReadIntEdit(box, 0, 5000));
      ShowForceMap();
      return true;
    case IDC_MAX_COUNT: testSettings.testMaxCount = ReadIntEdit(box, 1, -1); return true;
    case IDC_STEP_TIME: testSettings.stepTime = ReadIntEdit(box, enter ? 1 : 0, -1); return true;
    case IDC_WHEEL_ANGLE: testSettings.wheelAngle = ReadIntEdit(box, enter ? 4 : 0, -1); return true;
    case IDC_FORCE_MAP: CommitForceMap(box); return true;
    default: return false;
  }
}

void CommitFocusedEdit(HWND dialog) {
  HWND focus = GetFocus();
  if (focus == nullptr) return;
  for (int id : focusCommitOrder) {
    if (GetDlgItem(dialog, id) == focus) {
      CommitEdit(dialog, id, CommitTrigger::Enter);
      return;
    }
  }
}

void UpdateSaturationXTrackbar(HWND dialog) {
  TrackbarControl& control = SaturationXControl();
  HWND trackbar = GetDlgItem(dialog, control.trackbarId);
  if (trackbar == nullptr) return;
  SetTrackbarPosition(trackbar, testSettings.springSaturationX);
  SetTrackbarRange(trackbar, control.minimum, SaturationXMaximum(testSettings.forceMode), TRUE);
}

void InitDialogControls(HWND dialog) {
  controlDialog = dialog;
  positionReadout = GetDlgItem(dialog, IDC_POSITION);

  InitTrackbar(dialog, SaturationXControl(), SaturationXMaximum(testSettings.forceMode));
  InitTrackbarById(dialog, IDC_SATURATION_Y);
  InitTrackbarById(dialog, IDC_COEFFICIENT);
  InitTrackbarById(dialog, IDC_OFFSET_X);
  InitTrackbarById(dialog, IDC_OFFSET_Y);
  InitTrackbarById(dialog, IDC_DEADBAND);

  SetCheck(dialog, IDC_ADD_SIN, testSettings.addSin);
  SetCheck(dialog, IDC_ADD_RAND, testSettings.addRand);
  SetCheck(dialog, IDC_MIN_FORCE_CHECK, testSettings.applyMinForce);
  SetCheck(dialog, IDC_ADD_RAND_FORCE, testSettings.addRandForce);
  SetCheck(dialog, IDC_ALWAYS_UPDATE, testSettings.alwaysUpdateForces);
  SetCheck(dialog, IDC_REVERSE_CONSTANT_FORCE, testSettings.reverseConstantForce);
  SetCheck(dialog, IDC_KILL_FFB, testSettings.killFFBOnFocusLoss);

  InitTrackbarById(dialog, IDC_RANGE);
  InitTrackbarById(dialog, IDC_DAMPER_SATURATION);
  InitTrackbarById(dialog, IDC_DAMPER_COEFFICIENT);
  InitTrackbarById(dialog, IDC_DAMPER_OFFSET);
  InitTrackbarById(dialog, IDC_DAMPER_DEADBAND);

  statusLine = GetDlgItem(dialog, IDC_STATUS);
  if (statusLine != nullptr) SetWindowTextA(statusLine, "");
  sleepReadout = GetDlgItem(dialog, IDC_SLEEP_READOUT);

  modeCombo = GetDlgItem(dialog, IDC_MODE);
  FillCombo(modeCombo, modeNames, static_cast<int>(sizeof(modeNames) / sizeof(modeNames[0])),
            static_cast<int>(testSettings.forceMode));
  FillCombo(GetDlgItem(dialog, IDC_DAMPER_TYPE), damperNames,
            static_cast<int>(sizeof(damperNames) / sizeof(damperNames[0])), testSettings.damperType);

  HWND deviceCombo = GetDlgItem(dialog, IDC_DEVICE);
  if (deviceCombo != nullptr) {
    for (int i = 0; i < deviceCount; ++i) {
      SendMessageA(deviceCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(deviceList[i].tszInstanceName));
    }
    SendMessageA(deviceCombo, CB_SETCURSEL, 0, 0);
  }

  InitFloatEdit(dialog, IDC_KP, testSettings.pidKp);
  InitFloatEdit(dialog, IDC_KI, testSettings.pidKi);
  InitFloatEdit(dialog, IDC_KD, testSettings.pidKd);
  InitFloatEdit(dialog, IDC_KD_AVG, testSettings.pidKdAvg);
  InitIntEdit(dialog, IDC_MAX_COUNT, testSettings.testMaxCount);
  InitIntEdit(dialog, IDC_STEP_TIME, testSettings.stepTime);
  InitIntEdit(dialog, IDC_WHEEL_ANGLE, testSettings.wheelAngle);
  InitIntEdit(dialog, IDC_SLEEP, testSettings.loopSleepMs);
  InitIntEdit(dialog, IDC_REPEAT, testSettings.testRepeat);

  if (GetDlgItem(dialog, IDC_FORCE_MAP) != nullptr && GetDlgItem(dialog, IDC_MIN_FORCE) != nullptr) {
    SetMinForce(0);
    ShowForceMap();
  }

  reportTreeWindow = GetDlgItem(dialog, IDC_REPORT_TREE);

  DWORD_PTR previousMask = SetThreadAffinityMask(GetCurrentThread(), 1);
  if (previousMask == 0) {
    HRESULT code = static_cast<HRESULT>(previousMask);
    DebugTrace("SetThreadAffinityMask failed (0x%08x) %s", static_cast<unsigned>(code), ResultCodeName(code));
  }
  MMRESULT timer = timeBeginPeriod(1);
  timerResolutionSet = timer == TIMERR_NOERROR;
  if (timer != TIMERR_NOERROR) {
    HRESULT code = static_cast<HRESULT>(timer);
    DebugTrace("timeBeginPeriod failed (0x%08x) %s", static_cast<unsigned>(code), ResultCodeName(code));
  }
}

void ResetControlPanel() {
  positionReadout = nullptr;
  sleepReadout = nullptr;
  reportTreeWindow = nullptr;
  modeCombo = nullptr;
  statusLine = nullptr;
  timerResolutionSet = false;
  controlDialog = nullptr;
  for (TrackbarControl& control : trackbarControls) {
    control.trackbar = nullptr;
    control.label = nullptr;
  }
}

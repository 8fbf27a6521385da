#include "app/dialog_proc.h"

#include <cstring>

#include "app/control_ids.h"
#include "app/control_panel.h"
#include "app/engine_view.h"
#include "app/program_exit.h"
#include "app/run_pages.h"
#include "device/device_open.h"
#include "device/direct_input.h"
#include "diag/debug_trace.h"
#include "diag/result_code_name.h"
#include "engine/engine_state.h"
#include "engine/force_tick.h"
#include "engine/measurement_control.h"
#include "engine/test_frame.h"
#include "report/device_report.h"
#include "settings/test_settings.h"

HDEVNOTIFY deviceNotification = nullptr;

namespace {

// The HID device-interface class: wheels arrive and leave as HID devices.
const GUID hidInterfaceClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

void RegisterForDeviceChanges(HWND dialog) {
  DEV_BROADCAST_DEVICEINTERFACE_A filter;
  std::memset(&filter, 0, sizeof(filter));
  filter.dbcc_size = sizeof(filter);
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = hidInterfaceClass;
  deviceNotification = RegisterDeviceNotificationA(dialog, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (deviceNotification == nullptr) DebugTrace("RegisterDeviceNotification() Failed");
}

// Tells the user why the device list is unusable and ends the program; false then.
bool AcceptDeviceList(HWND dialog, const DeviceListResult& result) {
  switch (result.status) {
    case DeviceListStatus::Ok:
      return true;
    case DeviceListStatus::NoDevice:
      MessageBoxA(nullptr, "Force feedback device not found. The sample will now exit.", "Vantrel",
                  MB_ICONERROR | MB_OK);
      break;
    case DeviceListStatus::NoDirectInput:
    case DeviceListStatus::EnumerationFailed:
      DebugTrace("InitDirectInput() Failed (0x%08x) %s", static_cast<unsigned>(result.code),
                 ResultCodeName(result.code));
      MessageBoxA(nullptr, "Error Initializing DirectInput The sample will now exit.", "Vantrel",
                  MB_ICONERROR | MB_OK);
      break;
  }
  EndProgram(dialog);
  return false;
}

void RebuildReportTree(void*) { BuildDeviceReport(reportTreeWindow); }

// Re-enumerates and reopens the device that was open, and shows the new list.
void RefreshDevices(HWND dialog) {
  // A failed start-up is ending the program: there is no list to refresh.
  if (g_pDI == nullptr) return;
  int selection = 0;
  if (!AcceptDeviceList(dialog, RefreshDeviceList(dialog, selection))) return;
  HWND combo = GetDlgItem(dialog, IDC_DEVICE);
  if (combo == nullptr) return;
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < deviceCount; ++i) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(deviceList[i].tszInstanceName));
  }
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

BOOL OnInitDialog(HWND dialog) {
  RegisterForDeviceChanges(dialog);
  if (!AcceptDeviceList(dialog, InitDirectInput())) return TRUE;
  SelectFFBDevice(dialog, 0);
  InitDialogControls(dialog);
  ResetEngineView();
  ResetRunPages();
  SetReportBuilder(RebuildReportTree, nullptr);
  return TRUE;
}

void OnDestroy() {
  // Only a period that was set is ended: a start-up that failed before it leaves none.
  if (timerResolutionSet) timeEndPeriod(1);
  // A test cut short by the exit keeps the rows it has written.
  CloseTestLogs();
  SetReportBuilder(nullptr, nullptr);
  ShutdownDirectInput();
  if (deviceNotification != nullptr) {
    UnregisterDeviceNotification(deviceNotification);
    deviceNotification = nullptr;
  }
  ResetControlPanel();
  PostQuitMessage(0);
}

int ComboSelection(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

bool* CheckBoxField(int id) {
  switch (id) {
    case IDC_ADD_SIN: return &testSettings.addSin;
    case IDC_ADD_RAND: return &testSettings.addRand;
    case IDC_ADD_RAND_FORCE: return &testSettings.addRandForce;
    case IDC_MIN_FORCE_CHECK: return &testSettings.applyMinForce;
    case IDC_REVERSE_CONSTANT_FORCE: return &testSettings.reverseConstantForce;
    case IDC_ALWAYS_UPDATE: return &testSettings.alwaysUpdateForces;
    default: return nullptr;
  }
}

bool IsCommittedOnLeave(int id) {
  switch (id) {
    case IDC_KP:
    case IDC_KI:
    case IDC_KD:
    case IDC_KD_AVG:
    case IDC_SLEEP:
    case IDC_REPEAT:
    case IDC_MIN_FORCE:
    case IDC_MAX_COUNT:
    case IDC_WHEEL_ANGLE:
    case IDC_STEP_TIME:
    case IDC_FORCE_MAP: return true;
    default: return false;
  }
}

BOOL OnCommand(HWND dialog, int id, int notification, HWND control) {
  if (bool* field = CheckBoxField(id)) {
    *field = IsChecked(dialog, id);
    return TRUE;
  }
  if (IsCommittedOnLeave(id)) {
    if (notification == EN_KILLFOCUS) CommitEdit(dialog, id, CommitTrigger::LeaveBox);
    return TRUE;
  }
  switch (id) {
    case IDC_MODE:
      if (notification == CBN_SELCHANGE) {
        int selection = ComboSelection(control);
        if (selection == CB_ERR || selection < 0 || selection >= forceModeCount) return TRUE;
        // A test left mid-run keeps the rows it wrote, but not its log open nor the
        // real-time priority: a real-time busy loop in another mode can starve the machine.
        StopMeasurement();
        ForceMode chosen = static_cast<ForceMode>(selection);
        if (!StartMeasurement(chosen, testSettings)) testSettings.forceMode = chosen;
        ApplySaturationXRange();
        UpdateSaturationXTrackbar(dialog);
        reportRequested = true;
        testRunCount = 0;
      }
      return TRUE;
    case IDC_DAMPER_TYPE:
      if (notification == CBN_SELCHANGE) {
        int selection = ComboSelection(control);
        if (selection == CB_ERR) return TRUE;
        testSettings.damperType = selection;
        reportRequested = true;
      }
      return TRUE;
    case IDC_DEVICE:
      if (notification == CBN_SELCHANGE) {
        SelectFFBDevice(dialog, ComboSelection(control));
        reportRequested = true;
      }
      return TRUE;
    case IDC_REFRESH:
      reportRequested = true;
      return TRUE;
    case IDC_KILL_FFB:
      testSettings.killFFBOnFocusLoss = IsChecked(dialog, id);
      SelectFFBDevice(dialog, ComboSelection(GetDlgItem(dialog, IDC_DEVICE)));
      return TRUE;
    case IDC_SHOW_ALL_DEVICES:
      testSettings.showAllDevices = IsChecked(dialog, id);
      RefreshDevices(dialog);
      reportRequested = true;
      return TRUE;
    case IDC_DEFAULT:
      CommitFocusedEdit(dialog);
      return TRUE;
    case IDC_PLAY_LED:
      ledLevel = -0.1f;
      ledSweepActive = true;
      return TRUE;
    case IDC_EXIT:
      // Escape ends the program as the close box does: a modeless dialog merely hidden
      // by EndDialog would leave the loop running and the wheel driven with no window.
      DestroyWindow(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}

bool IsInterfaceChange(WPARAM event, LPARAM data) {
  if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return false;
  if (data == 0) return false;
  const DEV_BROADCAST_HDR* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  return header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE;
}

}  // namespace

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog);
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_ACTIVATE:
      // Any activation, or a deactivation that minimises: the device must be acquired again.
      if (wParam != 0 && g_pDevice != nullptr) {
        deviceLost = true;
        return TRUE;
      }
      return FALSE;
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_HSCROLL:
      OnTrackbarScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_DEVICECHANGE:
      if (IsInterfaceChange(wParam, lParam)) {
        // A running test restarts on the refreshed list; its log so far is closed now, so
        // a wheel that is gone for good does not leave it open.
        CloseTestLogs();
        RefreshDevices(dialog);
        reportRequested = true;
      }
      return TRUE;
    default:
      return FALSE;
  }
}

#include "device/direct_input.h"

#include <cstring>

#include "app/program_exit.h"
#include "app/test_settings.h"
#include "device/device_open.h"
#include "diag/debug_trace.h"
#include "diag/result_code_name.h"

IDirectInput8A* g_pDI = nullptr;
DIDEVICEINSTANCEA deviceList[deviceListRoom];
int deviceCount = 0;

namespace {

constexpr int deviceComboId = 1022;

}  // namespace

HRESULT InitDirectInput(HWND dialog) {
  HRESULT hr = DirectInput8Create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8A,
                                  reinterpret_cast<void**>(&g_pDI), nullptr);
  if (FAILED(hr)) {
    DebugTrace("DirectInput8Create() Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
    return hr;
  }
  return EnumerateDevices(dialog);
}

HRESULT EnumerateDevices(HWND dialog) {
  deviceCount = 0;
  if (!testSettings.showAllDevices) {
    HRESULT hr = g_pDI->EnumDevices(DI8DEVCLASS_GAMECTRL, StoreDeviceInstance, &deviceCount,
                                    DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK);
    if (FAILED(hr)) {
      DebugTrace("EnumDevices() Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
      return hr;
    }
  }
  if (testSettings.showAllDevices || deviceCount == 0) {
    HRESULT hr = g_pDI->EnumDevices(DI8DEVCLASS_ALL, StoreDeviceInstance, &deviceCount, DIEDFL_ATTACHEDONLY);
    if (FAILED(hr)) {
      DebugTrace("EnumDevices() Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
      return hr;
    }
  }
  if (deviceCount == 0) {
    MessageBoxA(nullptr, "Force feedback device not found. The sample will now exit.", "Vantrel",
                MB_ICONERROR | MB_OK);
    EndProgram(dialog);
  }
  return S_OK;
}

BOOL CALLBACK StoreDeviceInstance(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  int* count = static_cast<int*>(context);
  // Never past the table, whatever the caller's count says.
  if (*count < 0 || *count >= deviceListMax) return DIENUM_STOP;
  std::memcpy(&deviceList[*count], instance, sizeof(DIDEVICEINSTANCEA));
  ++*count;
  return (*count + 1 < deviceListRoom) ? DIENUM_CONTINUE : DIENUM_STOP;
}

void RefreshDeviceList(HWND dialog) {
  // A device change can arrive while the start-up failure is being shown: there is no
  // DirectInput object to enumerate with, and the program is ending.
  if (g_pDI == nullptr) return;
  GUID selected{};
  HWND combo = GetDlgItem(dialog, deviceComboId);
  if (combo != nullptr) {
    LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index >= 0 && index < deviceCount) selected = deviceList[index].guidInstance;
  }

  ReleaseDevice();

  HRESULT hr = EnumerateDevices(dialog);
  if (FAILED(hr)) {
    DebugTrace("InitDirectInput() Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
    MessageBoxA(nullptr, "Error Initializing DirectInput The sample will now exit.", "Vantrel",
                MB_ICONERROR | MB_OK);
    EndProgram(dialog);
    return;
  }
  if (programEnding) return;

  int selection = 0;
  for (int i = 0; i < deviceCount; ++i) {
    if (std::memcmp(&deviceList[i].guidInstance, &selected, sizeof(GUID)) == 0) {
      selection = i;
      break;
    }
  }

  SelectFFBDevice(dialog, selection);

  if (combo != nullptr) {
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < deviceCount; ++i) {
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(deviceList[i].tszInstanceName));
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
  }
}

void ReleaseDevice() {
  if (g_pDevice != nullptr) g_pDevice->Unacquire();
  for (int slot = 0; slot < effectSlotCount; ++slot) {
    if (g_pEffect[slot] != nullptr) {
      g_pEffect[slot]->Release();
      g_pEffect[slot] = nullptr;
    }
  }
  if (g_pDevice != nullptr) {
    g_pDevice->Release();
    g_pDevice = nullptr;
  }
}

void ShutdownDirectInput() {
  ReleaseDevice();
  if (g_pDI != nullptr) {
    g_pDI->Release();
    g_pDI = nullptr;
  }
}

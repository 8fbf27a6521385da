#include "device/direct_input.h"

#include <cstring>

#include "device/device_open.h"
#include "diag/debug_trace.h"
#include "diag/result_code_name.h"
#include "settings/test_settings.h"

IDirectInput8A* g_pDI = nullptr;
DIDEVICEINSTANCEA deviceList[deviceListRoom];
int deviceCount = 0;

DeviceListResult InitDirectInput() {
  HRESULT hr = DirectInput8Create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8A,
                                  reinterpret_cast<void**>(&g_pDI), nullptr);
  if (FAILED(hr)) {
    DebugTrace("DirectInput8Create() Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
    return {DeviceListStatus::NoDirectInput, hr};
  }
  return EnumerateDevices();
}

DeviceListResult EnumerateDevices() {
  deviceCount = 0;
  if (g_pDI == nullptr) return {DeviceListStatus::NoDirectInput, E_POINTER};
  if (!testSettings.showAllDevices) {
    HRESULT hr = g_pDI->EnumDevices(DI8DEVCLASS_GAMECTRL, StoreDeviceInstance, &deviceCount,
                                    DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK);
    if (FAILED(hr)) {
      DebugTrace("EnumDevices() Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
      return {DeviceListStatus::EnumerationFailed, hr};
    }
  }
  if (testSettings.showAllDevices || deviceCount == 0) {
    HRESULT hr = g_pDI->EnumDevices(DI8DEVCLASS_ALL, StoreDeviceInstance, &deviceCount, DIEDFL_ATTACHEDONLY);
    if (FAILED(hr)) {
      DebugTrace("EnumDevices() Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
      return {DeviceListStatus::EnumerationFailed, hr};
    }
  }
  if (deviceCount == 0) return {DeviceListStatus::NoDevice, S_OK};
  return {DeviceListStatus::Ok, S_OK};
}

BOOL CALLBACK StoreDeviceInstance(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  int* count = static_cast<int*>(context);
  // Never past the table, whatever the caller's count says.
  if (*count < 0 || *count >= deviceListMax) return DIENUM_STOP;
  std::memcpy(&deviceList[*count], instance, sizeof(DIDEVICEINSTANCEA));
  ++*count;
  return (*count + 1 < deviceListRoom) ? DIENUM_CONTINUE : DIENUM_STOP;
}

DeviceListResult RefreshDeviceList(HWND window, int& selection) {
  selection = 0;
  // A device change can arrive while a failed start-up is being reported: there is no
  // DirectInput object to enumerate with, and the program is ending.
  if (g_pDI == nullptr) return {DeviceListStatus::NoDirectInput, E_POINTER};
  GUID selected = openDeviceGuid;

  ReleaseDevice();

  DeviceListResult result = EnumerateDevices();
  if (result.status != DeviceListStatus::Ok) return result;

  for (int i = 0; i < deviceCount; ++i) {
    if (std::memcmp(&deviceList[i].guidInstance, &selected, sizeof(GUID)) == 0) {
      selection = i;
      break;
    }
  }
  SelectFFBDevice(window, selection);
  return result;
}

bool OpenDeviceAttached() {
  if (g_pDI == nullptr || g_pDevice == nullptr) return false;
  return g_pDI->GetDeviceStatus(openDeviceGuid) == DI_OK;
}

namespace {

struct GuidSearch {
  GUID wanted;
  bool found;
};

BOOL CALLBACK MatchInstance(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  GuidSearch* search = static_cast<GuidSearch*>(context);
  if (std::memcmp(&instance->guidInstance, &search->wanted, sizeof(GUID)) != 0) return DIENUM_CONTINUE;
  search->found = true;
  return DIENUM_STOP;
}

}  // namespace

bool ListedDeviceHasForceFeedback(int index) {
  if (g_pDI == nullptr || index < 0 || index >= deviceCount) return false;
  GuidSearch search{deviceList[index].guidInstance, false};
  HRESULT hr = g_pDI->EnumDevices(DI8DEVCLASS_ALL, MatchInstance, &search, DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK);
  if (FAILED(hr)) {
    DebugTrace("EnumDevices() Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
    return false;
  }
  return search.found;
}

void StopAllEffects() {
  if (g_pDevice == nullptr) return;
  for (IDirectInputEffect* effect : g_pEffect) {
    if (effect == nullptr) continue;
    HRESULT hr = effect->Stop();
    if (FAILED(hr)) DebugTrace("Stop() Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
  }
  HRESULT hr = g_pDevice->SendForceFeedbackCommand(DISFFC_STOPALL);
  if (FAILED(hr)) {
    DebugTrace("SendForceFeedbackCommand(DISFFC_STOPALL) Failed (0x%08x) %s", static_cast<unsigned>(hr),
               ResultCodeName(hr));
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

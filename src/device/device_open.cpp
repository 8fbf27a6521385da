#include "device/device_open.h"

#include <cstring>

#include "device/device_link.h"
#include "device/direct_input.h"
#include "diag/debug_trace.h"
#include "diag/result_code_name.h"
#include "settings/test_settings.h"

bool deviceLost = true;
int32_t fallbackLogicalMin = fallbackLogicalMinDefault;
GUID openDeviceGuid = {};

IDirectInputDevice8A* g_pDevice = nullptr;
IDirectInputEffect* g_pEffect[effectSlotCount] = {};
DWORD ffAxisCount = 0;
uint16_t deviceVendorId = 0;

namespace {

void TraceFailure(const char* format, HRESULT hr) {
  DebugTrace(format, static_cast<unsigned>(hr), ResultCodeName(hr));
}

void FillDwordProperty(DIPROPDWORD& property, DWORD data) {
  std::memset(&property, 0, sizeof(property));
  property.diph.dwSize = sizeof(DIPROPDWORD);
  property.diph.dwHeaderSize = sizeof(DIPROPHEADER);
  property.diph.dwObj = 0;
  property.diph.dwHow = DIPH_DEVICE;
  property.dwData = data;
}

const GUID* const effectTypes[effectSlotCount] = {&GUID_ConstantForce, &GUID_Spring, &GUID_Damper, &GUID_Inertia,
                                                  &GUID_Friction};

}  // namespace

BOOL CALLBACK CountFFAxes(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context) {
  DWORD* count = static_cast<DWORD*>(context);
  if ((object->dwFlags & DIDOI_FFACTUATOR) != 0) ++*count;
  return DIENUM_CONTINUE;
}

HRESULT SelectFFBDevice(HWND window, int index) {
  if (g_pDI == nullptr) {
    DebugTrace("Invalid g_pDI handle");
    return E_FAIL;
  }
  deviceLost = true;
  // A range read from the previous device means nothing for this one.
  fallbackLogicalMin = fallbackLogicalMinDefault;
  if (index < 0 || index >= deviceCount) {
    DebugTrace("SelectFFBDevice() Selected invalid device %d", index);
    return 1;
  }

  ReleaseDevice();

  openDeviceGuid = deviceList[index].guidInstance;
  HRESULT hr = g_pDI->CreateDevice(deviceList[index].guidInstance, &g_pDevice, nullptr);
  if (FAILED(hr)) {
    TraceFailure("CreateDevice() Failed (0x%08x) %s", hr);
    return hr;
  }
  if (g_pDevice == nullptr) {
    DebugTrace("Force feedback device not found. ");
    return 1;
  }

  hr = g_pDevice->SetDataFormat(&c_dfDIJoystick);
  if (FAILED(hr)) {
    TraceFailure("SetDataFormat() Failed (0x%08x) %s", hr);
    return hr;
  }

  DWORD cooperation = testSettings.killFFBOnFocusLoss ? (DISCL_EXCLUSIVE | DISCL_FOREGROUND)
                                                      : (DISCL_EXCLUSIVE | DISCL_BACKGROUND);
  hr = g_pDevice->SetCooperativeLevel(window, cooperation);
  if (FAILED(hr)) {
    TraceFailure("SetCooperativeLevel() Failed (0x%08x) %s", hr);
    return hr;
  }

  DIPROPDWORD dword;
  FillDwordProperty(dword, DIPROPAUTOCENTER_OFF);
  hr = g_pDevice->SetProperty(DIPROP_AUTOCENTER, &dword.diph);
  if (FAILED(hr)) {
    TraceFailure("SetProperty(DIPROP_AUTOCENTER) Failed (0x%08x) %s", hr);
    return hr;
  }
  FillDwordProperty(dword, 10000);
  hr = g_pDevice->SetProperty(DIPROP_FFGAIN, &dword.diph);
  if (FAILED(hr)) {
    TraceFailure("SetProperty(DIPROP_FFGAIN) Failed (0x%08x) %s", hr);
    return hr;
  }
  FillDwordProperty(dword, 10);
  hr = g_pDevice->SetProperty(DIPROP_BUFFERSIZE, &dword.diph);
  if (FAILED(hr)) {
    TraceFailure("SetProperty(DIPROP_BUFFERSIZE) Failed (0x%08x) %s", hr);
    return hr;
  }

  DIPROPRANGE range;
  std::memset(&range, 0, sizeof(range));
  range.diph.dwSize = sizeof(DIPROPRANGE);
  range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
  range.diph.dwObj = DIJOFS_X;
  range.diph.dwHow = DIPH_BYOFFSET;
  hr = g_pDevice->GetProperty(DIPROP_LOGICALRANGE, &range.diph);
  if (SUCCEEDED(hr)) {
    // Every axis reports over the X axis's logical range, so the tick can use one span.
    range.diph.dwObj = 0;
    range.diph.dwHow = DIPH_DEVICE;
    hr = g_pDevice->SetProperty(DIPROP_RANGE, &range.diph);
    if (FAILED(hr)) {
      TraceFailure("SetProperty(DIPROP_RANGE) Failed (0x%08x) %s", hr);
      return hr;
    }
  } else if (hr != E_NOTIMPL) {
    TraceFailure("GetProperty(DIPROP_LOGICALRANGE) Failed (0x%08x) %s", hr);
  }

  ffAxisCount = 0;
  hr = g_pDevice->EnumObjects(CountFFAxes, &ffAxisCount, DIDFT_AXIS);
  if (FAILED(hr)) {
    TraceFailure("EnumObjects() Failed (0x%08x) %s", hr);
    return hr;
  }

  DIDEVICEINSTANCEA info;
  std::memset(&info, 0, sizeof(info));
  info.dwSize = sizeof(DIDEVICEINSTANCEA);
  hr = g_pDevice->GetDeviceInfo(&info);
  if (FAILED(hr)) {
    TraceFailure("GetDeviceInfo() Failed (0x%08x) %s", hr);
  } else {
    deviceVendorId = static_cast<uint16_t>(info.guidProduct.Data1 & 0xFFFF);
  }

  if (ffAxisCount > 2) ffAxisCount = 2;

  DWORD axes[2] = {DIJOFS_X, DIJOFS_Y};
  LONG alongX[2] = {1, 0};
  LONG alongY[2] = {0, 1};
  DICONSTANTFORCE constantForce = {0};
  // Room for two conditions each; the spring has its own block, the damping slots share one.
  DICONDITION springBlock[2];
  DICONDITION dampingBlock[2];
  std::memset(springBlock, 0, sizeof(springBlock));
  std::memset(dampingBlock, 0, sizeof(dampingBlock));

  DIEFFECT effect;
  std::memset(&effect, 0, sizeof(effect));
  effect.dwSize = sizeof(DIEFFECT);
  effect.dwFlags = DIEFF_CARTESIAN | DIEFF_OBJECTOFFSETS;
  effect.dwDuration = INFINITE;
  effect.dwSamplePeriod = 0;
  effect.dwGain = 10000;
  effect.dwTriggerButton = DIEB_NOTRIGGER;
  effect.dwTriggerRepeatInterval = 0;
  effect.cAxes = ffAxisCount;
  effect.rgdwAxes = axes;
  effect.rglDirection = alongX;
  effect.lpEnvelope = nullptr;
  effect.dwStartDelay = 0;

  for (int slot = 0; slot < effectSlotCount; ++slot) {
    if (slot == effectSlotConstantForce) {
      effect.cbTypeSpecificParams = sizeof(DICONSTANTFORCE);
      effect.lpvTypeSpecificParams = &constantForce;
    } else {
      effect.cbTypeSpecificParams = ffAxisCount * sizeof(DICONDITION);
      effect.lpvTypeSpecificParams = (slot == effectSlotSpring) ? springBlock : dampingBlock;
    }
    bool springAlongY = (slot == effectSlotSpring && deviceVendorId == yAxisSpringVendorId);
    effect.rglDirection = springAlongY ? alongY : alongX;

    hr = g_pDevice->CreateEffect(*effectTypes[slot], &effect, &g_pEffect[slot], nullptr);
    effect.rglDirection = alongX;
    if (FAILED(hr)) {
      DebugTrace("CreateEffect(%d) Failed (0x%08x) %s", slot, static_cast<unsigned>(hr), ResultCodeName(hr));
      return hr;
    }
    if (g_pEffect[slot] == nullptr) {
      DebugTrace("CreateEffect(%d) Failed ", slot);
      return E_FAIL;
    }
  }
  return 0;
}

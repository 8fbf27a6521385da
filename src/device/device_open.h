// Opening the selected device, configuring it and creating its five effects.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Fixed order of the effects in g_pEffect.
enum EffectSlot {
  effectSlotConstantForce = 0,
  effectSlotSpring = 1,
  effectSlotDamper = 2,
  effectSlotInertia = 3,
  effectSlotFriction = 4,
};
inline constexpr int effectSlotCount = 5;

// The vendor whose wheels take the spring along Y and negated spring offsets.
inline constexpr uint16_t yAxisSpringVendorId = 0x045E;

extern IDirectInputDevice8A* g_pDevice;
extern IDirectInputEffect* g_pEffect[effectSlotCount];
extern DWORD ffAxisCount;
extern uint16_t deviceVendorId;
// The instance of the device last chosen by SelectFFBDevice, kept across a refresh of the list.
extern GUID openDeviceGuid;

// Opens entry `index` of the device list for `window`, the top-level window its cooperative
// level is set for.
HRESULT SelectFFBDevice(HWND window, int index);
BOOL CALLBACK CountFFAxes(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context);

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

HRESULT SelectFFBDevice(HWND dialog, int index);
BOOL CALLBACK CountFFAxes(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context);

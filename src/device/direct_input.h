// The DirectInput object and the list of devices the user can choose from.
#pragma once

#include "platform/platform.h"

inline constexpr int deviceListRoom = 16;
// Enumeration stops after this many; the last slot of the table is never filled.
inline constexpr int deviceListMax = 15;

extern IDirectInput8A* g_pDI;
extern DIDEVICEINSTANCEA deviceList[deviceListRoom];
extern int deviceCount;

HRESULT InitDirectInput(HWND dialog);
HRESULT EnumerateDevices(HWND dialog);
BOOL CALLBACK StoreDeviceInstance(LPCDIDEVICEINSTANCEA instance, LPVOID context);
void RefreshDeviceList(HWND dialog);
void ReleaseDevice();
void ShutdownDirectInput();

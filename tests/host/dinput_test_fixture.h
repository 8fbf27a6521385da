// What the stand-in's own tests share: a fresh registry, the virtual clock and a DirectInput
// object per test, devices opened and set up as the program does, effect parameter blocks,
// and a check at the end that every COM object the test made is gone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/dinput/call_log.h"
#include "host/dinput/device_registry.h"
#include "host/dinput/direct_input.h"
#include "host/dinput/fault_injection.h"
#include "host/dinput/live_objects.h"
#include "platform/platform.h"
#include "support/com_ptr.h"

namespace dinput_test {

using test_support::ComPtr;

// Any non-null handle passes SetCooperativeLevel for now.
inline HWND TestWindow() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10010)); }

// A DIEFFECT and everything it points at, kept together (so not copyable).
class EffectBlock {
 public:
  EffectBlock();
  EffectBlock(const EffectBlock&) = delete;
  EffectBlock& operator=(const EffectBlock&) = delete;

  // A constant force on X, or on X and Y with the Cartesian direction (dirX, dirY).
  DIEFFECT& Constant(LONG magnitude, DWORD axisCount = 1, LONG dirX = 1, LONG dirY = 0);
  // A condition on X (and Y) with `blocks` copies of `condition` (1, or one per axis).
  DIEFFECT& Condition(const DICONDITION& condition, DWORD axisCount = 1, DWORD blocks = 1);

  DIEFFECT effect;
  DWORD axes[3];
  LONG directions[3];
  DICONSTANTFORCE constant;
  DICONDITION conditions[3];
  DIENVELOPE envelope;

 private:
  void Reset(DWORD axisCount);
};

DICONDITION MakeCondition(LONG offset, LONG coefficient, DWORD saturation = 10000, LONG deadBand = 0);

class DirectInputTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ComPtr<IDirectInputDevice8A> Open(host::DeviceId device);
  // Opened with the joystick format and the cooperative level given, then acquired.
  ComPtr<IDirectInputDevice8A> OpenAcquired(host::DeviceId device, DWORD level = DISCL_EXCLUSIVE | DISCL_FOREGROUND);
  ComPtr<IDirectInputEffect> Create(IDirectInputDevice8A* device, REFGUID type, const DIEFFECT* parameters);
  DIJOYSTATE State(IDirectInputDevice8A* device);
  // GetProperty for a DIPROPDWORD on the device.
  DWORD DeviceProperty(IDirectInputDevice8A* device, REFGUID property);
  // The names EnumDevices reports, in order.
  std::vector<std::string> EnumeratedNames(DWORD devType, DWORD flags);

  ComPtr<IDirectInput8A> directInput;
};

}  // namespace dinput_test

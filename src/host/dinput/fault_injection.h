// Failures a test arranges ahead of time: the next calls of one method (optionally on one
// device, one effect or one interface) return a chosen code without doing anything. The
// call is still recorded in the call log, marked `injected`.
#pragma once

#include <cstdint>

#include "host/dinput/call_log.h"
#include "host/dinput/types.h"
#include "platform/platform.h"

namespace host {

struct FaultScope {
  DeviceId device = noDevice;        // noDevice: any device (and DirectInput-object calls)
  int32_t effect = anyEffect;        // an effect index, noEffect for device calls, or any
  Interface iface = Interface::None; // None: any interface
  uint32_t skip = 0;                 // matching calls let through before the failures start
};

// Up to maxFaultRules rules are held; each fails `count` matching calls, then is spent.
// When several rules match a call, the earliest armed one is used.
inline constexpr int maxFaultRules = 64;
// false when the table is full or count is 0.
bool FailNextCalls(Method method, uint32_t count, HRESULT code, const FaultScope& scope = {});
void ClearFaults();
// Failures armed and not yet delivered, over all rules.
uint32_t PendingFaults();
// Failures delivered since the process started: a watcher compares two readings to tell
// whether any call failed in between.
uint64_t DeliveredFaults();

// GetProperty(DIPROP_LOGICALRANGE) answers E_NOTIMPL on this device from now on (or again
// answers normally). false for an unknown device.
bool SetLogicalRangeNotImplemented(DeviceId device, bool notImplemented = true);

namespace dinput {

// Called by CallScope: true, with *code set, when the call must fail.
bool ConsumeFault(Method method, Interface iface, DeviceId device, int32_t effect, HRESULT* code);

}  // namespace dinput
}  // namespace host

// The one internal interface each kind of device implements: what the hardware has (its
// objects and their ranges), what it reads now, and what its actuators do with the effects
// the driver layer renders. DirectInput's rules (acquisition, data formats, properties,
// effect parameters, download and playback timing) live above it, in device.cpp, effect.cpp
// and device_entry.cpp, the same for every kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/platform.h"

namespace sim {
class VirtualWheel;
}

namespace host::dinput {

enum class ObjectClass : uint8_t { Axis, Button, Pov };

// One control of a device, as DIDEVICEOBJECTINSTANCE describes it.
struct DeviceObject {
  GUID type;             // GUID_XAxis, GUID_Button, GUID_Key, GUID_POV...
  DWORD typeFlags;       // DIDFT_ABSAXIS/RELAXIS/PSHBUTTON/POV, DIDFT_FFACTUATOR...
  WORD instance;         // numbered within its class from 0 (keys: their scan code)
  DWORD objectFlags;     // DIDOI_*
  DWORD nativeOffset;    // where it sits in the device's own report
  WORD usagePage;
  WORD usage;
  DWORD ffMaxForce;
  DWORD ffForceResolution;
  char name[32];

  ObjectClass Class() const {
    if (typeFlags & DIDFT_AXIS) return ObjectClass::Axis;
    if (typeFlags & DIDFT_POV) return ObjectClass::Pov;
    return ObjectClass::Button;
  }
  // The identifier DIPH_BYID and DIEFF_OBJECTIDS use.
  DWORD Id() const { return typeFlags | DIDFT_MAKEINSTANCE(instance); }
  bool IsActuator() const { return (typeFlags & DIDFT_FFACTUATOR) != 0; }
};

struct AxisRange {
  LONG min;
  LONG max;
};

enum class RenderedKind : uint8_t { ConstantForce, Spring, Damper, Inertia, Friction };

// An effect as it acts on the device's first actuator axis (X) right now: gains applied by
// the driver layer are not folded in; `gain` is the effect's own gain, 0..1.
struct RenderedEffect {
  RenderedKind kind;
  double gain;
  // ConstantForce: the magnitude projected on X, magnitude * x / |direction|.
  int32_t magnitude;
  // Conditions: the block that applies to X.
  DICONDITION condition;
};

class DeviceModel {
 public:
  virtual ~DeviceModel() = default;

  // Axes first, then POVs, then buttons, each in instance order.
  virtual std::span<const DeviceObject> Objects() const = 0;
  virtual AxisRange LogicalRange(size_t object) const = 0;

  // Runs the hardware forward with the effects last rendered.
  virtual void Advance(double seconds) = 0;
  // Axes in logical units, buttons 0 or 0x80, POVs in hundredths of a degree or 0xFFFFFFFF.
  virtual LONG Read(size_t object) const = 0;
  // Sets a scripted input; false when the object is not scripted (the wheel's rim angle).
  virtual bool Script(size_t object, LONG value) = 0;

  // The effect that should now act from `slot`, or nullptr for none.
  virtual void Render(int slot, const RenderedEffect* effect) = 0;
  virtual void SetDeviceGain(double gain) = 0;  // 0..1
  virtual void SetAutoCenter(bool enabled) = 0;
  // A driver-defined command; DIERR_UNSUPPORTED when the device has no driver for them.
  virtual HRESULT Escape(const DIEFFESCAPE& escape) = 0;
  // Power-up state after the device is plugged in again.
  virtual void PowerUp() = 0;

  virtual sim::VirtualWheel* Wheel() { return nullptr; }
};

}  // namespace host::dinput

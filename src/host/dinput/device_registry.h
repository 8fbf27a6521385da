// The devices the stand-in's DirectInput sees, as tests plug them in and pull them out.
//
// Enumeration lists devices in the order they were first attached; a device plugged in
// again keeps its place. A detached device stays installed: it is still listed without
// DIEDFL_ATTACHEDONLY (GetDeviceStatus answers DI_NOTATTACHED) until ResetDirectInput.
#pragma once

#include <cstdint>
#include <string>

#include "host/dinput/types.h"
#include "platform/platform.h"
#include "sim/wheel_parameters.h"

namespace sim {
class VirtualWheel;
}

namespace host {

enum class DeviceKind : uint8_t { VirtualWheel, Keyboard, Mouse, GameController };

inline constexpr int maxControllerAxes = 8;      // X, Y, Z, Rx, Ry, Rz, two sliders
inline constexpr int maxActuatorAxes = 3;        // the first one to three axes
inline constexpr int maxControllerButtons = 128;
inline constexpr int maxControllerPovs = 4;
inline constexpr int maxEffectSlots = 32;

struct DeviceDescription {
  DeviceKind kind = DeviceKind::GameController;
  std::string instanceName;
  std::string productName;
  GUID instanceGuid{};     // all zero: one is made up on attach
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  // DI8DEVTYPE_ | subtype << 8 | DIDEVTYPE_HID.
  DWORD devType = 0;
  WORD usagePage = 0;
  WORD usage = 0;

  // Game controllers and the wheel: axes in the order X, Y, Z, Rx, Ry, Rz, sliders.
  int axes = 0;
  int actuatorAxes = 0;
  int buttons = 0;
  int povs = 0;
  LONG logicalMin = 0;
  LONG logicalMax = 65535;

  bool forceFeedback = false;
  int effectCapacity = 16;          // effects the device holds at once, at most maxEffectSlots
  bool acceptsEscapes = false;      // a driver that answers Escape
  bool reportsTruncation = true;    // DI_TRUNCATED for effect values beyond +-10000
  bool needsPolling = false;        // Poll answers DI_OK and refreshes the state
  bool logicalRangeNotImplemented = false;
  // Axes start in DIPROPCALIBRATIONMODE_RAW: values pass through uncooked, beyond any range,
  // as from a faulty driver.
  bool uncalibratedAxes = false;

  sim::WheelParameters wheel;       // DeviceKind::VirtualWheel only
};

// The virtual wheel's vendor ID is pid.codes' open one, not a brand's; its product ID is
// the one pid.codes keeps for tests.
inline constexpr uint16_t virtualWheelVendorId = 0x1209;
inline constexpr uint16_t virtualWheelProductId = 0x0001;

// "Vantrel Virtual Wheel": a driving controller with X (the rim) and Y (combined pedals,
// scripted), both actuators, 12 buttons, one POV, force feedback and a driver for Escape.
DeviceDescription VirtualWheelDescription();
DeviceDescription KeyboardDescription();
DeviceDescription MouseDescription();
// A HID game controller (gamepad) with scripted axes; force feedback when it has actuators.
DeviceDescription GameControllerDescription(const std::string& name, uint16_t vendorId, uint16_t productId,
                                            int actuatorAxes, int axes = 4, int buttons = 10, int povs = 1);

// DirectInput's product GUID for a HID device: {PPPPVVVV-0000-0000-0000-504944564944}.
GUID ProductGuidFromIds(uint16_t vendorId, uint16_t productId);

// Plugs a device in. A description whose instance GUID is a detached device's plugs that
// device in again under the same id (it must have the same kind and controls). noDevice
// when the description is unusable, a device with that instance GUID is attached already,
// or the one that is detached has other controls.
DeviceId AttachDevice(const DeviceDescription& description);
// Unplugs: open interfaces on it lose their acquisition and effects.
bool DetachDevice(DeviceId device);
bool ReattachDevice(DeviceId device);
bool IsAttached(DeviceId device);
GUID DeviceInstanceGuid(DeviceId device);
// The id of the device with this instance GUID, or noDevice.
DeviceId FindDevice(REFGUID instanceGuid);

// Scripted inputs, by instance within each class (a keyboard's keys by scan code). false
// when there is no such object or it is not scripted (the wheel's X axis follows the rim).
bool SetAxisValue(DeviceId device, int axis, LONG logicalValue);
bool SetButton(DeviceId device, int button, bool pressed);
bool SetPov(DeviceId device, int pov, DWORD hundredthsOfDegree);

// The simulated wheel behind a virtual wheel, brought up to the present time first; null
// for other devices. Valid until the device is reset away.
sim::VirtualWheel* VirtualWheelOf(DeviceId device);

// Whether the program's window is the foreground one: devices acquired with
// DISCL_FOREGROUND lose their acquisition when it stops being, and cannot acquire meanwhile.
void SetApplicationActive(bool active);
bool ApplicationActive();

// Back to the start: no devices, no faults, an empty call log, the application active,
// logging on. Interfaces still open keep working on their (now removed) devices.
void ResetDirectInput();

}  // namespace host

#include "host/dinput/device_registry.h"

#include <exception>
#include <memory>
#include <vector>

#include "host/dinput/api_lock.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device.h"
#include "host/dinput/device_entry.h"
#include "host/dinput/device_objects.h"
#include "host/dinput/fault_injection.h"
#include "host/dinput/scripted_device.h"
#include "host/dinput/virtual_wheel_device.h"
#include "sim/virtual_wheel.h"

namespace host {
namespace dinput {
namespace {

struct Registry {
  std::vector<std::shared_ptr<DeviceEntry>> entries;
  DeviceId nextId = 1;
  uint32_t nextDeviceObjectSerial = 1;
  uint32_t madeUpGuids = 0;
  bool applicationActive = true;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

bool IsZero(REFGUID guid) { return IsEqualGUID(guid, GUID{}); }

bool IsGameController(DeviceKind kind) { return kind == DeviceKind::VirtualWheel || kind == DeviceKind::GameController; }

// Instance GUIDs made up for devices that a test did not give one: {NNNNNNNN-5654-11F0-8000-56414E54524C}.
GUID MadeUpInstanceGuid(uint32_t serial) {
  return GUID{serial, 0x5654, 0x11F0, {0x80, 0x00, 0x56, 0x41, 0x4E, 0x54, 0x52, 0x4C}};
}

// Fills what the kind implies and a test left at zero; false when the description is unusable.
bool Complete(DeviceDescription* d) {
  switch (d->kind) {
    case DeviceKind::Keyboard:
      if (d->devType == 0) d->devType = DI8DEVTYPE_KEYBOARD | (DI8DEVTYPEKEYBOARD_PCENH << 8);
      d->axes = d->actuatorAxes = d->povs = 0;
      d->buttons = lastKeyScanCode - firstKeyScanCode + 1;
      d->forceFeedback = false;
      break;
    case DeviceKind::Mouse:
      if (d->devType == 0) d->devType = DI8DEVTYPE_MOUSE | (DI8DEVTYPEMOUSE_TRADITIONAL << 8);
      d->axes = 3;
      d->buttons = 3;
      d->actuatorAxes = d->povs = 0;
      d->forceFeedback = false;
      break;
    case DeviceKind::VirtualWheel:
      if (d->devType == 0) d->devType = DI8DEVTYPE_DRIVING | (DI8DEVTYPEDRIVING_COMBINEDPEDALS << 8) | DIDEVTYPE_HID;
      if (d->axes < 1 || d->actuatorAxes < 1) return false;  // the rim is X, an actuator
      if (sim::FindParameterProblem(d->wheel) != nullptr) return false;
      break;
    case DeviceKind::GameController:
      if (d->devType == 0) d->devType = DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8) | DIDEVTYPE_HID;
      break;
  }
  if (d->axes < 0 || d->axes > maxControllerAxes) return false;
  if (d->actuatorAxes < 0 || d->actuatorAxes > maxActuatorAxes || d->actuatorAxes > d->axes) return false;
  if (d->kind != DeviceKind::Keyboard && (d->buttons < 0 || d->buttons > maxControllerButtons)) return false;
  if (d->povs < 0 || d->povs > maxControllerPovs) return false;
  if (d->logicalMin >= d->logicalMax) return false;
  if (d->effectCapacity < 0 || d->effectCapacity > maxEffectSlots) return false;
  if (d->instanceName.empty()) d->instanceName = d->productName;
  if (d->productName.empty()) d->productName = d->instanceName;
  return true;
}

std::unique_ptr<DeviceModel> MakeModel(const DeviceDescription& description) {
  if (description.kind == DeviceKind::VirtualWheel) return MakeVirtualWheelDevice(description);
  return MakeScriptedDevice(description);
}

// Interfaces opened before a re-plug keep their per-object state: the device that comes
// back must have the same controls.
bool SameControls(const DeviceDescription& a, const DeviceDescription& b) {
  return a.kind == b.kind && a.axes == b.axes && a.actuatorAxes == b.actuatorAxes && a.buttons == b.buttons &&
         a.povs == b.povs;
}

int IndexOfObject(const DeviceEntry& entry, ObjectClass kind, int instance) {
  std::span<const DeviceObject> objects = entry.objects();
  for (size_t i = 0; i < objects.size(); ++i) {
    if (objects[i].Class() == kind && objects[i].instance == instance) return static_cast<int>(i);
  }
  return -1;
}

bool Script(DeviceId id, ObjectClass kind, int instance, LONG value) {
  std::shared_ptr<DeviceEntry> entry = EntryFor(id);
  if (!entry) return false;
  int object = IndexOfObject(*entry, kind, instance);
  if (object < 0) return false;
  entry->Sync();
  return entry->model().Script(static_cast<size_t>(object), value);
}

}  // namespace

std::shared_ptr<DeviceEntry> EntryFor(DeviceId id) {
  for (const std::shared_ptr<DeviceEntry>& entry : TheRegistry().entries) {
    if (entry->id() == id) return entry;
  }
  return nullptr;
}

const std::vector<std::shared_ptr<DeviceEntry>>& Entries() { return TheRegistry().entries; }

std::shared_ptr<DeviceEntry> EntryForGuid(REFGUID instanceGuid) {
  bool keyboard = IsEqualGUID(instanceGuid, GUID_SysKeyboard);
  bool mouse = IsEqualGUID(instanceGuid, GUID_SysMouse);
  for (const std::shared_ptr<DeviceEntry>& entry : TheRegistry().entries) {
    if (IsEqualGUID(entry->description().instanceGuid, instanceGuid)) return entry;
    DeviceKind kind = entry->description().kind;
    if (entry->attached() && ((keyboard && kind == DeviceKind::Keyboard) || (mouse && kind == DeviceKind::Mouse))) {
      return entry;
    }
  }
  return nullptr;
}

uint32_t NextDeviceObjectSerial() { return TheRegistry().nextDeviceObjectSerial++; }

}  // namespace dinput

using dinput::ApiLock;
using dinput::DeviceEntry;
using dinput::EntryFor;
using dinput::TheRegistry;

DeviceDescription VirtualWheelDescription() {
  DeviceDescription d;
  d.kind = DeviceKind::VirtualWheel;
  d.instanceName = "Vantrel Virtual Wheel";
  d.productName = "Vantrel Virtual Wheel";
  d.vendorId = virtualWheelVendorId;
  d.productId = virtualWheelProductId;
  d.devType = DI8DEVTYPE_DRIVING | (DI8DEVTYPEDRIVING_COMBINEDPEDALS << 8) | DIDEVTYPE_HID;
  d.usagePage = 0x01;
  d.usage = 0x04;  // joystick, as wheels report themselves
  d.axes = 2;
  d.actuatorAxes = 2;
  d.buttons = 12;
  d.povs = 1;
  d.forceFeedback = true;
  d.effectCapacity = maxEffectSlots;
  d.acceptsEscapes = true;
  return d;
}

DeviceDescription KeyboardDescription() {
  DeviceDescription d;
  d.kind = DeviceKind::Keyboard;
  d.instanceName = "Keyboard";
  d.productName = "Keyboard";
  d.usagePage = 0x01;
  d.usage = 0x06;
  return d;
}

DeviceDescription MouseDescription() {
  DeviceDescription d;
  d.kind = DeviceKind::Mouse;
  d.instanceName = "Mouse";
  d.productName = "Mouse";
  d.usagePage = 0x01;
  d.usage = 0x02;
  return d;
}

DeviceDescription GameControllerDescription(const std::string& name, uint16_t vendorId, uint16_t productId,
                                            int actuatorAxes, int axes, int buttons, int povs) {
  DeviceDescription d;
  d.kind = DeviceKind::GameController;
  d.instanceName = name;
  d.productName = name;
  d.vendorId = vendorId;
  d.productId = productId;
  d.devType = DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8) | DIDEVTYPE_HID;
  d.usagePage = 0x01;
  d.usage = 0x05;
  d.axes = axes < actuatorAxes ? actuatorAxes : axes;
  d.actuatorAxes = actuatorAxes;
  d.buttons = buttons;
  d.povs = povs;
  d.forceFeedback = actuatorAxes > 0;
  d.acceptsEscapes = actuatorAxes > 0;
  return d;
}

GUID ProductGuidFromIds(uint16_t vendorId, uint16_t productId) {
  return GUID{static_cast<DWORD>(MAKELONG(vendorId, productId)), 0x0000, 0x0000,
              {0x00, 0x00, 'P', 'I', 'D', 'V', 'I', 'D'}};
}

DeviceId AttachDevice(const DeviceDescription& description) {
  ApiLock lock;
  DeviceDescription d = description;
  if (!dinput::Complete(&d)) return noDevice;
  std::unique_ptr<dinput::DeviceModel> model;
  try {
    model = dinput::MakeModel(d);
  } catch (const std::exception&) {
    return noDevice;
  }
  dinput::Registry& registry = TheRegistry();
  if (!dinput::IsZero(d.instanceGuid)) {
    for (const std::shared_ptr<DeviceEntry>& entry : registry.entries) {
      if (!IsEqualGUID(entry->description().instanceGuid, d.instanceGuid)) continue;
      if (entry->attached() || !dinput::SameControls(entry->description(), d)) return noDevice;
      // The same device plugged in again.
      entry->Replace(d, std::move(model));
      entry->Attach();
      return entry->id();
    }
  } else {
    d.instanceGuid = dinput::MadeUpInstanceGuid(++registry.madeUpGuids);
  }
  auto entry = std::make_shared<DeviceEntry>(registry.nextId++, d, std::move(model));
  if (dinput::IsGameController(d.kind)) {
    int controllers = 0;
    for (const std::shared_ptr<DeviceEntry>& other : registry.entries) {
      controllers += dinput::IsGameController(other->description().kind) ? 1 : 0;
    }
    entry->set_joystickId(controllers);
  }
  registry.entries.push_back(entry);
  return entry->id();
}

bool DetachDevice(DeviceId device) {
  ApiLock lock;
  std::shared_ptr<DeviceEntry> entry = EntryFor(device);
  if (!entry || !entry->attached()) return false;
  entry->Detach();
  return true;
}

bool ReattachDevice(DeviceId device) {
  ApiLock lock;
  std::shared_ptr<DeviceEntry> entry = EntryFor(device);
  if (!entry || entry->attached()) return false;
  entry->Attach();
  return true;
}

bool IsAttached(DeviceId device) {
  ApiLock lock;
  std::shared_ptr<DeviceEntry> entry = EntryFor(device);
  return entry && entry->attached();
}

GUID DeviceInstanceGuid(DeviceId device) {
  ApiLock lock;
  std::shared_ptr<DeviceEntry> entry = EntryFor(device);
  return entry ? entry->description().instanceGuid : GUID{};
}

DeviceId FindDevice(REFGUID instanceGuid) {
  ApiLock lock;
  for (const std::shared_ptr<DeviceEntry>& entry : TheRegistry().entries) {
    if (IsEqualGUID(entry->description().instanceGuid, instanceGuid)) return entry->id();
  }
  return noDevice;
}

bool SetAxisValue(DeviceId device, int axis, LONG logicalValue) {
  ApiLock lock;
  return dinput::Script(device, dinput::ObjectClass::Axis, axis, logicalValue);
}

bool SetButton(DeviceId device, int button, bool pressed) {
  ApiLock lock;
  return dinput::Script(device, dinput::ObjectClass::Button, button, pressed ? 0x80 : 0);
}

bool SetPov(DeviceId device, int pov, DWORD hundredthsOfDegree) {
  ApiLock lock;
  return dinput::Script(device, dinput::ObjectClass::Pov, pov, static_cast<LONG>(hundredthsOfDegree));
}

sim::VirtualWheel* VirtualWheelOf(DeviceId device) {
  ApiLock lock;
  std::shared_ptr<DeviceEntry> entry = EntryFor(device);
  if (!entry) return nullptr;
  entry->Sync();
  return entry->model().Wheel();
}

void SetApplicationActive(bool active) {
  ApiLock lock;
  dinput::Registry& registry = TheRegistry();
  bool wasActive = registry.applicationActive;
  registry.applicationActive = active;
  if (wasActive && !active) {
    for (const std::shared_ptr<DeviceEntry>& entry : registry.entries) {
      entry->Sync();
      for (dinput::Device* device : entry->interfaces()) device->OnDeactivated();
    }
  }
}

bool ApplicationActive() {
  ApiLock lock;
  return TheRegistry().applicationActive;
}

bool SetLogicalRangeNotImplemented(DeviceId device, bool notImplemented) {
  ApiLock lock;
  std::shared_ptr<DeviceEntry> entry = EntryFor(device);
  if (!entry) return false;
  entry->set_logicalRangeNotImplemented(notImplemented);
  return true;
}

void ResetDirectInput() {
  ApiLock lock;
  dinput::Registry& registry = TheRegistry();
  for (const std::shared_ptr<DeviceEntry>& entry : registry.entries) entry->Remove();
  registry.entries.clear();
  registry.nextId = 1;
  registry.nextDeviceObjectSerial = 1;
  registry.madeUpGuids = 0;
  registry.applicationActive = true;
  ClearFaults();
  SetCallLogEnabled(true);
  ClearCallLog();
}

}  // namespace host

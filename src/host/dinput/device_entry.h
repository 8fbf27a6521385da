// One physical device in the registry: its description, its hardware model, whether it is
// plugged in, and the force-feedback state the device itself holds (downloaded effects,
// their playback times, gain, auto-centre, pause and actuators). Interfaces opened on it
// (class Device) share this state.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/dinput/device_model.h"
#include "host/dinput/device_registry.h"

namespace host::dinput {

class Device;
class Effect;

inline constexpr uint64_t foreverUs = UINT64_MAX;

struct EffectSlot {
  Effect* owner = nullptr;  // null: free
  RenderedEffect effect{};
  bool started = false;
  uint64_t fromUs = 0;       // playback starts (after the start delay)
  uint64_t untilUs = 0;      // and ends; foreverUs for infinite
  uint64_t startedAtUs = 0;  // when Start was called
};

class DeviceEntry {
 public:
  DeviceEntry(DeviceId id, const DeviceDescription& description, std::unique_ptr<DeviceModel> model);

  DeviceId id() const { return id_; }
  const DeviceDescription& description() const { return description_; }
  DeviceModel& model() { return *model_; }
  const DeviceModel& model() const { return *model_; }
  std::span<const DeviceObject> objects() const { return model_->Objects(); }

  bool attached() const { return attached_; }
  bool removed() const { return removed_; }
  int joystickId() const { return joystickId_; }
  void set_joystickId(int id) { joystickId_ = id; }

  // Replaces description and model (a re-plug may describe the device anew).
  void Replace(const DeviceDescription& description, std::unique_ptr<DeviceModel> model);
  void Detach();
  void Attach();
  void Remove();  // reset: gone for good

  void SetInstanceName(const std::string& name) { description_.instanceName = name; }
  void SetProductName(const std::string& name) { description_.productName = name; }

  bool logicalRangeNotImplemented() const { return logicalRangeNotImplemented_; }
  void set_logicalRangeNotImplemented(bool value) { logicalRangeNotImplemented_ = value; }

  // Brings the hardware up to timeGetTime(), splitting the run where effects start or end.
  void Sync();
  uint64_t NowUs() const { return timeUs_; }

  // Interfaces open on this device.
  void AddInterface(Device* device);
  void RemoveInterface(Device* device);
  const std::vector<Device*>& interfaces() const { return interfaces_; }
  Device* exclusiveOwner() const { return exclusiveOwner_; }
  void set_exclusiveOwner(Device* device) { exclusiveOwner_ = device; }

  // --- Force feedback held by the device (callers Sync first)
  int capacity() const;
  // A free slot for `owner`, or -1 when the device is full.
  int AllocateSlot(Effect* owner);
  void FreeSlot(int slot);
  EffectSlot& slot(int index) { return slots_[static_cast<size_t>(index)]; }
  int DownloadedCount() const;
  int PlayingCount() const;
  // Pushes one slot's present state to the hardware.
  void ApplySlot(int index);
  void ApplyAllSlots();
  bool SlotPlaying(int index) const;

  DWORD gain() const { return gain_; }
  void SetGain(DWORD gain);
  bool autoCenter() const { return autoCenter_; }
  void SetAutoCenter(bool on);
  bool paused() const { return paused_; }
  void Pause();
  void Continue();
  bool actuatorsOn() const { return actuatorsOn_; }
  void SetActuators(bool on);
  // DISFFC_RESET: every effect unloaded, playback running, actuators on.
  void ResetForceFeedback();

 private:
  void ApplySlotAt(int index, uint64_t now);
  void PowerUpState();

  DeviceId id_;
  DeviceDescription description_;
  std::unique_ptr<DeviceModel> model_;
  bool attached_ = true;
  bool removed_ = false;
  bool logicalRangeNotImplemented_ = false;
  int joystickId_ = -1;

  DWORD lastSyncMs_ = 0;
  uint64_t timeUs_ = 0;

  std::vector<Device*> interfaces_;
  Device* exclusiveOwner_ = nullptr;

  EffectSlot slots_[maxEffectSlots];
  DWORD gain_ = DI_FFNOMINALMAX;
  bool autoCenter_ = true;
  bool paused_ = false;
  uint64_t pausedAtUs_ = 0;
  bool actuatorsOn_ = true;
};

// The registry's entry for an id, or null.
std::shared_ptr<DeviceEntry> EntryFor(DeviceId id);
// Entries in enumeration order (attach order), removed ones excluded.
const std::vector<std::shared_ptr<DeviceEntry>>& Entries();
// The entry with this instance GUID (attached or not), or null. The system keyboard and
// mouse GUIDs stand for the first keyboard or mouse attached.
std::shared_ptr<DeviceEntry> EntryForGuid(REFGUID instanceGuid);

uint32_t NextDeviceObjectSerial();

// DIDEVICEINSTANCEA for a device; `size` is the caller's dwSize (580, or 560 for the
// DirectInput 3 form), which limits what is written.
void FillDeviceInstance(const DeviceEntry& entry, DIDEVICEINSTANCEA* out, DWORD size);
// The GUID DirectInput reports as the product: PIDVID for HID devices, the system GUIDs
// for keyboards and mice.
GUID ProductGuidOf(const DeviceDescription& description);
// Whether a device passes EnumDevices' dwDevType filter (a class or a device type).
bool MatchesDeviceFilter(const DeviceDescription& description, DWORD filter);
bool IsDeviceFilter(DWORD filter);

}  // namespace host::dinput

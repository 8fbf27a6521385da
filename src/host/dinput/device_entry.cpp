#include "host/dinput/device_entry.h"

#include <algorithm>
#include <cstring>

#include "host/dinput/device.h"
#include "host/dinput/effect.h"
#include "host/dinput/text_fields.h"

namespace host::dinput {

DeviceEntry::DeviceEntry(DeviceId id, const DeviceDescription& description, std::unique_ptr<DeviceModel> model)
    : id_(id), description_(description), model_(std::move(model)) {
  logicalRangeNotImplemented_ = description.logicalRangeNotImplemented;
  interfaces_.reserve(4);
  PowerUpState();
}

void DeviceEntry::Replace(const DeviceDescription& description, std::unique_ptr<DeviceModel> model) {
  description_ = description;
  model_ = std::move(model);
  logicalRangeNotImplemented_ = description.logicalRangeNotImplemented;
}

void DeviceEntry::PowerUpState() {
  for (int i = 0; i < maxEffectSlots; ++i) slots_[i] = EffectSlot{};
  gain_ = DI_FFNOMINALMAX;
  autoCenter_ = description_.kind == DeviceKind::VirtualWheel ? description_.wheel.autoCenterEnabled : true;
  paused_ = false;
  actuatorsOn_ = true;
  model_->PowerUp();
  lastSyncMs_ = timeGetTime();
}

void DeviceEntry::Detach() {
  if (!attached_) return;
  Sync();
  attached_ = false;
  for (Device* device : interfaces_) device->OnUnplugged();
  for (int i = 0; i < maxEffectSlots; ++i) {
    if (slots_[i].owner != nullptr) {
      slots_[i].owner->OnSlotLost();
      FreeSlot(i);
    }
  }
  exclusiveOwner_ = nullptr;
}

void DeviceEntry::Attach() {
  if (attached_ || removed_) return;
  attached_ = true;
  PowerUpState();
}

void DeviceEntry::Remove() {
  Detach();
  removed_ = true;
}

void DeviceEntry::Sync() {
  DWORD now = timeGetTime();
  DWORD elapsedMs = now - lastSyncMs_;
  lastSyncMs_ = now;
  // A clock that went back (a switch between real and virtual time) moves nothing.
  if (elapsedMs >= 0x80000000u) return;
  uint64_t target = timeUs_ + static_cast<uint64_t>(elapsedMs) * 1000u;
  while (timeUs_ < target) {
    // Run to the next moment an effect starts or ends, so it acts for exactly its time.
    uint64_t next = target;
    if (!paused_) {
      for (const EffectSlot& slot : slots_) {
        if (slot.owner == nullptr || !slot.started) continue;
        if (slot.fromUs > timeUs_ && slot.fromUs < next) next = slot.fromUs;
        if (slot.untilUs > timeUs_ && slot.untilUs < next) next = slot.untilUs;
      }
    }
    model_->Advance(static_cast<double>(next - timeUs_) / 1e6);
    timeUs_ = next;
    ApplyAllSlots();
  }
}

void DeviceEntry::AddInterface(Device* device) { interfaces_.push_back(device); }

void DeviceEntry::RemoveInterface(Device* device) {
  interfaces_.erase(std::remove(interfaces_.begin(), interfaces_.end(), device), interfaces_.end());
  if (exclusiveOwner_ == device) exclusiveOwner_ = nullptr;
}

int DeviceEntry::capacity() const {
  if (!description_.forceFeedback) return 0;
  return std::clamp(description_.effectCapacity, 0, maxEffectSlots);
}

int DeviceEntry::AllocateSlot(Effect* owner) {
  for (int i = 0; i < capacity(); ++i) {
    if (slots_[i].owner != nullptr) continue;
    slots_[i] = EffectSlot{};
    slots_[i].owner = owner;
    return i;
  }
  return -1;
}

void DeviceEntry::FreeSlot(int slot) {
  slots_[slot] = EffectSlot{};
  model_->Render(slot, nullptr);
}

int DeviceEntry::DownloadedCount() const {
  int count = 0;
  for (const EffectSlot& slot : slots_) count += slot.owner != nullptr ? 1 : 0;
  return count;
}

int DeviceEntry::PlayingCount() const {
  int count = 0;
  for (int i = 0; i < maxEffectSlots; ++i) count += SlotPlaying(i) ? 1 : 0;
  return count;
}

bool DeviceEntry::SlotPlaying(int index) const {
  const EffectSlot& slot = slots_[index];
  if (slot.owner == nullptr || !slot.started) return false;
  // While paused, time stands still for the effects.
  uint64_t now = paused_ ? pausedAtUs_ : timeUs_;
  return now < slot.untilUs;
}

void DeviceEntry::ApplySlotAt(int index, uint64_t now) {
  const EffectSlot& slot = slots_[index];
  bool active = slot.owner != nullptr && slot.started && slot.fromUs <= now && now < slot.untilUs && !paused_ &&
                actuatorsOn_ && attached_;
  model_->Render(index, active ? &slot.effect : nullptr);
}

void DeviceEntry::ApplySlot(int index) { ApplySlotAt(index, timeUs_); }

void DeviceEntry::ApplyAllSlots() {
  for (int i = 0; i < maxEffectSlots; ++i) {
    if (slots_[i].owner != nullptr) ApplySlotAt(i, timeUs_);
  }
}

void DeviceEntry::SetGain(DWORD gain) {
  gain_ = gain;
  model_->SetDeviceGain(gain / static_cast<double>(DI_FFNOMINALMAX));
}

void DeviceEntry::SetAutoCenter(bool on) {
  autoCenter_ = on;
  model_->SetAutoCenter(on);
}

void DeviceEntry::Pause() {
  if (paused_) return;
  paused_ = true;
  pausedAtUs_ = timeUs_;
  ApplyAllSlots();
}

void DeviceEntry::Continue() {
  if (!paused_) return;
  paused_ = false;
  // Effects resume where they stopped: their remaining times move on by the pause.
  for (EffectSlot& slot : slots_) {
    if (slot.owner == nullptr || !slot.started) continue;
    uint64_t heldSince = std::max(pausedAtUs_, slot.startedAtUs);
    uint64_t held = timeUs_ - heldSince;
    slot.fromUs += held;
    if (slot.untilUs != foreverUs) slot.untilUs += held;
  }
  ApplyAllSlots();
}

void DeviceEntry::SetActuators(bool on) {
  actuatorsOn_ = on;
  ApplyAllSlots();
}

void DeviceEntry::ResetForceFeedback() {
  for (int i = 0; i < maxEffectSlots; ++i) {
    if (slots_[i].owner == nullptr) continue;
    slots_[i].owner->OnSlotLost();
    FreeSlot(i);
  }
  paused_ = false;
  actuatorsOn_ = true;
}

GUID ProductGuidOf(const DeviceDescription& description) {
  if (description.kind == DeviceKind::Keyboard) return GUID_SysKeyboard;
  if (description.kind == DeviceKind::Mouse) return GUID_SysMouse;
  return ProductGuidFromIds(description.vendorId, description.productId);
}

void FillDeviceInstance(const DeviceEntry& entry, DIDEVICEINSTANCEA* out, DWORD size) {
  const DeviceDescription& d = entry.description();
  std::memset(reinterpret_cast<char*>(out) + sizeof(DWORD), 0, size - sizeof(DWORD));
  out->guidInstance = d.instanceGuid;
  out->guidProduct = ProductGuidOf(d);
  out->dwDevType = d.devType;
  CopyText(out->tszInstanceName, sizeof(out->tszInstanceName), d.instanceName);
  CopyText(out->tszProductName, sizeof(out->tszProductName), d.productName);
  if (size < sizeof(DIDEVICEINSTANCEA)) return;
  // Force-feedback devices name a driver; this one is made up: {5654F0F0-0000-11F0-8000-56414E54524C}.
  if (d.forceFeedback) out->guidFFDriver = GUID{0x5654F0F0, 0x0000, 0x11F0, {0x80, 0x00, 0x56, 0x41, 0x4E, 0x54, 0x52, 0x4C}};
  out->wUsagePage = d.usagePage;
  out->wUsage = d.usage;
}

bool IsDeviceFilter(DWORD filter) {
  return filter <= DI8DEVCLASS_GAMECTRL || (filter >= DI8DEVTYPE_DEVICE && filter <= DI8DEVTYPE_SUPPLEMENTAL);
}

bool MatchesDeviceFilter(const DeviceDescription& description, DWORD filter) {
  DWORD type = GET_DIDEVICE_TYPE(description.devType);
  switch (filter) {
    case DI8DEVCLASS_ALL:
      return true;
    case DI8DEVCLASS_DEVICE:
      return type == DI8DEVTYPE_DEVICE || type == DI8DEVTYPE_DEVICECTRL || type == DI8DEVTYPE_REMOTE;
    case DI8DEVCLASS_POINTER:
      return type == DI8DEVTYPE_MOUSE || type == DI8DEVTYPE_SCREENPOINTER;
    case DI8DEVCLASS_KEYBOARD:
      return type == DI8DEVTYPE_KEYBOARD;
    case DI8DEVCLASS_GAMECTRL:
      return type == DI8DEVTYPE_JOYSTICK || type == DI8DEVTYPE_GAMEPAD || type == DI8DEVTYPE_DRIVING ||
             type == DI8DEVTYPE_FLIGHT || type == DI8DEVTYPE_1STPERSON || type == DI8DEVTYPE_SUPPLEMENTAL;
    default:
      return type == filter;
  }
}

}  // namespace host::dinput

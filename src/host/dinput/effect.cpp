#include "host/dinput/effect.h"

#include <cstring>

#include "host/dinput/api_lock.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device.h"
#include "host/dinput/live_objects.h"

namespace host::dinput {
namespace {

// The object index of the device's first actuator: the axis effects act on physically.
size_t FirstActuator(const DeviceEntry& entry) {
  std::span<const DeviceObject> objects = entry.objects();
  for (size_t i = 0; i < objects.size(); ++i) {
    if (objects[i].IsActuator()) return i;
  }
  return objects.size();
}

}  // namespace

Effect::Effect(Device* device, const EffectTypeInfo& type, int32_t index)
    : device_(device), type_(type), index_(index) {
  device_->AddRefInternal();
  CountCreated(ObjectKind::Effect);
}

Effect::~Effect() { CountDestroyed(ObjectKind::Effect); }

void Effect::Discard() {
  UnloadFromDevice();
  Device* device = device_;
  delete this;
  device->ReleaseInternal();
}

void Effect::ReleaseInternal() {
  if (--references_ > 0) return;
  // The wheel runs with the effect up to now before it goes.
  device_->entry().Sync();
  UnloadFromDevice();
  device_->ForgetEffect(this);
  Device* device = device_;
  delete this;
  device->ReleaseInternal();
}

bool Effect::ReportsTruncation() const { return device_->entry().description().reportsTruncation; }

void Effect::UnloadFromDevice() {
  if (slot_ < 0) return;
  device_->entry().FreeSlot(slot_);
  slot_ = -1;
}

HRESULT Effect::DownloadToSlot(bool* truncated) {
  DeviceEntry& entry = device_->entry();
  if (slot_ < 0) {
    int slot = entry.AllocateSlot(this);
    if (slot < 0) return DIERR_DEVICEFULL;
    slot_ = slot;
  }
  EffectSlot& slot = entry.slot(slot_);
  slot.effect = RenderForDevice(params_, type_, FirstActuator(entry), truncated);
  if (slot.started) {
    // A new duration applies to the run under way.
    uint64_t length = PlaybackLengthUs(params_, iterations_);
    slot.untilUs = length == UINT64_MAX ? foreverUs : slot.fromUs + length;
  }
  pending_ = 0;
  entry.ApplySlot(slot_);
  return DI_OK;
}

void Effect::StartPlayback(DWORD iterations) {
  DeviceEntry& entry = device_->entry();
  EffectSlot& slot = entry.slot(slot_);
  iterations_ = iterations;
  slot.started = true;
  slot.startedAtUs = entry.NowUs();
  slot.fromUs = slot.startedAtUs + params_.startDelay;
  uint64_t length = PlaybackLengthUs(params_, iterations);
  slot.untilUs = length == UINT64_MAX ? foreverUs : slot.fromUs + length;
  entry.ApplySlot(slot_);
}

bool Effect::CopyParameters(LPCDIEFFECT effect, DIEFFECT* copy) {
  *copy = DIEFFECT{};
  if (effect->dwSize == sizeof(DIEFFECT_DX5)) {
    std::memcpy(copy, effect, sizeof(DIEFFECT_DX5));
    return true;
  }
  if (effect->dwSize != sizeof(DIEFFECT)) return false;
  std::memcpy(copy, effect, sizeof(DIEFFECT));
  return true;
}

HRESULT Effect::Apply(const DIEFFECT& effect, DWORD flags) {
  DeviceEntry& entry = device_->entry();
  entry.Sync();
  DWORD changed = 0;
  HRESULT stored = StoreParameters(&params_, type_, effect, flags, *device_, &changed);
  if (FAILED(stored)) return stored;
  pending_ |= changed;
  if (flags & DIEP_NODOWNLOAD) return DI_OK;
  HRESULT access = device_->EffectAccess();
  if (access == static_cast<HRESULT>(DIERR_NOTEXCLUSIVEACQUIRED)) return DI_DOWNLOADSKIPPED;
  if (FAILED(access)) return access;
  if (!params_.Complete()) return DIERR_INCOMPLETEEFFECT;

  bool playing = slot_ >= 0 && entry.SlotPlaying(slot_);
  bool restart = false;
  if (playing && !(flags & DIEP_START) && (pending_ & ~type_.dynamicParams) != 0) {
    // The device cannot change these while the effect runs: stop, update, start again.
    if (flags & DIEP_NORESTART) return DIERR_EFFECTPLAYING;
    restart = true;
  }
  bool truncated = false;
  if (slot_ < 0 || pending_ != 0) {
    HRESULT downloaded = DownloadToSlot(&truncated);
    if (FAILED(downloaded)) return downloaded;
  }
  if (flags & DIEP_START) {
    StartPlayback(1);
  } else if (restart) {
    StartPlayback(iterations_);
  }
  truncated = truncated && ReportsTruncation();
  if (restart) return truncated ? DI_TRUNCATEDANDRESTARTED : DI_EFFECTRESTARTED;
  return truncated ? DI_TRUNCATED : DI_OK;
}

// --- IUnknown

HRESULT STDMETHODCALLTYPE Effect::QueryInterface(REFIID riid, void** ppvObject) {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::QueryInterface, device_->deviceId(), device_->serial(), index_);
  scope.record().guid = riid;
  HRESULT injected;
  if (scope.Injected(&injected)) {
    if (ppvObject != nullptr) *ppvObject = nullptr;
    return scope.Finish(injected);
  }
  if (ppvObject == nullptr) return scope.Finish(E_POINTER);
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectInputEffect)) {
    ++references_;
    *ppvObject = static_cast<IDirectInputEffect*>(this);
    return scope.Finish(S_OK);
  }
  *ppvObject = nullptr;
  return scope.Finish(E_NOINTERFACE);
}

ULONG STDMETHODCALLTYPE Effect::AddRef() {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::AddRef, device_->deviceId(), device_->serial(), index_);
  ULONG count = ++references_;
  scope.record().value = count;
  return count;
}

ULONG STDMETHODCALLTYPE Effect::Release() {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::Release, device_->deviceId(), device_->serial(), index_);
  ULONG count = references_ - 1;
  scope.record().value = count;
  ReleaseInternal();
  return count;
}

// --- IDirectInputEffect

HRESULT STDMETHODCALLTYPE Effect::Initialize(HINSTANCE hinst, DWORD dwVersion, REFGUID rguid) {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::Initialize, device_->deviceId(), device_->serial(), index_);
  scope.record().flags = dwVersion;
  scope.record().guid = rguid;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (hinst == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  if (dwVersion != DIRECTINPUT_VERSION) {
    return scope.Finish(dwVersion > DIRECTINPUT_VERSION ? DIERR_OLDDIRECTINPUTVERSION : DIERR_BETADIRECTINPUTVERSION);
  }
  // rguid names the device the effect belongs to; it cannot move to another.
  if (!IsEqualGUID(rguid, device_->entry().description().instanceGuid)) return scope.Finish(DIERR_DEVICENOTREG);
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Effect::GetEffectGuid(LPGUID pguid) {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::GetEffectGuid, device_->deviceId(), device_->serial(), index_);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (pguid == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  *pguid = *type_.guid;
  scope.record().guid = *type_.guid;
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Effect::GetParameters(LPDIEFFECT peff, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::GetParameters, device_->deviceId(), device_->serial(), index_);
  scope.record().flags = dwFlags;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (peff == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  return scope.Finish(ReadParameters(params_, type_, peff, dwFlags, *device_));
}

HRESULT STDMETHODCALLTYPE Effect::SetParameters(LPCDIEFFECT peff, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::SetParameters, device_->deviceId(), device_->serial(), index_);
  scope.record().flags = dwFlags;
  LogEffect(&scope.record().effectParams, peff, dwFlags);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  DIEFFECT parameters;
  if (peff == nullptr || !CopyParameters(peff, &parameters)) return scope.Finish(DIERR_INVALIDPARAM);
  return scope.Finish(Apply(parameters, dwFlags));
}

HRESULT STDMETHODCALLTYPE Effect::Start(DWORD dwIterations, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::Start, device_->deviceId(), device_->serial(), index_);
  scope.record().flags = dwFlags;
  scope.record().iterations = dwIterations;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if ((dwFlags & ~(DIES_SOLO | DIES_NODOWNLOAD)) != 0 || dwIterations == 0) return scope.Finish(DIERR_INVALIDPARAM);
  DeviceEntry& entry = device_->entry();
  entry.Sync();
  HRESULT access = device_->EffectAccess();
  if (FAILED(access)) return scope.Finish(access);
  if (dwFlags & DIES_NODOWNLOAD) {
    if (slot_ < 0) return scope.Finish(DIERR_NOTDOWNLOADED);
  } else {
    if (!params_.Complete()) return scope.Finish(DIERR_INCOMPLETEEFFECT);
    if (slot_ < 0 || pending_ != 0) {
      bool truncated = false;
      HRESULT downloaded = DownloadToSlot(&truncated);
      if (FAILED(downloaded)) return scope.Finish(downloaded);
    }
  }
  if (dwFlags & DIES_SOLO) {
    for (int i = 0; i < maxEffectSlots; ++i) {
      EffectSlot& other = entry.slot(i);
      if (other.owner == nullptr || other.owner == this || !other.started) continue;
      other.started = false;
      entry.ApplySlot(i);
    }
  }
  StartPlayback(dwIterations);
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Effect::Stop() {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::Stop, device_->deviceId(), device_->serial(), index_);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  DeviceEntry& entry = device_->entry();
  entry.Sync();
  HRESULT access = device_->EffectAccess();
  if (FAILED(access)) return scope.Finish(access);
  if (slot_ >= 0) {
    entry.slot(slot_).started = false;
    entry.ApplySlot(slot_);
  }
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Effect::GetEffectStatus(LPDWORD pdwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::GetEffectStatus, device_->deviceId(), device_->serial(), index_);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (pdwFlags == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  *pdwFlags = 0;
  DeviceEntry& entry = device_->entry();
  entry.Sync();
  // Only the exclusive owner may ask the device, and an effect that holds no slot has no
  // status on it: neither counts as "stopped".
  HRESULT access = device_->EffectAccess();
  if (FAILED(access)) return scope.Finish(access);
  if (slot_ < 0) return scope.Finish(DIERR_NOTDOWNLOADED);
  DWORD status = entry.SlotPlaying(slot_) ? DIEGES_PLAYING : 0;
  *pdwFlags = status;
  scope.record().value = status;
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Effect::Download() {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::Download, device_->deviceId(), device_->serial(), index_);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  device_->entry().Sync();
  HRESULT access = device_->EffectAccess();
  if (FAILED(access)) return scope.Finish(access);
  if (!params_.Complete()) return scope.Finish(DIERR_INCOMPLETEEFFECT);
  if (slot_ >= 0 && pending_ == 0) return scope.Finish(DI_NOEFFECT);  // already on the device as it is
  bool truncated = false;
  HRESULT downloaded = DownloadToSlot(&truncated);
  if (FAILED(downloaded)) return scope.Finish(downloaded);
  return scope.Finish(truncated && ReportsTruncation() ? DI_TRUNCATED : DI_OK);
}

HRESULT STDMETHODCALLTYPE Effect::Unload() {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::Unload, device_->deviceId(), device_->serial(), index_);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  device_->entry().Sync();
  HRESULT access = device_->EffectAccess();
  if (FAILED(access)) return scope.Finish(access);
  UnloadFromDevice();
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Effect::Escape(LPDIEFFESCAPE pesc) {
  ApiLock lock;
  CallScope scope(Interface::Effect, Method::Escape, device_->deviceId(), device_->serial(), index_);
  LogEscape(&scope.record().escape, pesc);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(device_->SendEscape(pesc));
}

}  // namespace host::dinput

#include "host/dinput/device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/dinput/api_lock.h"
#include "host/dinput/call_log.h"
#include "host/dinput/direct_input.h"
#include "host/dinput/effect.h"
#include "host/dinput/live_objects.h"
#include "host/dinput/text_fields.h"

namespace host::dinput {
namespace {

constexpr DWORD classBits = DIDFT_AXIS | DIDFT_BUTTON | DIDFT_POV;

bool ExactlyOne(DWORD bits) { return bits != 0 && (bits & (bits - 1)) == 0; }

DWORD WidthOf(ObjectClass kind) { return kind == ObjectClass::Button ? 1 : 4; }

ObjectClass ClassOfFormatType(DWORD type) {
  if (type & DIDFT_AXIS) return ObjectClass::Axis;
  if (type & DIDFT_POV) return ObjectClass::Pov;
  return ObjectClass::Button;
}

}  // namespace

Device::Device(DirectInput8* parent, std::shared_ptr<DeviceEntry> entry, uint32_t serial)
    : parent_(parent), entry_(std::move(entry)), serial_(serial) {
  parent_->AddRefInternal();
  entry_->AddInterface(this);
  std::span<const DeviceObject> objects = entry_->objects();
  settings_.resize(objects.size());
  for (ObjectSettings& s : settings_) s.raw = entry_->description().uncalibratedAxes;
  snapshot_.assign(objects.size(), 0);
  lastReported_.assign(objects.size(), 0);
  relativeAxes_ = entry_->description().kind == DeviceKind::Mouse;
  format_.reserve(objects.size());
  effects_.reserve(8);
  CountCreated(ObjectKind::Device);
}

Device::~Device() {
  if (acquired_) LoseAcquisition();
  entry_->RemoveInterface(this);
  parent_->ReleaseInternal();
  CountDestroyed(ObjectKind::Device);
}

void Device::AddRefInternal() { ++references_; }

void Device::ReleaseInternal() {
  if (--references_ == 0) delete this;
}

HRESULT STDMETHODCALLTYPE Device::QueryInterface(REFIID riid, void** ppvObject) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::QueryInterface, deviceId(), serial_, noEffect);
  scope.record().guid = riid;
  HRESULT injected;
  if (scope.Injected(&injected)) {
    if (ppvObject != nullptr) *ppvObject = nullptr;
    return scope.Finish(injected);
  }
  if (ppvObject == nullptr) return scope.Finish(E_POINTER);
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectInputDevice8A)) {
    ++references_;
    *ppvObject = static_cast<IDirectInputDevice8A*>(this);
    return scope.Finish(S_OK);
  }
  *ppvObject = nullptr;
  return scope.Finish(E_NOINTERFACE);
}

ULONG STDMETHODCALLTYPE Device::AddRef() {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::AddRef, deviceId(), serial_, noEffect);
  ULONG count = ++references_;
  scope.record().value = count;
  return count;
}

ULONG STDMETHODCALLTYPE Device::Release() {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::Release, deviceId(), serial_, noEffect);
  ULONG count = --references_;
  scope.record().value = count;
  if (count == 0) delete this;
  return count;
}

// --- Acquisition

HRESULT Device::ReadAccess() const {
  if (acquired_) return DI_OK;
  return lost_ ? DIERR_INPUTLOST : DIERR_NOTACQUIRED;
}

HRESULT Device::EffectAccess() const {
  if (lost_ || !entry_->attached()) return DIERR_INPUTLOST;
  if (!acquired_ || !(cooperativeLevel_ & DISCL_EXCLUSIVE)) return DIERR_NOTEXCLUSIVEACQUIRED;
  return DI_OK;
}

void Device::UnloadEffects() {
  for (Effect* effect : effects_) effect->UnloadFromDevice();
}

void Device::LoseAcquisition() {
  acquired_ = false;
  if (entry_->exclusiveOwner() == this) entry_->set_exclusiveOwner(nullptr);
  // Effects stop and leave the device with the acquisition; they keep their parameters.
  UnloadEffects();
}

void Device::OnUnplugged() {
  if (!acquired_) return;
  LoseAcquisition();
  lost_ = true;
}

void Device::OnDeactivated() {
  if (!acquired_ || !(cooperativeLevel_ & DISCL_FOREGROUND)) return;
  LoseAcquisition();
  lost_ = true;
}

void Device::ForgetEffect(Effect* effect) {
  effects_.erase(std::remove(effects_.begin(), effects_.end(), effect), effects_.end());
}

void Device::TakeSnapshot() {
  const DeviceModel& model = entry_->model();
  for (size_t i = 0; i < snapshot_.size(); ++i) snapshot_[i] = model.Read(i);
}

HRESULT STDMETHODCALLTYPE Device::Acquire() {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::Acquire, deviceId(), serial_, noEffect);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (!entry_->attached()) return scope.Finish(DIERR_UNPLUGGED);
  if (!hasFormat_) return scope.Finish(DIERR_INVALIDPARAM);
  if (acquired_) return scope.Finish(S_FALSE);
  if ((cooperativeLevel_ & DISCL_FOREGROUND) && !ApplicationActive()) return scope.Finish(DIERR_OTHERAPPHASPRIO);
  if (cooperativeLevel_ & DISCL_EXCLUSIVE) {
    Device* owner = entry_->exclusiveOwner();
    if (owner != nullptr && owner != this) return scope.Finish(DIERR_OTHERAPPHASPRIO);
    entry_->set_exclusiveOwner(this);
  }
  acquired_ = true;
  lost_ = false;
  entry_->Sync();
  TakeSnapshot();
  const DeviceModel& model = entry_->model();
  for (size_t i = 0; i < lastReported_.size(); ++i) lastReported_[i] = model.Read(i);
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::Unacquire() {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::Unacquire, deviceId(), serial_, noEffect);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  lost_ = false;
  if (!acquired_) return scope.Finish(DI_NOEFFECT);
  entry_->Sync();
  LoseAcquisition();
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::SetCooperativeLevel(HWND hwnd, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::SetCooperativeLevel, deviceId(), serial_, noEffect);
  scope.record().flags = dwFlags;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (acquired_) return scope.Finish(DIERR_ACQUIRED);
  constexpr DWORD known = DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND | DISCL_NOWINKEY;
  if ((dwFlags & ~known) != 0 || !ExactlyOne(dwFlags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE)) ||
      !ExactlyOne(dwFlags & (DISCL_FOREGROUND | DISCL_BACKGROUND))) {
    return scope.Finish(DIERR_INVALIDPARAM);
  }
  DeviceKind kind = entry_->description().kind;
  bool systemDevice = kind == DeviceKind::Keyboard || kind == DeviceKind::Mouse;
  if (systemDevice && (dwFlags & DISCL_EXCLUSIVE) && (dwFlags & DISCL_BACKGROUND)) {
    return scope.Finish(DIERR_UNSUPPORTED);
  }
  if (hwnd == nullptr && (dwFlags & (DISCL_EXCLUSIVE | DISCL_FOREGROUND))) return scope.Finish(E_HANDLE);
  cooperativeLevel_ = dwFlags;
  window_ = hwnd;
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::SetEventNotification(HANDLE hEvent) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::SetEventNotification, deviceId(), serial_, noEffect);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (acquired_) return scope.Finish(DIERR_ACQUIRED);
  // Kept but never signalled: no buffered data ever arrives here.
  event_ = hEvent;
  return scope.Finish(DI_OK);
}

// --- Data format and state

HRESULT STDMETHODCALLTYPE Device::SetDataFormat(LPCDIDATAFORMAT lpdf) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::SetDataFormat, deviceId(), serial_, noEffect);
  if (lpdf != nullptr) {
    scope.record().flags = lpdf->dwFlags;
    scope.record().value = lpdf->dwDataSize;
  }
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (acquired_) return scope.Finish(DIERR_ACQUIRED);
  if (lpdf == nullptr || lpdf->dwSize != sizeof(DIDATAFORMAT) || lpdf->dwObjSize != sizeof(DIOBJECTDATAFORMAT) ||
      lpdf->dwDataSize % 4 != 0 || (lpdf->dwNumObjs > 0 && lpdf->rgodf == nullptr) ||
      (lpdf->dwFlags & ~(DIDF_ABSAXIS | DIDF_RELAXIS)) != 0 || lpdf->dwFlags == (DIDF_ABSAXIS | DIDF_RELAXIS)) {
    return scope.Finish(DIERR_INVALIDPARAM);
  }
  std::span<const DeviceObject> objects = entry_->objects();
  std::vector<FormatEntry> mapping;
  mapping.reserve(lpdf->dwNumObjs);
  std::vector<bool> used(objects.size(), false);
  for (DWORD i = 0; i < lpdf->dwNumObjs; ++i) {
    const DIOBJECTDATAFORMAT& wanted = lpdf->rgodf[i];
    DWORD wantedClass = wanted.dwType & classBits;
    if (wantedClass == 0) return scope.Finish(DIERR_INVALIDPARAM);
    ObjectClass kind = ClassOfFormatType(wantedClass);
    DWORD width = WidthOf(kind);
    if (wanted.dwOfs + width > lpdf->dwDataSize || (width == 4 && wanted.dwOfs % 4 != 0)) {
      return scope.Finish(DIERR_INVALIDPARAM);
    }
    WORD instance = DIDFT_GETINSTANCE(wanted.dwType);
    bool anyInstance = instance == 0xFFFF;
    int found = -1;
    for (size_t o = 0; o < objects.size() && found < 0; ++o) {
      const DeviceObject& object = objects[o];
      if (used[o] || !(object.typeFlags & wantedClass)) continue;
      if (wanted.pguid != nullptr && !IsEqualGUID(*wanted.pguid, object.type)) continue;
      if (!anyInstance && object.instance != instance) continue;
      if ((wanted.dwType & DIDFT_FFACTUATOR) && !object.IsActuator()) continue;
      if ((wanted.dwType & DIDFT_FFEFFECTTRIGGER) && !(object.typeFlags & DIDFT_FFEFFECTTRIGGER)) continue;
      found = static_cast<int>(o);
    }
    if (found < 0 && !(wanted.dwType & DIDFT_OPTIONAL)) return scope.Finish(DIERR_INVALIDPARAM);
    if (found >= 0) used[static_cast<size_t>(found)] = true;
    mapping.push_back(FormatEntry{wanted.dwOfs, found, found >= 0 ? objects[static_cast<size_t>(found)].Class() : kind});
  }
  format_ = std::move(mapping);
  formatSize_ = lpdf->dwDataSize;
  hasFormat_ = true;
  if (lpdf->dwFlags & DIDF_ABSAXIS) relativeAxes_ = false;
  if (lpdf->dwFlags & DIDF_RELAXIS) relativeAxes_ = true;
  return scope.Finish(DI_OK);
}

LONG Device::CookedValue(size_t object, LONG raw) const {
  const ObjectSettings& s = settings_[object];
  const DeviceObject& o = entry_->objects()[object];
  if (s.raw || !(o.typeFlags & DIDFT_ABSAXIS)) return raw;
  AxisRange logical = entry_->model().LogicalRange(object);
  double t = (static_cast<double>(raw) - logical.min) / (static_cast<double>(logical.max) - logical.min);
  t = std::clamp(t, 0.0, 1.0);
  // Dead zone and saturation are shares of the half range either side of the centre.
  double centred = 2.0 * t - 1.0;
  double magnitude = std::fabs(centred);
  double dead = s.deadZone / 10000.0;
  double saturated = s.saturation / 10000.0;
  double scaled;
  if (magnitude <= dead) {
    scaled = 0.0;
  } else if (magnitude >= saturated) {
    scaled = 1.0;
  } else {
    scaled = (magnitude - dead) / (saturated - dead);
  }
  centred = centred < 0 ? -scaled : scaled;
  double value = s.rangeMin + (centred + 1.0) / 2.0 * (static_cast<double>(s.rangeMax) - s.rangeMin);
  return static_cast<LONG>(std::floor(value + 0.5));
}

void Device::WriteState(uint8_t* data) {
  std::memset(data, 0, formatSize_);
  const DeviceModel& model = entry_->model();
  bool polled = entry_->description().needsPolling;
  for (const FormatEntry& entry : format_) {
    uint8_t* at = data + entry.offset;
    if (entry.object < 0) {
      // A POV the device lacks reads centred.
      if (entry.kind == ObjectClass::Pov) std::memset(at, 0xFF, sizeof(DWORD));
      continue;
    }
    size_t object = static_cast<size_t>(entry.object);
    LONG raw = polled ? snapshot_[object] : model.Read(object);
    switch (entry.kind) {
      case ObjectClass::Axis: {
        LONG value;
        if (relativeAxes_) {
          value = raw - lastReported_[object];
          lastReported_[object] = raw;
        } else {
          value = CookedValue(object, raw);
        }
        std::memcpy(at, &value, sizeof(value));
        break;
      }
      case ObjectClass::Pov: {
        DWORD value = static_cast<DWORD>(raw);
        std::memcpy(at, &value, sizeof(value));
        break;
      }
      case ObjectClass::Button:
        *at = raw != 0 ? 0x80 : 0x00;
        break;
    }
  }
}

HRESULT STDMETHODCALLTYPE Device::Poll() {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::Poll, deviceId(), serial_, noEffect);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  HRESULT access = ReadAccess();
  if (FAILED(access)) return scope.Finish(access);
  entry_->Sync();
  if (!entry_->description().needsPolling) return scope.Finish(DI_NOEFFECT);
  TakeSnapshot();
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::GetDeviceState(DWORD cbData, LPVOID lpvData) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::GetDeviceState, deviceId(), serial_, noEffect);
  scope.record().value = cbData;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (lpvData == nullptr || (hasFormat_ && cbData != formatSize_)) return scope.Finish(DIERR_INVALIDPARAM);
  HRESULT access = ReadAccess();
  if (FAILED(access)) return scope.Finish(access);
  entry_->Sync();
  WriteState(static_cast<uint8_t*>(lpvData));
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::GetDeviceData(DWORD cbObjectData, LPDIDEVICEOBJECTDATA rgdod, LPDWORD pdwInOut,
                                                DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::GetDeviceData, deviceId(), serial_, noEffect);
  scope.record().flags = dwFlags;
  scope.record().value = cbObjectData;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  (void)rgdod;
  if (pdwInOut == nullptr ||
      (cbObjectData != sizeof(DIDEVICEOBJECTDATA) && cbObjectData != sizeof(DIDEVICEOBJECTDATA_DX3)) ||
      (dwFlags & ~DIGDD_PEEK) != 0) {
    return scope.Finish(DIERR_INVALIDPARAM);
  }
  if (bufferSize_ == 0) return scope.Finish(DIERR_NOTBUFFERED);
  HRESULT access = ReadAccess();
  if (FAILED(access)) return scope.Finish(access);
  // Changes are not buffered here: the buffer is always empty.
  *pdwInOut = 0;
  return scope.Finish(DI_OK);
}

// --- Objects

int Device::FindObject(DWORD obj, DWORD how) const {
  std::span<const DeviceObject> objects = entry_->objects();
  switch (how) {
    case DIPH_BYID: {
      DWORD kind = obj & classBits;
      WORD instance = DIDFT_GETINSTANCE(obj);
      for (size_t i = 0; i < objects.size(); ++i) {
        if ((objects[i].typeFlags & kind) && objects[i].instance == instance) return static_cast<int>(i);
      }
      return -1;
    }
    case DIPH_BYOFFSET:
      if (!hasFormat_) return -1;
      for (const FormatEntry& entry : format_) {
        if (entry.offset == obj && entry.object >= 0) return entry.object;
      }
      return -1;
    case DIPH_BYUSAGE:
      for (size_t i = 0; i < objects.size(); ++i) {
        if (objects[i].usagePage == HIWORD(obj) && objects[i].usage == LOWORD(obj)) return static_cast<int>(i);
      }
      return -1;
    default:
      return -1;
  }
}

LONG Device::FormatOffsetOf(size_t object) const {
  for (const FormatEntry& entry : format_) {
    if (entry.object == static_cast<int>(object)) return static_cast<LONG>(entry.offset);
  }
  return -1;
}

void Device::FillObjectInstance(size_t object, DIDEVICEOBJECTINSTANCEA* out, DWORD size) const {
  const DeviceObject& o = entry_->objects()[object];
  std::memset(reinterpret_cast<char*>(out) + sizeof(DWORD), 0, size - sizeof(DWORD));
  out->guidType = o.type;
  LONG offset = FormatOffsetOf(object);
  out->dwOfs = offset >= 0 ? static_cast<DWORD>(offset) : o.nativeOffset;
  out->dwType = o.Id();
  out->dwFlags = o.objectFlags;
  CopyText(out->tszName, sizeof(out->tszName), o.name);
  if (size < sizeof(DIDEVICEOBJECTINSTANCEA)) return;
  out->dwFFMaxForce = o.ffMaxForce;
  out->dwFFForceResolution = o.ffForceResolution;
  out->wUsagePage = o.usagePage;
  out->wUsage = o.usage;
}

HRESULT STDMETHODCALLTYPE Device::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA lpCallback, LPVOID pvRef, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::EnumObjects, deviceId(), serial_, noEffect);
  scope.record().flags = dwFlags;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (lpCallback == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  DWORD kinds = dwFlags & (classBits | DIDFT_COLLECTION | DIDFT_NODATA);
  DWORD attributes = dwFlags & (DIDFT_FFACTUATOR | DIDFT_FFEFFECTTRIGGER | DIDFT_OUTPUT | DIDFT_VENDORDEFINED |
                                DIDFT_ALIAS);
  // Every object sits in the top-level collection; naming another collection finds nothing.
  WORD collection = DIDFT_GETINSTANCE(dwFlags);
  if (collection != 0 && collection != 0xFFFF) return scope.Finish(DI_OK);
  std::span<const DeviceObject> objects = entry_->objects();
  for (size_t i = 0; i < objects.size(); ++i) {
    const DeviceObject& object = objects[i];
    if (kinds != 0 && !(object.typeFlags & kinds)) continue;
    if ((object.typeFlags & attributes) != attributes) continue;
    DIDEVICEOBJECTINSTANCEA instance;
    instance.dwSize = sizeof(instance);
    FillObjectInstance(i, &instance, sizeof(instance));
    if (lpCallback(&instance, pvRef) == DIENUM_STOP) break;
  }
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::GetObjectInfo(LPDIDEVICEOBJECTINSTANCEA pdidoi, DWORD dwObj, DWORD dwHow) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::GetObjectInfo, deviceId(), serial_, noEffect);
  scope.record().flags = dwHow;
  scope.record().value = dwObj;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (pdidoi == nullptr ||
      (pdidoi->dwSize != sizeof(DIDEVICEOBJECTINSTANCEA) && pdidoi->dwSize != sizeof(DIDEVICEOBJECTINSTANCE_DX3A)) ||
      dwHow == DIPH_DEVICE || dwHow > DIPH_BYUSAGE) {
    return scope.Finish(DIERR_INVALIDPARAM);
  }
  int object = FindObject(dwObj, dwHow);
  if (object < 0) return scope.Finish(DIERR_OBJECTNOTFOUND);
  FillObjectInstance(static_cast<size_t>(object), pdidoi, pdidoi->dwSize);
  return scope.Finish(DI_OK);
}

// --- Device information

HRESULT STDMETHODCALLTYPE Device::GetCapabilities(LPDIDEVCAPS lpDIDevCaps) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::GetCapabilities, deviceId(), serial_, noEffect);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (lpDIDevCaps == nullptr ||
      (lpDIDevCaps->dwSize != sizeof(DIDEVCAPS) && lpDIDevCaps->dwSize != sizeof(DIDEVCAPS_DX3))) {
    return scope.Finish(DIERR_INVALIDPARAM);
  }
  const DeviceDescription& d = entry_->description();
  DIDEVCAPS caps{};
  caps.dwSize = lpDIDevCaps->dwSize;
  if (entry_->attached()) caps.dwFlags |= DIDC_ATTACHED;
  // A HID device's data comes through a user-mode interface: DirectInput marks it emulated.
  if (d.devType & DIDEVTYPE_HID) caps.dwFlags |= DIDC_EMULATED;
  if (d.needsPolling) caps.dwFlags |= DIDC_POLLEDDEVICE | DIDC_POLLEDDATAFORMAT;
  if (d.forceFeedback) {
    caps.dwFlags |= DIDC_FORCEFEEDBACK | DIDC_FFATTACK | DIDC_FFFADE | DIDC_SATURATION | DIDC_POSNEGCOEFFICIENTS |
                    DIDC_POSNEGSATURATION | DIDC_DEADBAND | DIDC_STARTDELAY;
    caps.dwFFSamplePeriod = 1000;
    caps.dwFFMinTimeResolution = 1000;
    caps.dwFFDriverVersion = 1;
  }
  caps.dwDevType = d.devType;
  for (const DeviceObject& object : entry_->objects()) {
    switch (object.Class()) {
      case ObjectClass::Axis:
        ++caps.dwAxes;
        break;
      case ObjectClass::Button:
        ++caps.dwButtons;
        break;
      case ObjectClass::Pov:
        ++caps.dwPOVs;
        break;
    }
  }
  caps.dwFirmwareRevision = 1;
  caps.dwHardwareRevision = 1;
  std::memcpy(lpDIDevCaps, &caps, lpDIDevCaps->dwSize);
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::GetDeviceInfo(LPDIDEVICEINSTANCEA pdidi) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::GetDeviceInfo, deviceId(), serial_, noEffect);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (pdidi == nullptr ||
      (pdidi->dwSize != sizeof(DIDEVICEINSTANCEA) && pdidi->dwSize != sizeof(DIDEVICEINSTANCE_DX3A))) {
    return scope.Finish(DIERR_INVALIDPARAM);
  }
  FillDeviceInstance(*entry_, pdidi, pdidi->dwSize);
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::RunControlPanel(HWND, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::RunControlPanel, deviceId(), serial_, noEffect);
  scope.record().flags = dwFlags;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(DIERR_UNSUPPORTED);
}

HRESULT STDMETHODCALLTYPE Device::Initialize(HINSTANCE hinst, DWORD dwVersion, REFGUID rguid) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::Initialize, deviceId(), serial_, noEffect);
  scope.record().flags = dwVersion;
  scope.record().guid = rguid;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (hinst == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  if (dwVersion != DIRECTINPUT_VERSION) {
    return scope.Finish(dwVersion > DIRECTINPUT_VERSION ? DIERR_OLDDIRECTINPUTVERSION : DIERR_BETADIRECTINPUTVERSION);
  }
  if (acquired_) return scope.Finish(DIERR_ACQUIRED);
  // Created for one device already: the same one again changes nothing.
  if (IsEqualGUID(rguid, entry_->description().instanceGuid)) return scope.Finish(S_FALSE);
  return scope.Finish(DIERR_ALREADYINITIALIZED);
}

// --- Unsupported: devices here have no output reports, effect files or action maps

HRESULT STDMETHODCALLTYPE Device::SendDeviceData(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD fl) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::SendDeviceData, deviceId(), serial_, noEffect);
  scope.record().flags = fl;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(DIERR_UNSUPPORTED);
}

HRESULT STDMETHODCALLTYPE Device::EnumEffectsInFile(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::EnumEffectsInFile, deviceId(), serial_, noEffect);
  scope.record().flags = dwFlags;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(DIERR_UNSUPPORTED);
}

HRESULT STDMETHODCALLTYPE Device::WriteEffectToFile(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::WriteEffectToFile, deviceId(), serial_, noEffect);
  scope.record().flags = dwFlags;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(DIERR_UNSUPPORTED);
}

HRESULT STDMETHODCALLTYPE Device::BuildActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::BuildActionMap, deviceId(), serial_, noEffect);
  scope.record().flags = dwFlags;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(DIERR_UNSUPPORTED);
}

HRESULT STDMETHODCALLTYPE Device::SetActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::SetActionMap, deviceId(), serial_, noEffect);
  scope.record().flags = dwFlags;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(DIERR_UNSUPPORTED);
}

HRESULT STDMETHODCALLTYPE Device::GetImageInfo(LPDIDEVICEIMAGEINFOHEADERA) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::GetImageInfo, deviceId(), serial_, noEffect);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(DIERR_UNSUPPORTED);
}

}  // namespace host::dinput

// GetProperty and SetProperty. The predefined properties arrive as small integers in the
// GUID reference's address; a real GUID names a property no device here has.
#include <cstdint>
#include <cstdio>

#include "host/dinput/api_lock.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device.h"
#include "host/dinput/text_fields.h"

namespace host::dinput {
namespace {

// The class GUID of HID devices and of the system keyboard and mouse classes.
const GUID hidClassGuid = {0x745A17A0, 0x74D3, 0x11D0, {0xB6, 0xFE, 0x00, 0xA0, 0xC9, 0x0F, 0x57, 0xDA}};
const GUID keyboardClassGuid = {0x4D36E96B, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
const GUID mouseClassGuid = {0x4D36E96F, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

enum : DWORD {
  bufferSize = 1,
  axisMode = 2,
  granularity = 3,
  range = 4,
  deadZone = 5,
  saturation = 6,
  ffGain = 7,
  ffLoad = 8,
  autoCenter = 9,
  calibrationMode = 10,
  guidAndPath = 12,
  instanceName = 13,
  productName = 14,
  joystickId = 15,
  physicalRange = 18,
  logicalRange = 19,
  vidPid = 24,
};

DWORD PropertyNumber(REFGUID guid) {
  uintptr_t address = reinterpret_cast<uintptr_t>(&guid);
  return address <= 0xFFFF ? static_cast<DWORD>(address) : 0;
}

// The structure size a property travels in, 0 for a property not supported here.
DWORD StructureSize(DWORD property) {
  switch (property) {
    case bufferSize:
    case axisMode:
    case granularity:
    case deadZone:
    case saturation:
    case ffGain:
    case ffLoad:
    case autoCenter:
    case calibrationMode:
    case joystickId:
    case vidPid:
      return sizeof(DIPROPDWORD);
    case range:
    case physicalRange:
    case logicalRange:
      return sizeof(DIPROPRANGE);
    case instanceName:
    case productName:
      return sizeof(DIPROPSTRING);
    case guidAndPath:
      return sizeof(DIPROPGUIDANDPATH);
    default:
      return 0;
  }
}

bool ReadOnly(DWORD property) {
  switch (property) {
    case granularity:
    case ffLoad:
    case guidAndPath:
    case joystickId:
    case physicalRange:
    case logicalRange:
    case vidPid:
      return true;
    default:
      return false;
  }
}

enum class Target { Device, Object, Either };

Target TargetOf(DWORD property, bool setting) {
  switch (property) {
    case granularity:
    case physicalRange:
    case logicalRange:
      return Target::Object;
    case range:
    case deadZone:
    case saturation:
    case calibrationMode:
      // Setting may name every axis at once.
      return setting ? Target::Either : Target::Object;
    default:
      return Target::Device;
  }
}

void LogHeader(LoggedProperty* out, DWORD property, const DIPROPHEADER* header) {
  out->property = property;
  if (header == nullptr) return;
  out->dwSize = header->dwSize;
  out->dwHeaderSize = header->dwHeaderSize;
  out->dwObj = header->dwObj;
  out->dwHow = header->dwHow;
}

}  // namespace

HRESULT Device::PropertyTarget(const DIPROPHEADER& header, DWORD expectedSize, int* object) const {
  if (header.dwHeaderSize != sizeof(DIPROPHEADER) || header.dwSize != expectedSize) return DIERR_INVALIDPARAM;
  if (header.dwHow == DIPH_DEVICE) {
    if (header.dwObj != 0) return DIERR_INVALIDPARAM;
    *object = -1;
    return DI_OK;
  }
  if (header.dwHow > DIPH_BYUSAGE) return DIERR_INVALIDPARAM;
  *object = FindObject(header.dwObj, header.dwHow);
  return *object < 0 ? DIERR_OBJECTNOTFOUND : DI_OK;
}

HRESULT STDMETHODCALLTYPE Device::GetProperty(REFGUID rguidProp, LPDIPROPHEADER pdiph) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::GetProperty, deviceId(), serial_, noEffect);
  DWORD property = PropertyNumber(rguidProp);
  LogHeader(&scope.record().property, property, pdiph);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(GetPropertyImpl(property, pdiph, scope));
}

HRESULT STDMETHODCALLTYPE Device::SetProperty(REFGUID rguidProp, LPCDIPROPHEADER pdiph) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::SetProperty, deviceId(), serial_, noEffect);
  DWORD property = PropertyNumber(rguidProp);
  LoggedProperty& logged = scope.record().property;
  LogHeader(&logged, property, pdiph);
  if (pdiph != nullptr && pdiph->dwSize == StructureSize(property)) {
    if (pdiph->dwSize == sizeof(DIPROPDWORD)) logged.data = reinterpret_cast<const DIPROPDWORD*>(pdiph)->dwData;
    if (pdiph->dwSize == sizeof(DIPROPRANGE)) {
      logged.min = reinterpret_cast<const DIPROPRANGE*>(pdiph)->lMin;
      logged.max = reinterpret_cast<const DIPROPRANGE*>(pdiph)->lMax;
    }
  }
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(SetPropertyImpl(property, pdiph, scope));
}

HRESULT Device::GetPropertyImpl(DWORD property, LPDIPROPHEADER pdiph, CallScope& scope) {
  if (pdiph == nullptr) return DIERR_INVALIDPARAM;
  DWORD size = StructureSize(property);
  if (size == 0) return DIERR_UNSUPPORTED;
  Target target = TargetOf(property, false);
  int object = -1;
  HRESULT found = PropertyTarget(*pdiph, size, &object);
  if (FAILED(found)) return found;
  if (target == Target::Device && object >= 0) return DIERR_INVALIDPARAM;
  if (target == Target::Object && object < 0) return DIERR_INVALIDPARAM;

  const DeviceDescription& d = entry_->description();
  const DeviceObject* o = object >= 0 ? &entry_->objects()[static_cast<size_t>(object)] : nullptr;
  bool absoluteAxis = o != nullptr && (o->typeFlags & DIDFT_ABSAXIS);
  bool axis = o != nullptr && o->Class() == ObjectClass::Axis;
  auto* dword = reinterpret_cast<DIPROPDWORD*>(pdiph);
  auto* rangeOut = reinterpret_cast<DIPROPRANGE*>(pdiph);
  LoggedProperty& logged = scope.record().property;

  switch (property) {
    case bufferSize:
      dword->dwData = bufferSize_;
      break;
    case axisMode:
      dword->dwData = relativeAxes_ ? DIPROPAXISMODE_REL : DIPROPAXISMODE_ABS;
      break;
    case granularity:
      if (axis) {
        dword->dwData = 1;
      } else if (o->Class() == ObjectClass::Pov) {
        dword->dwData = 45 * DI_DEGREES;  // eight-way hats
      } else {
        return DIERR_UNSUPPORTED;
      }
      break;
    case range:
      if (!absoluteAxis) return DIERR_UNSUPPORTED;
      rangeOut->lMin = settings_[static_cast<size_t>(object)].rangeMin;
      rangeOut->lMax = settings_[static_cast<size_t>(object)].rangeMax;
      break;
    case deadZone:
    case saturation:
    case calibrationMode: {
      if (!axis) return DIERR_UNSUPPORTED;
      const ObjectSettings& s = settings_[static_cast<size_t>(object)];
      dword->dwData = property == deadZone     ? s.deadZone
                      : property == saturation ? s.saturation
                                               : (s.raw ? DIPROPCALIBRATIONMODE_RAW : DIPROPCALIBRATIONMODE_COOKED);
      break;
    }
    case ffGain:
      if (!d.forceFeedback) return DIERR_UNSUPPORTED;
      dword->dwData = entry_->gain();
      break;
    case ffLoad: {
      if (!d.forceFeedback) return DIERR_UNSUPPORTED;
      HRESULT access = EffectAccess();
      if (FAILED(access)) return access;
      entry_->Sync();
      int capacity = entry_->capacity();
      dword->dwData = capacity > 0 ? static_cast<DWORD>(entry_->DownloadedCount() * 100 / capacity) : 0;
      break;
    }
    case autoCenter:
      if (!d.forceFeedback) return DIERR_UNSUPPORTED;
      dword->dwData = entry_->autoCenter() ? DIPROPAUTOCENTER_ON : DIPROPAUTOCENTER_OFF;
      break;
    case instanceName:
    case productName: {
      auto* text = reinterpret_cast<DIPROPSTRING*>(pdiph);
      CopyWideText(text->wsz, MAX_PATH, property == instanceName ? d.instanceName : d.productName);
      break;
    }
    case guidAndPath: {
      auto* out = reinterpret_cast<DIPROPGUIDANDPATH*>(pdiph);
      bool hid = (d.devType & DIDEVTYPE_HID) != 0;
      out->guidClass = hid                                 ? hidClassGuid
                       : d.kind == DeviceKind::Keyboard ? keyboardClassGuid
                                                        : mouseClassGuid;
      // A made-up path in the shape Windows gives HID device interfaces.
      char path[MAX_PATH];
      std::snprintf(path, sizeof(path), "\\\\?\\hid#vid_%04x&pid_%04x#%u#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                    d.vendorId, d.productId, static_cast<unsigned>(entry_->id()));
      CopyWideText(out->wszPath, MAX_PATH, path);
      break;
    }
    case joystickId:
      if (entry_->joystickId() < 0) return DIERR_UNSUPPORTED;
      dword->dwData = static_cast<DWORD>(entry_->joystickId());
      break;
    case vidPid:
      if (!(d.devType & DIDEVTYPE_HID)) return DIERR_UNSUPPORTED;
      dword->dwData = static_cast<DWORD>(MAKELONG(d.vendorId, d.productId));
      break;
    case physicalRange:
    case logicalRange: {
      if (property == logicalRange && entry_->logicalRangeNotImplemented()) return E_NOTIMPL;
      if (!absoluteAxis) return DIERR_UNSUPPORTED;
      AxisRange r = entry_->model().LogicalRange(static_cast<size_t>(object));
      rangeOut->lMin = r.min;
      rangeOut->lMax = r.max;
      break;
    }
    default:
      return DIERR_UNSUPPORTED;
  }
  if (size == sizeof(DIPROPDWORD)) logged.data = dword->dwData;
  if (size == sizeof(DIPROPRANGE)) {
    logged.min = rangeOut->lMin;
    logged.max = rangeOut->lMax;
  }
  return DI_OK;
}

HRESULT Device::SetPropertyImpl(DWORD property, LPCDIPROPHEADER pdiph, CallScope&) {
  if (pdiph == nullptr) return DIERR_INVALIDPARAM;
  DWORD size = StructureSize(property);
  if (size == 0) return DIERR_UNSUPPORTED;
  Target target = TargetOf(property, true);
  int object = -1;
  HRESULT found = PropertyTarget(*pdiph, size, &object);
  if (FAILED(found)) return found;
  if (ReadOnly(property)) return DIERR_READONLY;
  if (target == Target::Device && object >= 0) return DIERR_INVALIDPARAM;
  if (target == Target::Object && object < 0) return DIERR_INVALIDPARAM;

  const DeviceDescription& d = entry_->description();
  std::span<const DeviceObject> objects = entry_->objects();
  auto* dword = reinterpret_cast<const DIPROPDWORD*>(pdiph);
  auto* rangeIn = reinterpret_cast<const DIPROPRANGE*>(pdiph);

  // Per-axis settings apply to the one axis named, or to every axis for DIPH_DEVICE.
  auto forAxes = [&](bool absoluteOnly, auto&& apply) -> HRESULT {
    if (object >= 0) {
      const DeviceObject& o = objects[static_cast<size_t>(object)];
      if (o.Class() != ObjectClass::Axis || (absoluteOnly && !(o.typeFlags & DIDFT_ABSAXIS))) return DIERR_UNSUPPORTED;
      apply(settings_[static_cast<size_t>(object)]);
      return DI_OK;
    }
    for (size_t i = 0; i < objects.size(); ++i) {
      if (objects[i].Class() != ObjectClass::Axis || (absoluteOnly && !(objects[i].typeFlags & DIDFT_ABSAXIS))) continue;
      apply(settings_[i]);
    }
    return DI_OK;
  };

  switch (property) {
    case bufferSize:
      if (acquired_) return DIERR_ACQUIRED;
      bufferSize_ = dword->dwData;
      return DI_OK;
    case axisMode:
      if (acquired_) return DIERR_ACQUIRED;
      if (dword->dwData != DIPROPAXISMODE_ABS && dword->dwData != DIPROPAXISMODE_REL) return DIERR_INVALIDPARAM;
      relativeAxes_ = dword->dwData == DIPROPAXISMODE_REL;
      return DI_OK;
    case range: {
      LONG low = rangeIn->lMin;
      LONG high = rangeIn->lMax;
      if (low >= high) return DIERR_INVALIDPARAM;
      return forAxes(true, [&](ObjectSettings& s) {
        s.rangeMin = low;
        s.rangeMax = high;
      });
    }
    case deadZone:
    case saturation: {
      DWORD value = dword->dwData;
      if (value > 10000) return DIERR_INVALIDPARAM;
      return forAxes(false, [&](ObjectSettings& s) { (property == deadZone ? s.deadZone : s.saturation) = value; });
    }
    case calibrationMode: {
      DWORD value = dword->dwData;
      if (value != DIPROPCALIBRATIONMODE_COOKED && value != DIPROPCALIBRATIONMODE_RAW) return DIERR_INVALIDPARAM;
      return forAxes(false, [&](ObjectSettings& s) { s.raw = value == DIPROPCALIBRATIONMODE_RAW; });
    }
    case ffGain:
      if (!d.forceFeedback) return DIERR_UNSUPPORTED;
      if (dword->dwData > DI_FFNOMINALMAX) return DIERR_INVALIDPARAM;
      entry_->Sync();
      entry_->SetGain(dword->dwData);
      return DI_OK;
    case autoCenter:
      if (!d.forceFeedback) return DIERR_UNSUPPORTED;
      if (dword->dwData != DIPROPAUTOCENTER_OFF && dword->dwData != DIPROPAUTOCENTER_ON) return DIERR_INVALIDPARAM;
      entry_->Sync();
      entry_->SetAutoCenter(dword->dwData == DIPROPAUTOCENTER_ON);
      return DI_OK;
    case instanceName:
    case productName: {
      const auto* text = reinterpret_cast<const DIPROPSTRING*>(pdiph);
      std::string name = NarrowText(text->wsz, MAX_PATH);
      if (property == instanceName) {
        entry_->SetInstanceName(name);
      } else {
        entry_->SetProductName(name);
      }
      return DI_OK;
    }
    default:
      return DIERR_UNSUPPORTED;
  }
}

}  // namespace host::dinput

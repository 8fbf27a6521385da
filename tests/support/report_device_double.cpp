#include "support/report_device_double.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace test_support {
namespace {

void CopyName(char* out, size_t room, const char* name) {
  if (room == 0) return;
  size_t length = name == nullptr ? 0 : std::min(std::strlen(name), room - 1);
  if (length > 0) std::memcpy(out, name, length);
  out[length] = '\0';
}

// Everything after dwSize, so a shorter structure gets the leading part and its own size.
template <class T>
void CopyKeepingSize(T* out, const T& from, DWORD size) {
  std::memcpy(reinterpret_cast<char*>(out) + sizeof(DWORD), reinterpret_cast<const char*>(&from) + sizeof(DWORD),
              size - sizeof(DWORD));
}

// The structure size DirectInput documents for the predefined properties the report
// reads; 0 for the others, which take whatever the double can fill.
DWORD DocumentedSize(uintptr_t property) {
  switch (property) {
    case 1:   // BUFFERSIZE
    case 2:   // AXISMODE
    case 3:   // GRANULARITY
    case 5:   // DEADZONE
    case 6:   // SATURATION
    case 7:   // FFGAIN
    case 8:   // FFLOAD
    case 9:   // AUTOCENTER
    case 10:  // CALIBRATIONMODE
      return sizeof(DIPROPDWORD);
    case 4:   // RANGE
    case 18:  // PHYSICALRANGE
    case 19:  // LOGICALRANGE
      return sizeof(DIPROPRANGE);
    case 11:  // CALIBRATION
      return sizeof(DIPROPCAL);
    case 21:  // CPOINTS
      return sizeof(DIPROPCPOINTS);
    default:
      return 0;
  }
}

bool Fillable(DWORD size) {
  return size == sizeof(DIPROPDWORD) || size == sizeof(DIPROPRANGE) || size == sizeof(DIPROPCAL) ||
         size == sizeof(DIPROPCPOINTS);
}

void Fill(LPDIPROPHEADER pdiph, const PropertyAnswer& answer) {
  switch (pdiph->dwSize) {
    case sizeof(DIPROPDWORD):
      reinterpret_cast<DIPROPDWORD*>(pdiph)->dwData = answer.dwData;
      break;
    case sizeof(DIPROPRANGE): {
      auto* range = reinterpret_cast<DIPROPRANGE*>(pdiph);
      range->lMin = answer.lMin;
      range->lMax = answer.lMax;
      break;
    }
    case sizeof(DIPROPCAL): {
      auto* calibration = reinterpret_cast<DIPROPCAL*>(pdiph);
      calibration->lMin = answer.lMin;
      calibration->lCenter = answer.lCenter;
      calibration->lMax = answer.lMax;
      break;
    }
    case sizeof(DIPROPCPOINTS): {
      auto* points = reinterpret_cast<DIPROPCPOINTS*>(pdiph);
      points->dwCPointsNum = static_cast<DWORD>(answer.points.size());
      size_t written = std::min<size_t>(answer.points.size(), MAXCPOINTSNUM);
      for (size_t i = 0; i < written; ++i) points->cp[i] = answer.points[i];
      break;
    }
  }
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const PropertyCall& call) {
  return out << "{property " << call.property << ", dwSize " << call.dwSize << ", dwHeaderSize " << call.dwHeaderSize
             << ", dwObj 0x" << std::hex << call.dwObj << std::dec << ", dwHow " << call.dwHow << "}";
}

// --- ReportEffectDouble

HRESULT STDMETHODCALLTYPE ReportEffectDouble::QueryInterface(REFIID riid, void** ppvObject) {
  if (ppvObject == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectInputEffect)) {
    ++references_;
    *ppvObject = static_cast<IDirectInputEffect*>(this);
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ReportEffectDouble::AddRef() { return ++references_; }
ULONG STDMETHODCALLTYPE ReportEffectDouble::Release() { return --references_; }

HRESULT STDMETHODCALLTYPE ReportEffectDouble::GetEffectGuid(LPGUID pguid) {
  if (pguid == nullptr) return DIERR_INVALIDPARAM;
  if (FAILED(guidResult)) return guidResult;
  *pguid = guid;
  return guidResult;
}

HRESULT STDMETHODCALLTYPE ReportEffectDouble::GetEffectStatus(LPDWORD pdwFlags) {
  if (pdwFlags == nullptr) return DIERR_INVALIDPARAM;
  if (FAILED(statusResult)) return statusResult;
  *pdwFlags = status;
  return statusResult;
}

HRESULT STDMETHODCALLTYPE ReportEffectDouble::GetParameters(LPDIEFFECT peff, DWORD dwFlags) {
  ++parametersCalls;
  lastParametersCall = ParametersCall{};
  lastParametersCall.mask = dwFlags;
  if (peff != nullptr) {
    lastParametersCall.hadEffect = true;
    lastParametersCall.dwSize = peff->dwSize;
    lastParametersCall.dwFlags = peff->dwFlags;
    lastParametersCall.cAxes = peff->cAxes;
    lastParametersCall.cbTypeSpecificParams = peff->cbTypeSpecificParams;
    lastParametersCall.hadEnvelope = peff->lpEnvelope != nullptr;
  }
  if (peff == nullptr || peff->dwSize != sizeof(DIEFFECT) || (dwFlags & ~DIEP_ALLPARAMS) != 0) {
    return DIERR_INVALIDPARAM;
  }
  if (FAILED(parametersResult)) return parametersResult;

  // A short array gets the size it needs and nothing else.
  DWORD axisCount = static_cast<DWORD>(std::max(axes.size(), directions.size()));
  DWORD blockSize = static_cast<DWORD>(typeSpecific.size());
  bool wantsAxes = (dwFlags & (DIEP_AXES | DIEP_DIRECTION)) != 0;
  bool wantsBlock = (dwFlags & DIEP_TYPESPECIFICPARAMS) != 0;
  bool tooSmall = false;
  if (wantsAxes && peff->cAxes < axisCount) {
    peff->cAxes = axisCount;
    tooSmall = true;
  }
  if (wantsBlock && peff->cbTypeSpecificParams < blockSize) {
    peff->cbTypeSpecificParams = blockSize;
    tooSmall = true;
  }
  if (tooSmall) return DIERR_MOREDATA;
  if (((dwFlags & DIEP_AXES) && axisCount > 0 && peff->rgdwAxes == nullptr) ||
      ((dwFlags & DIEP_DIRECTION) && axisCount > 0 && peff->rglDirection == nullptr) ||
      (wantsBlock && blockSize > 0 && peff->lpvTypeSpecificParams == nullptr) ||
      ((dwFlags & DIEP_ENVELOPE) && hasEnvelope &&
       (peff->lpEnvelope == nullptr || peff->lpEnvelope->dwSize != sizeof(DIENVELOPE)))) {
    return DIERR_INVALIDPARAM;
  }

  if (flags.has_value()) peff->dwFlags = *flags;
  if (dwFlags & DIEP_DURATION) peff->dwDuration = dwDuration;
  if (dwFlags & DIEP_SAMPLEPERIOD) peff->dwSamplePeriod = dwSamplePeriod;
  if (dwFlags & DIEP_GAIN) peff->dwGain = dwGain;
  if (dwFlags & DIEP_TRIGGERBUTTON) peff->dwTriggerButton = dwTriggerButton;
  if (dwFlags & DIEP_TRIGGERREPEATINTERVAL) peff->dwTriggerRepeatInterval = dwTriggerRepeatInterval;
  if (dwFlags & DIEP_STARTDELAY) peff->dwStartDelay = dwStartDelay;
  if (dwFlags & DIEP_AXES) {
    for (DWORD i = 0; i < axisCount; ++i) peff->rgdwAxes[i] = i < axes.size() ? axes[i] : 0;
  }
  if (dwFlags & DIEP_DIRECTION) {
    for (DWORD i = 0; i < axisCount; ++i) peff->rglDirection[i] = i < directions.size() ? directions[i] : 0;
  }
  if (wantsAxes) peff->cAxes = axisCount;
  if (dwFlags & DIEP_ENVELOPE) {
    if (hasEnvelope) {
      *peff->lpEnvelope = envelope;
      peff->lpEnvelope->dwSize = sizeof(DIENVELOPE);
    } else {
      peff->lpEnvelope = nullptr;
    }
  }
  if (wantsBlock) {
    if (blockSize > 0) std::memcpy(peff->lpvTypeSpecificParams, typeSpecific.data(), blockSize);
    peff->cbTypeSpecificParams = blockSize;
  }
  return parametersResult;
}

HRESULT STDMETHODCALLTYPE ReportEffectDouble::Initialize(HINSTANCE, DWORD, REFGUID) { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportEffectDouble::SetParameters(LPCDIEFFECT, DWORD) { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportEffectDouble::Start(DWORD, DWORD) { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportEffectDouble::Stop() { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportEffectDouble::Download() { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportEffectDouble::Unload() { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportEffectDouble::Escape(LPDIEFFESCAPE) { return DIERR_UNSUPPORTED; }

// --- ReportDeviceDouble

HRESULT STDMETHODCALLTYPE ReportDeviceDouble::QueryInterface(REFIID riid, void** ppvObject) {
  if (ppvObject == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectInputDevice8A)) {
    ++references_;
    *ppvObject = static_cast<IDirectInputDevice8A*>(this);
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ReportDeviceDouble::AddRef() { return ++references_; }
ULONG STDMETHODCALLTYPE ReportDeviceDouble::Release() { return --references_; }

HRESULT STDMETHODCALLTYPE ReportDeviceDouble::GetDeviceInfo(LPDIDEVICEINSTANCEA pdidi) {
  if (pdidi == nullptr ||
      (pdidi->dwSize != sizeof(DIDEVICEINSTANCEA) && pdidi->dwSize != sizeof(DIDEVICEINSTANCE_DX3A))) {
    return DIERR_INVALIDPARAM;
  }
  if (FAILED(deviceInfoResult)) return deviceInfoResult;
  CopyKeepingSize(pdidi, deviceInfo, pdidi->dwSize);
  return deviceInfoResult;
}

HRESULT STDMETHODCALLTYPE ReportDeviceDouble::GetCapabilities(LPDIDEVCAPS lpDIDevCaps) {
  if (lpDIDevCaps == nullptr ||
      (lpDIDevCaps->dwSize != sizeof(DIDEVCAPS) && lpDIDevCaps->dwSize != sizeof(DIDEVCAPS_DX3))) {
    return DIERR_INVALIDPARAM;
  }
  if (FAILED(capsResult)) return capsResult;
  CopyKeepingSize(lpDIDevCaps, caps, lpDIDevCaps->dwSize);
  return capsResult;
}

HRESULT STDMETHODCALLTYPE ReportDeviceDouble::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA lpCallback, LPVOID pvRef,
                                                          DWORD dwFlags) {
  enumObjectsFilters.push_back(dwFlags);
  if (lpCallback == nullptr) return DIERR_INVALIDPARAM;
  const EnumObjectsFailure* failure = nullptr;
  for (const EnumObjectsFailure& scripted : enumObjectsFailures) {
    if (scripted.filter == dwFlags) {
      failure = &scripted;
      break;
    }
  }
  DWORD kinds = dwFlags & 0xFF;
  size_t delivered = 0;
  for (const DIDEVICEOBJECTINSTANCEA& object : objects) {
    if (kinds != 0 && (object.dwType & kinds) == 0) continue;
    if (failure != nullptr && delivered == failure->deliveredBefore) return failure->code;
    // A copy: the callback cannot change the script through its pointer.
    DIDEVICEOBJECTINSTANCEA instance = object;
    ++delivered;
    if (lpCallback(&instance, pvRef) == DIENUM_STOP) return DI_OK;
  }
  return failure != nullptr ? failure->code : DI_OK;
}

void ReportDeviceDouble::AnswerDeviceProperty(REFGUID property, PropertyAnswer answer) {
  propertyAnswers[PropertyKey{PropertyId(property), 0, DIPH_DEVICE}] = std::move(answer);
}

void ReportDeviceDouble::AnswerObjectProperty(REFGUID property, DWORD dwType, PropertyAnswer answer) {
  propertyAnswers[PropertyKey{PropertyId(property), dwType, DIPH_BYID}] = std::move(answer);
}

void ReportDeviceDouble::AnswerEveryObjectProperty(REFGUID property, PropertyAnswer answer) {
  everyObjectAnswers[PropertyId(property)] = std::move(answer);
}

HRESULT STDMETHODCALLTYPE ReportDeviceDouble::GetProperty(REFGUID rguidProp, LPDIPROPHEADER pdiph) {
  uintptr_t property = PropertyId(rguidProp);
  PropertyCall call;
  call.property = property;
  if (pdiph != nullptr) {
    call.dwSize = pdiph->dwSize;
    call.dwHeaderSize = pdiph->dwHeaderSize;
    call.dwObj = pdiph->dwObj;
    call.dwHow = pdiph->dwHow;
  }
  propertyCalls.push_back(call);
  return AnswerProperty(property, pdiph);
}

HRESULT ReportDeviceDouble::AnswerProperty(uintptr_t property, LPDIPROPHEADER pdiph) const {
  // The header is checked before the device is asked, as DirectInput does.
  if (pdiph == nullptr || pdiph->dwHeaderSize != sizeof(DIPROPHEADER) || pdiph->dwHow > DIPH_BYUSAGE ||
      (pdiph->dwHow == DIPH_DEVICE && pdiph->dwObj != 0)) {
    return DIERR_INVALIDPARAM;
  }
  DWORD documented = DocumentedSize(property);
  if (documented != 0 && pdiph->dwSize != documented) return DIERR_INVALIDPARAM;

  const PropertyAnswer* answer = nullptr;
  auto exact = propertyAnswers.find(PropertyKey{property, pdiph->dwObj, pdiph->dwHow});
  if (exact != propertyAnswers.end()) {
    answer = &exact->second;
  } else if (pdiph->dwHow != DIPH_DEVICE) {
    auto every = everyObjectAnswers.find(property);
    if (every != everyObjectAnswers.end()) answer = &every->second;
  }
  if (answer == nullptr) return DIERR_UNSUPPORTED;
  if (FAILED(answer->result)) return answer->result;
  if (!Fillable(pdiph->dwSize)) return DIERR_INVALIDPARAM;
  Fill(pdiph, *answer);
  return answer->result;
}

HRESULT STDMETHODCALLTYPE ReportDeviceDouble::GetForceFeedbackState(LPDWORD pdwOut) {
  if (pdwOut == nullptr) return DIERR_INVALIDPARAM;
  if (FAILED(ffStateResult)) return ffStateResult;
  *pdwOut = ffState;
  return ffStateResult;
}

HRESULT STDMETHODCALLTYPE ReportDeviceDouble::EnumEffects(LPDIENUMEFFECTSCALLBACKA lpCallback, LPVOID pvRef,
                                                          DWORD dwEffType) {
  if (lpCallback == nullptr) return DIERR_INVALIDPARAM;
  DWORD wanted = DIEFT_GETTYPE(dwEffType);
  for (const DIEFFECTINFOA& effect : supportedEffects) {
    if (wanted != DIEFT_ALL && DIEFT_GETTYPE(effect.dwEffType) != wanted) continue;
    DIEFFECTINFOA info = effect;
    if (lpCallback(&info, pvRef) == DIENUM_STOP) break;
  }
  return enumEffectsResult;
}

HRESULT STDMETHODCALLTYPE ReportDeviceDouble::GetEffectInfo(LPDIEFFECTINFOA pdei, REFGUID rguid) {
  if (pdei == nullptr || pdei->dwSize != sizeof(DIEFFECTINFOA)) return DIERR_INVALIDPARAM;
  if (FAILED(effectInfoResult)) return effectInfoResult;
  for (const DIEFFECTINFOA& effect : supportedEffects) {
    if (!IsEqualGUID(effect.guid, rguid)) continue;
    CopyKeepingSize(pdei, effect, sizeof(DIEFFECTINFOA));
    return effectInfoResult;
  }
  return DIERR_DEVICENOTREG;
}

HRESULT STDMETHODCALLTYPE ReportDeviceDouble::EnumCreatedEffectObjects(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK lpCallback,
                                                                       LPVOID pvRef, DWORD fl) {
  if (lpCallback == nullptr || fl != 0) return DIERR_INVALIDPARAM;
  for (ReportEffectDouble* effect : createdEffects) {
    if (lpCallback(effect, pvRef) == DIENUM_STOP) break;
  }
  return enumCreatedResult;
}

HRESULT STDMETHODCALLTYPE ReportDeviceDouble::CreateEffect(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT* ppdeff,
                                                           LPUNKNOWN) {
  if (ppdeff != nullptr) *ppdeff = nullptr;  // COM's rule for a failed out-pointer
  return DIERR_UNSUPPORTED;
}

HRESULT STDMETHODCALLTYPE ReportDeviceDouble::SetProperty(REFGUID, LPCDIPROPHEADER) { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::Acquire() { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::Unacquire() { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::GetDeviceState(DWORD, LPVOID) { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::GetDeviceData(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD, DWORD) {
  return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::SetDataFormat(LPCDIDATAFORMAT) { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::SetEventNotification(HANDLE) { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::SetCooperativeLevel(HWND, DWORD) { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::GetObjectInfo(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) {
  return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::RunControlPanel(HWND, DWORD) { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::Initialize(HINSTANCE, DWORD, REFGUID) { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::SendForceFeedbackCommand(DWORD) { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::Escape(LPDIEFFESCAPE) { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::Poll() { return DIERR_UNSUPPORTED; }
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::SendDeviceData(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) {
  return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::EnumEffectsInFile(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD) {
  return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::WriteEffectToFile(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD) {
  return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::BuildActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) {
  return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::SetActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) {
  return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE ReportDeviceDouble::GetImageInfo(LPDIDEVICEIMAGEINFOHEADERA) { return DIERR_UNSUPPORTED; }

// --- Builders

DIDEVICEOBJECTINSTANCEA MakeObject(const char* name, const GUID& type, DWORD ofs, DWORD dwType, DWORD flags) {
  DIDEVICEOBJECTINSTANCEA object{};
  object.dwSize = sizeof(object);
  object.guidType = type;
  object.dwOfs = ofs;
  object.dwType = dwType;
  object.dwFlags = flags;
  CopyName(object.tszName, sizeof(object.tszName), name);
  return object;
}

DIEFFECTINFOA MakeEffectInfo(const GUID& guid, const char* name, DWORD effType, DWORD staticParams,
                             DWORD dynamicParams) {
  DIEFFECTINFOA info{};
  info.dwSize = sizeof(info);
  info.guid = guid;
  info.dwEffType = effType;
  info.dwStaticParams = staticParams;
  info.dwDynamicParams = dynamicParams;
  CopyName(info.tszName, sizeof(info.tszName), name);
  return info;
}

}  // namespace test_support

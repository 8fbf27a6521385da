// A DirectInput device and its created effects whose every answer a test writes directly,
// for the device report's edge cases. The calls the report makes answer as DirectInput
// documents them (sizes checked, nothing written on failure); every other method refuses
// with DIERR_UNSUPPORTED and changes nothing. Reference counts are kept but never delete:
// the test owns both objects.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <vector>

#include "platform/platform.h"

namespace test_support {

// A predefined property's number, or a real property GUID's address: what GetProperty
// tells them apart by.
inline uintptr_t PropertyId(REFGUID property) { return reinterpret_cast<uintptr_t>(&property); }

// What one GetProperty answers. Which members are written depends on the caller's
// dwSize: DIPROPDWORD dwData; DIPROPRANGE lMin and lMax; DIPROPCAL lMin, lCenter, lMax;
// DIPROPCPOINTS the count and the points. A count above MAXCPOINTSNUM is reported as is
// with only the first MAXCPOINTSNUM points written, as from a driver that overstates it.
struct PropertyAnswer {
  HRESULT result = DI_OK;
  DWORD dwData = 0;
  LONG lMin = 0;
  LONG lCenter = 0;
  LONG lMax = 0;
  std::vector<CPOINT> points{};
};

struct PropertyKey {
  uintptr_t property;
  DWORD dwObj;
  DWORD dwHow;
  auto operator<=>(const PropertyKey&) const = default;
};

// One GetProperty call as it arrived.
struct PropertyCall {
  uintptr_t property = 0;
  DWORD dwSize = 0;
  DWORD dwHeaderSize = 0;
  DWORD dwObj = 0;
  DWORD dwHow = 0;
  bool operator==(const PropertyCall&) const = default;
};
std::ostream& operator<<(std::ostream& out, const PropertyCall& call);

// EnumObjects with exactly this filter delivers at most deliveredBefore objects, then
// returns code (unless the callback stopped it first).
struct EnumObjectsFailure {
  DWORD filter;
  HRESULT code;
  size_t deliveredBefore;
};

// One GetParameters call as it arrived (peff's members before anything was written).
struct ParametersCall {
  bool hadEffect = false;  // peff was not null; the members below are zero otherwise
  DWORD dwSize = 0;
  DWORD dwFlags = 0;
  DWORD cAxes = 0;
  DWORD cbTypeSpecificParams = 0;
  bool hadEnvelope = false;
  DWORD mask = 0;
};

class ReportEffectDouble final : public IDirectInputEffect {
 public:
  ReportEffectDouble() = default;
  ReportEffectDouble(const ReportEffectDouble&) = delete;
  ReportEffectDouble& operator=(const ReportEffectDouble&) = delete;
  ~ReportEffectDouble() = default;

  GUID guid{};
  HRESULT guidResult = DI_OK;
  HRESULT statusResult = DI_OK;
  DWORD status = 0;

  // GetParameters. A success code here is returned after writing; a failure instead of it.
  HRESULT parametersResult = DI_OK;
  // The dwFlags reported back; unset leaves the caller's (coordinates and addressing) as asked.
  std::optional<DWORD> flags{};
  DWORD dwDuration = 0;
  DWORD dwSamplePeriod = 0;
  DWORD dwGain = 0;
  DWORD dwTriggerButton = DIEB_NOTRIGGER;
  DWORD dwTriggerRepeatInterval = 0;
  DWORD dwStartDelay = 0;
  // The effect has as many axes as the longer list; the shorter is written padded with zeros.
  std::vector<DWORD> axes{};
  std::vector<LONG> directions{};
  bool hasEnvelope = false;
  DIENVELOPE envelope{};  // its dwSize is not read: the caller's must be sizeof(DIENVELOPE)
  std::vector<uint8_t> typeSpecific{};

  ParametersCall lastParametersCall{};
  size_t parametersCalls = 0;

  ULONG references() const { return references_; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDirectInputEffect
  HRESULT STDMETHODCALLTYPE Initialize(HINSTANCE hinst, DWORD dwVersion, REFGUID rguid) override;
  HRESULT STDMETHODCALLTYPE GetEffectGuid(LPGUID pguid) override;
  HRESULT STDMETHODCALLTYPE GetParameters(LPDIEFFECT peff, DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE SetParameters(LPCDIEFFECT peff, DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE Start(DWORD dwIterations, DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE GetEffectStatus(LPDWORD pdwFlags) override;
  HRESULT STDMETHODCALLTYPE Download() override;
  HRESULT STDMETHODCALLTYPE Unload() override;
  HRESULT STDMETHODCALLTYPE Escape(LPDIEFFESCAPE pesc) override;

 private:
  ULONG references_ = 1;
};

class ReportDeviceDouble final : public IDirectInputDevice8A {
 public:
  ReportDeviceDouble() = default;
  ReportDeviceDouble(const ReportDeviceDouble&) = delete;
  ReportDeviceDouble& operator=(const ReportDeviceDouble&) = delete;
  ~ReportDeviceDouble() = default;

  // GetDeviceInfo and GetCapabilities take the full or the DirectInput 3 size and copy
  // that much, keeping the caller's dwSize.
  HRESULT deviceInfoResult = DI_OK;
  DIDEVICEINSTANCEA deviceInfo{};
  HRESULT capsResult = DI_OK;
  DIDEVCAPS caps{};

  // EnumObjects delivers, in order, the objects with a type bit in the filter's low byte
  // (filter 0, DIDFT_ALL: every object).
  std::vector<DIDEVICEOBJECTINSTANCEA> objects{};
  std::vector<EnumObjectsFailure> enumObjectsFailures{};
  std::vector<DWORD> enumObjectsFilters{};  // each EnumObjects call's filter, in order

  // GetProperty: an answer for the exact key first, then one for every object (any dwHow
  // but DIPH_DEVICE), else DIERR_UNSUPPORTED.
  std::map<PropertyKey, PropertyAnswer> propertyAnswers{};
  std::map<uintptr_t, PropertyAnswer> everyObjectAnswers{};
  std::vector<PropertyCall> propertyCalls{};
  void AnswerDeviceProperty(REFGUID property, PropertyAnswer answer);
  void AnswerObjectProperty(REFGUID property, DWORD dwType, PropertyAnswer answer);  // DIPH_BYID
  void AnswerEveryObjectProperty(REFGUID property, PropertyAnswer answer);

  HRESULT ffStateResult = DI_OK;
  DWORD ffState = 0;

  // EnumEffects delivers every one for DIEFT_ALL, else those of the filter's type (low
  // byte), then returns enumEffectsResult. GetEffectInfo answers from the same list.
  std::vector<DIEFFECTINFOA> supportedEffects{};
  HRESULT enumEffectsResult = DI_OK;
  HRESULT effectInfoResult = DI_OK;  // a failure here is returned instead of the lookup

  // Delivered as they are, without taking references for the callback.
  std::vector<ReportEffectDouble*> createdEffects{};
  HRESULT enumCreatedResult = DI_OK;

  ULONG references() const { return references_; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDirectInputDevice8A
  HRESULT STDMETHODCALLTYPE GetCapabilities(LPDIDEVCAPS lpDIDevCaps) override;
  HRESULT STDMETHODCALLTYPE EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA lpCallback, LPVOID pvRef,
                                        DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE GetProperty(REFGUID rguidProp, LPDIPROPHEADER pdiph) override;
  HRESULT STDMETHODCALLTYPE SetProperty(REFGUID rguidProp, LPCDIPROPHEADER pdiph) override;
  HRESULT STDMETHODCALLTYPE Acquire() override;
  HRESULT STDMETHODCALLTYPE Unacquire() override;
  HRESULT STDMETHODCALLTYPE GetDeviceState(DWORD cbData, LPVOID lpvData) override;
  HRESULT STDMETHODCALLTYPE GetDeviceData(DWORD cbObjectData, LPDIDEVICEOBJECTDATA rgdod, LPDWORD pdwInOut,
                                          DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE SetDataFormat(LPCDIDATAFORMAT lpdf) override;
  HRESULT STDMETHODCALLTYPE SetEventNotification(HANDLE hEvent) override;
  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hwnd, DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE GetObjectInfo(LPDIDEVICEOBJECTINSTANCEA pdidoi, DWORD dwObj, DWORD dwHow) override;
  HRESULT STDMETHODCALLTYPE GetDeviceInfo(LPDIDEVICEINSTANCEA pdidi) override;
  HRESULT STDMETHODCALLTYPE RunControlPanel(HWND hwndOwner, DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE Initialize(HINSTANCE hinst, DWORD dwVersion, REFGUID rguid) override;
  HRESULT STDMETHODCALLTYPE CreateEffect(REFGUID rguid, LPCDIEFFECT lpeff, LPDIRECTINPUTEFFECT* ppdeff,
                                         LPUNKNOWN punkOuter) override;
  HRESULT STDMETHODCALLTYPE EnumEffects(LPDIENUMEFFECTSCALLBACKA lpCallback, LPVOID pvRef, DWORD dwEffType) override;
  HRESULT STDMETHODCALLTYPE GetEffectInfo(LPDIEFFECTINFOA pdei, REFGUID rguid) override;
  HRESULT STDMETHODCALLTYPE GetForceFeedbackState(LPDWORD pdwOut) override;
  HRESULT STDMETHODCALLTYPE SendForceFeedbackCommand(DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE EnumCreatedEffectObjects(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK lpCallback, LPVOID pvRef,
                                                     DWORD fl) override;
  HRESULT STDMETHODCALLTYPE Escape(LPDIEFFESCAPE pesc) override;
  HRESULT STDMETHODCALLTYPE Poll() override;
  HRESULT STDMETHODCALLTYPE SendDeviceData(DWORD cbObjectData, LPCDIDEVICEOBJECTDATA rgdod, LPDWORD pdwInOut,
                                           DWORD fl) override;
  HRESULT STDMETHODCALLTYPE EnumEffectsInFile(LPCSTR lpszFileName, LPDIENUMEFFECTSINFILECALLBACK pec, LPVOID pvRef,
                                              DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE WriteEffectToFile(LPCSTR lpszFileName, DWORD dwEntries, LPDIFILEEFFECT rgDiFileEft,
                                              DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE BuildActionMap(LPDIACTIONFORMATA lpdiaf, LPCSTR lpszUserName, DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE SetActionMap(LPDIACTIONFORMATA lpdiActionFormat, LPCSTR lptszUserName,
                                         DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE GetImageInfo(LPDIDEVICEIMAGEINFOHEADERA lpdiDevImageInfoHeader) override;

 private:
  HRESULT AnswerProperty(uintptr_t property, LPDIPROPHEADER pdiph) const;

  ULONG references_ = 1;
};

// dwSize set, the name cut to fit and terminated, every other member zero.
DIDEVICEOBJECTINSTANCEA MakeObject(const char* name, const GUID& type, DWORD ofs, DWORD dwType, DWORD flags);
DIEFFECTINFOA MakeEffectInfo(const GUID& guid, const char* name, DWORD effType, DWORD staticParams,
                             DWORD dynamicParams);

}  // namespace test_support

// IDirectInputDevice8A over a registry entry: acquisition, cooperative level, data format,
// properties and the device half of force feedback. Several interfaces may be open on one
// device; each has its own acquisition, format and per-axis properties, as in DirectInput.
//
// An acquired interface whose device is unplugged, or whose foreground window loses focus,
// is "lost": GetDeviceState, Poll and GetDeviceData answer DIERR_INPUTLOST (every time, not
// only once) and effect calls DIERR_INPUTLOST, until Acquire succeeds again or Unacquire is
// called. Acquire answers DIERR_UNPLUGGED while the device is unplugged and
// DIERR_OTHERAPPHASPRIO for a foreground interface while the application is inactive.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "host/dinput/device_entry.h"
#include "platform/platform.h"

namespace host::dinput {

class DirectInput8;
class Effect;
class CallScope;

class Device final : public IDirectInputDevice8A {
 public:
  Device(DirectInput8* parent, std::shared_ptr<DeviceEntry> entry, uint32_t serial);
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

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

  // --- For effects and the registry
  DeviceEntry& entry() { return *entry_; }
  const DeviceEntry& entry() const { return *entry_; }
  DeviceId deviceId() const { return entry_->id(); }
  uint32_t serial() const { return serial_; }

  // The object `obj` names under `how` (DIPH_BYID, DIPH_BYOFFSET, DIPH_BYUSAGE), or -1.
  int FindObject(DWORD obj, DWORD how) const;
  // Where the data format puts an object, or -1 when the format does not carry it.
  LONG FormatOffsetOf(size_t object) const;

  // DI_OK when effects may play now; otherwise DIERR_INPUTLOST or DIERR_NOTEXCLUSIVEACQUIRED.
  HRESULT EffectAccess() const;
  bool hasForceFeedback() const { return entry_->description().forceFeedback; }

  // The registry's notices.
  void OnUnplugged();
  void OnDeactivated();
  // An effect's last reference went away.
  void ForgetEffect(Effect* effect);
  // References effects hold on their device; not the application's calls, so not logged.
  void AddRefInternal();
  void ReleaseInternal();
  // Device Escape and effect Escape share the driver's answer.
  HRESULT SendEscape(const DIEFFESCAPE* escape);

 private:
  ~Device();

  struct ObjectSettings {
    LONG rangeMin = 0;
    LONG rangeMax = 65535;
    DWORD deadZone = 0;
    DWORD saturation = 10000;
    bool raw = false;  // DIPROPCALIBRATIONMODE_RAW
  };
  struct FormatEntry {
    DWORD offset;
    int object;      // device object index, -1 when the format's object is absent
    ObjectClass kind;
  };

  HRESULT ReadAccess() const;
  void LoseAcquisition();
  void UnloadEffects();
  void TakeSnapshot();
  LONG CookedValue(size_t object, LONG raw) const;
  void WriteState(uint8_t* data);

  HRESULT GetPropertyImpl(DWORD property, LPDIPROPHEADER pdiph, CallScope& scope);
  HRESULT SetPropertyImpl(DWORD property, LPCDIPROPHEADER pdiph, CallScope& scope);
  // Checks a property header's sizes and resolves it to one object, or -1 for the device.
  HRESULT PropertyTarget(const DIPROPHEADER& header, DWORD expectedSize, int* object) const;
  void FillObjectInstance(size_t object, DIDEVICEOBJECTINSTANCEA* out, DWORD size) const;

  ULONG references_ = 1;
  DirectInput8* parent_;
  std::shared_ptr<DeviceEntry> entry_;
  uint32_t serial_;

  DWORD cooperativeLevel_ = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
  HWND window_ = nullptr;
  HANDLE event_ = nullptr;
  bool acquired_ = false;
  bool lost_ = false;

  bool hasFormat_ = false;
  DWORD formatSize_ = 0;
  std::vector<FormatEntry> format_;
  bool relativeAxes_ = false;
  DWORD bufferSize_ = 0;
  std::vector<ObjectSettings> settings_;
  std::vector<LONG> snapshot_;      // polled devices: the state as of the last Poll
  std::vector<LONG> lastReported_;  // relative axes: the position last reported

  std::vector<Effect*> effects_;    // in creation order
  int32_t nextEffectIndex_ = 0;
};

}  // namespace host::dinput

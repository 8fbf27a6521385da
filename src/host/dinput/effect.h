// IDirectInputEffect: one effect created on a device interface. It keeps its parameters
// whether or not it is on the device; "downloaded" means it holds one of the device's
// effect slots. Start downloads first when needed; losing the device (unacquire, focus,
// unplug, DISFFC_RESET) takes it off again, parameters kept. GetEffectStatus answers only an
// interface that holds the device exclusively, and DIERR_NOTDOWNLOADED while the effect is off it.
#pragma once

#include <cstdint>

#include "host/dinput/effect_parameters.h"
#include "platform/platform.h"

namespace host::dinput {

class Device;

class Effect final : public IDirectInputEffect {
 public:
  Effect(Device* device, const EffectTypeInfo& type, int32_t index);
  Effect(const Effect&) = delete;
  Effect& operator=(const Effect&) = delete;

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

  // --- For the device
  int32_t index() const { return index_; }
  // SetParameters without the call record (CreateEffect's own use).
  HRESULT Apply(const DIEFFECT& effect, DWORD flags);
  // A caller's DIEFFECT in either published size as a whole DIEFFECT (the DirectInput 5 one
  // ends before dwStartDelay); false when the size is neither.
  static bool CopyParameters(LPCDIEFFECT effect, DIEFFECT* copy);
  // The device took the effect off (its slot is gone already).
  void OnSlotLost() { slot_ = -1; }
  // Takes the effect off the device, if it is on.
  void UnloadFromDevice();
  // Held by the device's own enumeration, not counted as the application's.
  void AddRefInternal() { ++references_; }
  void ReleaseInternal();
  // Deletes an effect that never reached the application (a failed CreateEffect).
  void Discard();

 private:
  ~Effect();

  HRESULT DownloadToSlot(bool* truncated);
  void StartPlayback(DWORD iterations);
  bool ReportsTruncation() const;

  ULONG references_ = 1;
  Device* device_;
  const EffectTypeInfo& type_;
  int32_t index_;
  EffectParameters params_;
  int slot_ = -1;
  DWORD pending_ = 0;  // DIEP_ members changed since the last download
  DWORD iterations_ = 1;
};

}  // namespace host::dinput

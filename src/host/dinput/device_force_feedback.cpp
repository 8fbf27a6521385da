// The device half of force feedback: creating and listing effects, the device's own state
// and commands, and driver escapes.
#include <cstring>
#include <new>
#include <vector>

#include "host/dinput/api_lock.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device.h"
#include "host/dinput/effect.h"
#include "host/dinput/text_fields.h"

namespace host::dinput {
namespace {

void FillEffectInfo(const EffectTypeInfo& type, DIEFFECTINFOA* out) {
  std::memset(reinterpret_cast<char*>(out) + sizeof(DWORD), 0, sizeof(DIEFFECTINFOA) - sizeof(DWORD));
  out->guid = *type.guid;
  out->dwEffType = type.effType;
  out->dwStaticParams = type.staticParams;
  out->dwDynamicParams = type.dynamicParams;
  CopyText(out->tszName, sizeof(out->tszName), type.name);
}

}  // namespace

HRESULT STDMETHODCALLTYPE Device::CreateEffect(REFGUID rguid, LPCDIEFFECT lpeff, LPDIRECTINPUTEFFECT* ppdeff,
                                               LPUNKNOWN punkOuter) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::CreateEffect, deviceId(), serial_, nextEffectIndex_);
  scope.record().guid = rguid;
  DWORD allParams = lpeff != nullptr && lpeff->dwSize == sizeof(DIEFFECT_DX5) ? DIEP_ALLPARAMS_DX5 : DIEP_ALLPARAMS;
  LogEffect(&scope.record().effectParams, lpeff, allParams);
  if (ppdeff != nullptr) *ppdeff = nullptr;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (ppdeff == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  if (punkOuter != nullptr) return scope.Finish(DIERR_NOAGGREGATION);
  if (!hasForceFeedback()) return scope.Finish(DIERR_UNSUPPORTED);
  const EffectTypeInfo* type = FindEffectType(rguid);
  if (type == nullptr) return scope.Finish(DIERR_DEVICENOTREG);
  Effect* effect = new (std::nothrow) Effect(this, *type, nextEffectIndex_);
  if (effect == nullptr) return scope.Finish(DIERR_OUTOFMEMORY);
  if (lpeff != nullptr) {
    // As SetParameters with every member; a download that cannot happen yet is no failure.
    DIEFFECT parameters;
    if (!Effect::CopyParameters(lpeff, &parameters)) {
      effect->Discard();
      return scope.Finish(DIERR_INVALIDPARAM);
    }
    HRESULT applied = effect->Apply(parameters, allParams);
    if (FAILED(applied)) {
      effect->Discard();
      return scope.Finish(applied);
    }
  }
  effects_.push_back(effect);
  ++nextEffectIndex_;
  *ppdeff = effect;
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::EnumEffects(LPDIENUMEFFECTSCALLBACKA lpCallback, LPVOID pvRef, DWORD dwEffType) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::EnumEffects, deviceId(), serial_, noEffect);
  scope.record().flags = dwEffType;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (lpCallback == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  if (!hasForceFeedback()) return scope.Finish(DI_OK);
  DWORD wanted = DIEFT_GETTYPE(dwEffType);
  for (const EffectTypeInfo& type : SupportedEffectTypes()) {
    if (wanted != DIEFT_ALL && DIEFT_GETTYPE(type.effType) != wanted) continue;
    DIEFFECTINFOA info;
    info.dwSize = sizeof(info);
    FillEffectInfo(type, &info);
    if (lpCallback(&info, pvRef) == DIENUM_STOP) break;
  }
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::GetEffectInfo(LPDIEFFECTINFOA pdei, REFGUID rguid) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::GetEffectInfo, deviceId(), serial_, noEffect);
  scope.record().guid = rguid;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (pdei == nullptr || pdei->dwSize != sizeof(DIEFFECTINFOA)) return scope.Finish(DIERR_INVALIDPARAM);
  const EffectTypeInfo* type = hasForceFeedback() ? FindEffectType(rguid) : nullptr;
  if (type == nullptr) return scope.Finish(DIERR_DEVICENOTREG);
  FillEffectInfo(*type, pdei);
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::GetForceFeedbackState(LPDWORD pdwOut) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::GetForceFeedbackState, deviceId(), serial_, noEffect);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (pdwOut == nullptr) return scope.Finish(DIERR_INVALIDPARAM);
  if (!hasForceFeedback()) return scope.Finish(DIERR_UNSUPPORTED);
  HRESULT access = EffectAccess();
  if (FAILED(access)) return scope.Finish(access);
  entry_->Sync();
  DWORD state = DIGFFS_POWERON | DIGFFS_SAFETYSWITCHON | DIGFFS_USERFFSWITCHON;
  state |= entry_->actuatorsOn() ? DIGFFS_ACTUATORSON : DIGFFS_ACTUATORSOFF;
  if (entry_->DownloadedCount() == 0) state |= DIGFFS_EMPTY;
  if (entry_->paused()) {
    state |= DIGFFS_PAUSED;
  } else if (entry_->PlayingCount() == 0) {
    state |= DIGFFS_STOPPED;
  }
  *pdwOut = state;
  scope.record().value = state;
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::SendForceFeedbackCommand(DWORD dwFlags) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::SendForceFeedbackCommand, deviceId(), serial_, noEffect);
  scope.record().flags = dwFlags;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  switch (dwFlags) {
    case DISFFC_RESET:
    case DISFFC_STOPALL:
    case DISFFC_PAUSE:
    case DISFFC_CONTINUE:
    case DISFFC_SETACTUATORSON:
    case DISFFC_SETACTUATORSOFF:
      break;
    default:
      return scope.Finish(DIERR_INVALIDPARAM);  // one command a call
  }
  if (!hasForceFeedback()) return scope.Finish(DIERR_UNSUPPORTED);
  HRESULT access = EffectAccess();
  if (FAILED(access)) return scope.Finish(access);
  entry_->Sync();
  switch (dwFlags) {
    case DISFFC_RESET:
      entry_->ResetForceFeedback();
      break;
    case DISFFC_STOPALL:
      for (int i = 0; i < maxEffectSlots; ++i) {
        EffectSlot& slot = entry_->slot(i);
        if (slot.owner == nullptr) continue;
        slot.started = false;
        entry_->ApplySlot(i);
      }
      break;
    case DISFFC_PAUSE:
      entry_->Pause();
      break;
    case DISFFC_CONTINUE:
      entry_->Continue();
      break;
    case DISFFC_SETACTUATORSON:
      entry_->SetActuators(true);
      break;
    case DISFFC_SETACTUATORSOFF:
      entry_->SetActuators(false);
      break;
  }
  return scope.Finish(DI_OK);
}

HRESULT STDMETHODCALLTYPE Device::EnumCreatedEffectObjects(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK lpCallback,
                                                           LPVOID pvRef, DWORD fl) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::EnumCreatedEffectObjects, deviceId(), serial_, noEffect);
  scope.record().flags = fl;
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  if (lpCallback == nullptr || fl != 0) return scope.Finish(DIERR_INVALIDPARAM);
  // A callback may release the effect it is handed: hold each until the walk is over.
  std::vector<Effect*> effects = effects_;
  for (Effect* effect : effects) effect->AddRefInternal();
  for (Effect* effect : effects) {
    if (lpCallback(effect, pvRef) == DIENUM_STOP) break;
  }
  for (Effect* effect : effects) effect->ReleaseInternal();
  return scope.Finish(DI_OK);
}

HRESULT Device::SendEscape(const DIEFFESCAPE* escape) {
  if (escape == nullptr || escape->dwSize != sizeof(DIEFFESCAPE)) return DIERR_INVALIDPARAM;
  if (!entry_->description().acceptsEscapes) return DIERR_UNSUPPORTED;
  HRESULT access = EffectAccess();
  if (FAILED(access)) return access;
  return entry_->model().Escape(*escape);
}

HRESULT STDMETHODCALLTYPE Device::Escape(LPDIEFFESCAPE pesc) {
  ApiLock lock;
  CallScope scope(Interface::Device, Method::Escape, deviceId(), serial_, noEffect);
  LogEscape(&scope.record().escape, pesc);
  HRESULT injected;
  if (scope.Injected(&injected)) return scope.Finish(injected);
  return scope.Finish(SendEscape(pesc));
}

}  // namespace host::dinput

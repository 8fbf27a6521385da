#include "host/dinput/call_log.h"

#include <algorithm>
#include <cstring>

#include "host/dinput/api_lock.h"
#include "host/dinput/fault_injection.h"

namespace host {
namespace {

// In static storage so that recording never allocates.
CallRecord ring[callLogCapacity];
CallRecord scratch;  // the record of a call made while recording is off
uint64_t recorded = 0;  // records written since the last clear
bool enabled = true;

const char* const methodNames[methodCount] = {
    "DirectInput8Create",
    "QueryInterface",
    "AddRef",
    "Release",
    "CreateDevice",
    "EnumDevices",
    "GetDeviceStatus",
    "RunControlPanel",
    "Initialize",
    "FindDevice",
    "EnumDevicesBySemantics",
    "ConfigureDevices",
    "GetCapabilities",
    "EnumObjects",
    "GetProperty",
    "SetProperty",
    "Acquire",
    "Unacquire",
    "GetDeviceState",
    "GetDeviceData",
    "SetDataFormat",
    "SetEventNotification",
    "SetCooperativeLevel",
    "GetObjectInfo",
    "GetDeviceInfo",
    "CreateEffect",
    "EnumEffects",
    "GetEffectInfo",
    "GetForceFeedbackState",
    "SendForceFeedbackCommand",
    "EnumCreatedEffectObjects",
    "Escape",
    "Poll",
    "SendDeviceData",
    "EnumEffectsInFile",
    "WriteEffectToFile",
    "BuildActionMap",
    "SetActionMap",
    "GetImageInfo",
    "GetEffectGuid",
    "GetParameters",
    "SetParameters",
    "Start",
    "Stop",
    "GetEffectStatus",
    "Download",
    "Unload",
};

size_t HeldCount() { return static_cast<size_t>(std::min<uint64_t>(recorded, callLogCapacity)); }

}  // namespace

const char* MethodName(Method method) {
  int index = static_cast<int>(method);
  if (index < 0 || index >= methodCount) return "UnknownMethod";
  return methodNames[index];
}

const char* InterfaceName(Interface iface) {
  switch (iface) {
    case Interface::None:
      return "none";
    case Interface::DirectInput:
      return "IDirectInput8A";
    case Interface::Device:
      return "IDirectInputDevice8A";
    case Interface::Effect:
      return "IDirectInputEffect";
  }
  return "UnknownInterface";
}

size_t CallLogSize() {
  dinput::ApiLock lock;
  return HeldCount();
}

const CallRecord& CallLogAt(size_t index) {
  dinput::ApiLock lock;
  uint64_t oldest = recorded - HeldCount();
  return ring[(oldest + index) % callLogCapacity];
}

std::vector<CallRecord> CallLogRecords() {
  dinput::ApiLock lock;
  std::vector<CallRecord> records;
  size_t count = HeldCount();
  records.reserve(count);
  uint64_t oldest = recorded - count;
  for (size_t i = 0; i < count; ++i) records.push_back(ring[(oldest + i) % callLogCapacity]);
  return records;
}

void ClearCallLog() {
  dinput::ApiLock lock;
  recorded = 0;
}

void SetCallLogEnabled(bool on) {
  dinput::ApiLock lock;
  enabled = on;
}

bool CallLogEnabled() {
  dinput::ApiLock lock;
  return enabled;
}

uint64_t CallLogDropped() {
  dinput::ApiLock lock;
  return recorded > callLogCapacity ? recorded - callLogCapacity : 0;
}

namespace dinput {

CallScope::CallScope(Interface iface, Method method, DeviceId device, uint32_t deviceObject, int32_t effect) {
  // Callers hold the API lock.
  if (enabled) {
    record_ = &ring[recorded % callLogCapacity];
    ++recorded;
  } else {
    record_ = &scratch;
  }
  std::memset(static_cast<void*>(record_), 0, sizeof(CallRecord));
  record_->sequence = recorded;
  record_->timeMs = timeGetTime();
  record_->iface = iface;
  record_->method = method;
  record_->device = device;
  record_->deviceObject = deviceObject;
  record_->effect = effect;
}

bool CallScope::Injected(HRESULT* code) {
  if (!ConsumeFault(record_->method, record_->iface, record_->device, record_->effect, code)) return false;
  record_->injected = true;
  return true;
}

void LogEffect(LoggedEffect* out, const DIEFFECT* effect, DWORD flags) {
  if (effect == nullptr) return;
  out->present = true;
  out->dwSize = effect->dwSize;
  bool known = effect->dwSize == sizeof(DIEFFECT) || effect->dwSize == sizeof(DIEFFECT_DX5);
  if (!known) return;  // the members cannot be located
  out->dwFlags = effect->dwFlags;
  if (flags & DIEP_DURATION) out->dwDuration = effect->dwDuration;
  if (flags & DIEP_SAMPLEPERIOD) out->dwSamplePeriod = effect->dwSamplePeriod;
  if (flags & DIEP_GAIN) out->dwGain = effect->dwGain;
  if (flags & DIEP_TRIGGERBUTTON) out->dwTriggerButton = effect->dwTriggerButton;
  if (flags & DIEP_TRIGGERREPEATINTERVAL) out->dwTriggerRepeatInterval = effect->dwTriggerRepeatInterval;
  if (flags & (DIEP_AXES | DIEP_DIRECTION | DIEP_TYPESPECIFICPARAMS)) out->cAxes = effect->cAxes;
  size_t axes = std::min<size_t>(effect->cAxes, loggedAxesRoom);
  if ((flags & DIEP_AXES) && effect->rgdwAxes != nullptr) {
    for (size_t i = 0; i < axes; ++i) out->axes[i] = effect->rgdwAxes[i];
  }
  if ((flags & DIEP_DIRECTION) && effect->rglDirection != nullptr) {
    for (size_t i = 0; i < axes; ++i) out->directions[i] = effect->rglDirection[i];
  }
  if ((flags & DIEP_ENVELOPE) && effect->lpEnvelope != nullptr) {
    out->hasEnvelope = true;
    out->envelope = *effect->lpEnvelope;
  }
  if ((flags & DIEP_STARTDELAY) && effect->dwSize == sizeof(DIEFFECT)) out->dwStartDelay = effect->dwStartDelay;
  if (flags & DIEP_TYPESPECIFICPARAMS) {
    out->typeSpecificSize = effect->cbTypeSpecificParams;
    if (effect->lpvTypeSpecificParams != nullptr) {
      out->typeSpecificCopied = std::min<DWORD>(effect->cbTypeSpecificParams, loggedBlockRoom);
      std::memcpy(out->typeSpecific, effect->lpvTypeSpecificParams, out->typeSpecificCopied);
    }
  }
}

void LogEscape(LoggedEscape* out, const DIEFFESCAPE* escape) {
  if (escape == nullptr) return;
  out->dwSize = escape->dwSize;
  if (escape->dwSize != sizeof(DIEFFESCAPE)) return;
  out->dwCommand = escape->dwCommand;
  out->cbInBuffer = escape->cbInBuffer;
  out->cbOutBuffer = escape->cbOutBuffer;
  if (escape->lpvInBuffer != nullptr) {
    out->inCopied = std::min<DWORD>(escape->cbInBuffer, loggedEscapeRoom);
    std::memcpy(out->in, escape->lpvInBuffer, out->inCopied);
  }
}

}  // namespace dinput
}  // namespace host

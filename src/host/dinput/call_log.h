// The record of every call made on the stand-in's interfaces, for tests that check what
// the program sent to the device. Storage is a fixed ring of callLogCapacity records:
// recording never allocates, and once the ring is full each new call overwrites the oldest
// (CallLogDropped counts them). Records are in the order the calls began, so a call made
// from inside an enumeration callback comes after the enumeration that called it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/dinput/types.h"
#include "platform/platform.h"

namespace host {

enum class Interface : uint8_t { None, DirectInput, Device, Effect };

// One value per method name. IUnknown's three, Initialize, RunControlPanel and Escape exist
// on more than one interface; CallRecord::iface tells which.
enum class Method : uint8_t {
  DirectInput8Create,
  QueryInterface,
  AddRef,
  Release,
  // IDirectInput8A
  CreateDevice,
  EnumDevices,
  GetDeviceStatus,
  RunControlPanel,
  Initialize,
  FindDevice,
  EnumDevicesBySemantics,
  ConfigureDevices,
  // IDirectInputDevice8A
  GetCapabilities,
  EnumObjects,
  GetProperty,
  SetProperty,
  Acquire,
  Unacquire,
  GetDeviceState,
  GetDeviceData,
  SetDataFormat,
  SetEventNotification,
  SetCooperativeLevel,
  GetObjectInfo,
  GetDeviceInfo,
  CreateEffect,
  EnumEffects,
  GetEffectInfo,
  GetForceFeedbackState,
  SendForceFeedbackCommand,
  EnumCreatedEffectObjects,
  Escape,
  Poll,
  SendDeviceData,
  EnumEffectsInFile,
  WriteEffectToFile,
  BuildActionMap,
  SetActionMap,
  GetImageInfo,
  // IDirectInputEffect
  GetEffectGuid,
  GetParameters,
  SetParameters,
  Start,
  Stop,
  GetEffectStatus,
  Download,
  Unload,
};
inline constexpr int methodCount = static_cast<int>(Method::Unload) + 1;

const char* MethodName(Method method);
const char* InterfaceName(Interface iface);

inline constexpr size_t callLogCapacity = 65536;
inline constexpr size_t loggedAxesRoom = 4;
inline constexpr size_t loggedBlockRoom = 96;
inline constexpr size_t loggedEscapeRoom = 64;

// The DIEFFECT of a CreateEffect or SetParameters call. Only the members the call's DIEP_
// flags cover are read (as DirectInput reads them); the others stay zero.
struct LoggedEffect {
  bool present;  // the call carried a DIEFFECT at all
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwDuration;
  DWORD dwSamplePeriod;
  DWORD dwGain;
  DWORD dwTriggerButton;
  DWORD dwTriggerRepeatInterval;
  DWORD cAxes;
  DWORD axes[loggedAxesRoom];        // rgdwAxes, the first cAxes (at most 4)
  LONG directions[loggedAxesRoom];   // rglDirection, likewise
  bool hasEnvelope;
  DIENVELOPE envelope;
  DWORD dwStartDelay;
  DWORD typeSpecificSize;            // cbTypeSpecificParams
  DWORD typeSpecificCopied;          // bytes kept in typeSpecific
  uint8_t typeSpecific[loggedBlockRoom];
};

struct LoggedProperty {
  DWORD property;  // the DIPROP_ number; 0 when the GUID was a real GUID
  DWORD dwSize;
  DWORD dwHeaderSize;
  DWORD dwObj;
  DWORD dwHow;
  DWORD data;      // DIPROPDWORD.dwData (sent, or answered on success)
  LONG min;        // DIPROPRANGE
  LONG max;
};

struct LoggedEscape {
  DWORD dwSize;
  DWORD dwCommand;
  DWORD cbInBuffer;
  DWORD cbOutBuffer;
  DWORD inCopied;
  uint8_t in[loggedEscapeRoom];
};

// What a record's `flags` and `value` hold:
//   DirectInput8Create      flags = dwVersion
//   EnumDevices             flags = dwFlags, value = dwDevType
//   SetCooperativeLevel     flags = dwFlags
//   EnumObjects             flags = dwFlags
//   GetObjectInfo           flags = dwHow, value = dwObj
//   GetDeviceState          value = cbData
//   GetDeviceData           flags = dwFlags, value = cbObjectData
//   SetDataFormat           flags = DIDATAFORMAT.dwFlags, value = dwDataSize
//   EnumEffects             flags = dwEffType
//   GetForceFeedbackState   value = the state answered
//   SendForceFeedbackCommand flags = the command
//   EnumCreatedEffectObjects flags = fl
//   CreateEffect            guid = the effect type; effectParams (as DIEP_ALLPARAMS)
//   SetParameters           flags = dwFlags; effectParams
//   GetParameters           flags = dwFlags
//   Start                   flags = dwFlags, iterations = dwIterations
//   GetEffectStatus         value = the status answered
//   Get/SetProperty         property
//   Escape                  escape
//   CreateDevice, GetDeviceStatus  guid = the instance GUID asked for
//   QueryInterface          guid = the interface asked for
//   AddRef, Release         value = the count returned
struct CallRecord {
  uint64_t sequence;   // 1, 2, 3... since the last clear
  DWORD timeMs;        // timeGetTime() when the call began
  Interface iface;
  Method method;
  DeviceId device;     // noDevice for DirectInput-object calls
  uint32_t deviceObject;  // serial of the device interface (1, 2... since reset), 0 for none
  int32_t effect;      // effect index on its device interface, or noEffect
  HRESULT result;
  bool injected;       // the result came from fault injection; the call did nothing
  DWORD flags;
  DWORD value;
  DWORD iterations;
  GUID guid;
  LoggedEffect effectParams;
  LoggedProperty property;
  LoggedEscape escape;
};

size_t CallLogSize();
// index 0 is the oldest record still held.
const CallRecord& CallLogAt(size_t index);
std::vector<CallRecord> CallLogRecords();
void ClearCallLog();
// Recording is on by default; soak runs turn it off.
void SetCallLogEnabled(bool enabled);
bool CallLogEnabled();
// Records overwritten since the last clear because the ring was full.
uint64_t CallLogDropped();

namespace dinput {

// Opens a record when a call begins and closes it with the call's result. A method creates
// one first thing, consults Injected() before doing anything, and returns through Finish().
class CallScope {
 public:
  CallScope(Interface iface, Method method, DeviceId device, uint32_t deviceObject, int32_t effect);
  ~CallScope() = default;
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

  CallRecord& record() { return *record_; }
  // True when fault injection wants this call to fail; *code is then its result.
  bool Injected(HRESULT* code);
  HRESULT Finish(HRESULT result) {
    record_->result = result;
    return result;
  }

 private:
  CallRecord* record_;
};

// Copies a DIEFFECT into the record as far as `flags` say the call carries it.
void LogEffect(LoggedEffect* out, const DIEFFECT* effect, DWORD flags);
void LogEscape(LoggedEscape* out, const DIEFFESCAPE* escape);

}  // namespace dinput
}  // namespace host

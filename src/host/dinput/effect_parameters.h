// The effect types force-feedback devices here support, and an effect's parameters as
// DirectInput keeps them: checked and stored by SetParameters, read back by GetParameters,
// and rendered for the hardware.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "host/dinput/device_model.h"
#include "platform/platform.h"

namespace host::dinput {

class Device;

struct EffectTypeInfo {
  const GUID* guid;
  RenderedKind kind;
  DWORD effType;          // DIEFT_*
  DWORD staticParams;     // DIEP_* the type accepts
  DWORD dynamicParams;    // DIEP_* that change while playing without a restart
  const char* name;
  bool IsCondition() const { return DIEFT_GETTYPE(effType) == DIEFT_CONDITION; }
};

// Constant force, spring, damper, inertia and friction.
std::span<const EffectTypeInfo> SupportedEffectTypes();
const EffectTypeInfo* FindEffectType(REFGUID guid);

inline constexpr size_t maxEffectAxes = 3;
inline constexpr size_t typeSpecificRoom = maxEffectAxes * sizeof(DICONDITION);

struct EffectParameters {
  DWORD given = 0;                 // DIEP_ members set so far
  DWORD duration = 0;
  DWORD samplePeriod = 0;
  DWORD gain = DI_FFNOMINALMAX;
  DWORD triggerButton = DIEB_NOTRIGGER;  // an object index once given, or DIEB_NOTRIGGER
  DWORD triggerRepeatInterval = 0;
  DWORD axisCount = 0;
  size_t axisObjects[maxEffectAxes]{};   // device object indexes
  // The direction as last given, in its own coordinate system, and as a unit vector.
  DWORD directionSystem = 0;             // DIEFF_CARTESIAN / POLAR / SPHERICAL
  LONG directionGiven[maxEffectAxes]{};
  double directionUnit[maxEffectAxes]{};
  bool hasEnvelope = false;
  DIENVELOPE envelope{};
  DWORD typeSpecificSize = 0;
  uint8_t typeSpecific[typeSpecificRoom]{};
  DWORD startDelay = 0;

  // What a download needs: axes and the type-specific block.
  bool Complete() const { return (given & DIEP_AXES) && (given & DIEP_TYPESPECIFICPARAMS); }
};

// Checks `effect` for the members `flags` name and, when all is well, stores them into
// *params; on an error *params is untouched. *changed receives the DIEP_ members whose
// value differs from before.
HRESULT StoreParameters(EffectParameters* params, const EffectTypeInfo& type, const DIEFFECT& effect, DWORD flags,
                        const Device& device, DWORD* changed);

// GetParameters: fills the members `flags` name, in the addressing and coordinates that
// effect->dwFlags asks for.
HRESULT ReadParameters(const EffectParameters& params, const EffectTypeInfo& type, DIEFFECT* effect, DWORD flags,
                       const Device& device);

// The effect as it acts on the object `xObject` (the device's first actuator); *truncated
// tells whether a value had to be pulled into DirectInput's +-10000.
RenderedEffect RenderForDevice(const EffectParameters& params, const EffectTypeInfo& type, size_t xObject,
                               bool* truncated);

// Microseconds `iterations` runs last, after the start delay; UINT64_MAX when infinite.
uint64_t PlaybackLengthUs(const EffectParameters& params, DWORD iterations);

}  // namespace host::dinput

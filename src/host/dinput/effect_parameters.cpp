#include "host/dinput/effect_parameters.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "host/dinput/device.h"

namespace host::dinput {
namespace {

constexpr DWORD conditionTypeFlags =
    DIEFT_CONDITION | DIEFT_SATURATION | DIEFT_POSNEGCOEFFICIENTS | DIEFT_POSNEGSATURATION | DIEFT_DEADBAND |
    DIEFT_STARTDELAY;
constexpr DWORD conditionStatic = DIEP_ALLPARAMS & ~DIEP_ENVELOPE;
constexpr DWORD conditionDynamic = DIEP_DURATION | DIEP_GAIN | DIEP_DIRECTION | DIEP_TYPESPECIFICPARAMS | DIEP_STARTDELAY;

const EffectTypeInfo effectTypes[] = {
    {&GUID_ConstantForce, RenderedKind::ConstantForce,
     DIEFT_CONSTANTFORCE | DIEFT_FFATTACK | DIEFT_FFFADE | DIEFT_STARTDELAY, DIEP_ALLPARAMS,
     DIEP_DURATION | DIEP_GAIN | DIEP_DIRECTION | DIEP_ENVELOPE | DIEP_TYPESPECIFICPARAMS | DIEP_STARTDELAY,
     "Constant Force"},
    {&GUID_Spring, RenderedKind::Spring, conditionTypeFlags, conditionStatic, conditionDynamic, "Spring"},
    {&GUID_Damper, RenderedKind::Damper, conditionTypeFlags, conditionStatic, conditionDynamic, "Damper"},
    {&GUID_Inertia, RenderedKind::Inertia, conditionTypeFlags, conditionStatic, conditionDynamic, "Inertia"},
    {&GUID_Friction, RenderedKind::Friction, conditionTypeFlags, conditionStatic, conditionDynamic, "Friction"},
};

constexpr DWORD coordinateFlags = DIEFF_CARTESIAN | DIEFF_POLAR | DIEFF_SPHERICAL;
constexpr DWORD addressingFlags = DIEFF_OBJECTIDS | DIEFF_OBJECTOFFSETS;

bool ExactlyOne(DWORD bits) { return bits != 0 && (bits & (bits - 1)) == 0; }

double Radians(LONG hundredthsOfDegree) { return hundredthsOfDegree / 100.0 * std::numbers::pi / 180.0; }

LONG Hundredths(double radians) {
  double degrees = radians * 180.0 / std::numbers::pi;
  LONG value = static_cast<LONG>(std::lround(degrees * 100.0));
  value %= 36000;
  if (value < 0) value += 36000;
  return value;
}

// The direction as a unit vector. Polar angles run clockwise from north (-Y); spherical
// ones turn from +X toward +Y, then toward +Z. One axis has no direction to speak of: its
// force lies along that axis, against it only for a negative Cartesian value.
void UnitDirection(DWORD system, const LONG* given, DWORD axes, double* unit) {
  for (size_t i = 0; i < maxEffectAxes; ++i) unit[i] = 0.0;
  if (axes == 0) return;
  if (axes == 1) {
    unit[0] = (system == DIEFF_CARTESIAN && given[0] < 0) ? -1.0 : 1.0;
    return;
  }
  if (system == DIEFF_CARTESIAN) {
    double length = 0.0;
    for (DWORD i = 0; i < axes; ++i) length += static_cast<double>(given[i]) * given[i];
    length = std::sqrt(length);
    if (length == 0.0) return;
    for (DWORD i = 0; i < axes; ++i) unit[i] = given[i] / length;
  } else if (system == DIEFF_POLAR) {
    double angle = Radians(given[0]);
    unit[0] = std::sin(angle);
    unit[1] = -std::cos(angle);
  } else {
    double first = Radians(given[0]);
    double second = axes > 2 ? Radians(given[1]) : 0.0;
    unit[0] = std::cos(first) * std::cos(second);
    unit[1] = std::sin(first) * std::cos(second);
    if (axes > 2) unit[2] = std::sin(second);
  }
}

// The object an effect member names: an actuator axis or a trigger button, or -1.
int ResolveObject(const Device& device, DWORD addressing, DWORD value) {
  return device.FindObject(value, addressing == DIEFF_OBJECTIDS ? DIPH_BYID : DIPH_BYOFFSET);
}

HRESULT CheckTypeSpecificSize(const EffectTypeInfo& type, DWORD size, DWORD axes) {
  if (type.IsCondition()) {
    if (size == sizeof(DICONDITION)) return DI_OK;
    if (axes > 0 && size == axes * sizeof(DICONDITION)) return DI_OK;
    return DIERR_INVALIDPARAM;
  }
  return size == sizeof(DICONSTANTFORCE) ? DI_OK : DIERR_INVALIDPARAM;
}

LONG Clamp(LONG value, LONG low, LONG high, bool* truncated) {
  if (value < low) {
    *truncated = true;
    return low;
  }
  if (value > high) {
    *truncated = true;
    return high;
  }
  return value;
}

DWORD ClampUnsigned(DWORD value, DWORD high, bool* truncated) {
  if (value > high) {
    *truncated = true;
    return high;
  }
  return value;
}

}  // namespace

std::span<const EffectTypeInfo> SupportedEffectTypes() { return effectTypes; }

const EffectTypeInfo* FindEffectType(REFGUID guid) {
  for (const EffectTypeInfo& type : effectTypes) {
    if (IsEqualGUID(*type.guid, guid)) return &type;
  }
  return nullptr;
}

HRESULT StoreParameters(EffectParameters* params, const EffectTypeInfo& type, const DIEFFECT& effect, DWORD flags,
                        const Device& device, DWORD* changed) {
  if (flags & ~(DIEP_ALLPARAMS | DIEP_START | DIEP_NORESTART | DIEP_NODOWNLOAD)) return DIERR_INVALIDPARAM;
  bool dx6 = effect.dwSize == sizeof(DIEFFECT);
  if (!dx6 && effect.dwSize != sizeof(DIEFFECT_DX5)) return DIERR_INVALIDPARAM;
  if (!dx6 && (flags & DIEP_STARTDELAY)) return DIERR_INVALIDPARAM;
  // Members the type has no use for (a condition's envelope) are passed over.
  DWORD members = flags & type.staticParams;

  EffectParameters next = *params;
  DWORD addressing = effect.dwFlags & addressingFlags;

  if (members & DIEP_DURATION) next.duration = effect.dwDuration;
  if (members & DIEP_SAMPLEPERIOD) next.samplePeriod = effect.dwSamplePeriod;
  if (members & DIEP_GAIN) {
    if (effect.dwGain > DI_FFNOMINALMAX) return DIERR_INVALIDPARAM;
    next.gain = effect.dwGain;
  }
  if (members & DIEP_TRIGGERBUTTON) {
    if (effect.dwTriggerButton == DIEB_NOTRIGGER) {
      next.triggerButton = DIEB_NOTRIGGER;
    } else {
      if (!ExactlyOne(addressing)) return DIERR_INVALIDPARAM;
      int object = ResolveObject(device, addressing, effect.dwTriggerButton);
      if (object < 0) return DIERR_INVALIDPARAM;
      const DeviceObject& button = device.entry().objects()[static_cast<size_t>(object)];
      if (button.Class() != ObjectClass::Button || !(button.typeFlags & DIDFT_FFEFFECTTRIGGER)) {
        return DIERR_INVALIDPARAM;
      }
      next.triggerButton = static_cast<DWORD>(object);
    }
  }
  if (members & DIEP_TRIGGERREPEATINTERVAL) next.triggerRepeatInterval = effect.dwTriggerRepeatInterval;

  if (members & DIEP_AXES) {
    if (effect.cAxes == 0 || effect.cAxes > maxEffectAxes || effect.rgdwAxes == nullptr) return DIERR_INVALIDPARAM;
    // An effect keeps the number of axes it was first given.
    if ((params->given & DIEP_AXES) && effect.cAxes != params->axisCount) return DIERR_INVALIDPARAM;
    if (!ExactlyOne(addressing)) return DIERR_INVALIDPARAM;
    for (DWORD i = 0; i < effect.cAxes; ++i) {
      int object = ResolveObject(device, addressing, effect.rgdwAxes[i]);
      if (object < 0 || !device.entry().objects()[static_cast<size_t>(object)].IsActuator()) {
        return DIERR_INVALIDPARAM;
      }
      for (DWORD j = 0; j < i; ++j) {
        if (next.axisObjects[j] == static_cast<size_t>(object)) return DIERR_INVALIDPARAM;
      }
      next.axisObjects[i] = static_cast<size_t>(object);
    }
    next.axisCount = effect.cAxes;
  }

  if (members & DIEP_DIRECTION) {
    if (next.axisCount == 0 || effect.cAxes != next.axisCount || effect.rglDirection == nullptr) {
      return DIERR_INVALIDPARAM;
    }
    DWORD system = effect.dwFlags & coordinateFlags;
    if (!ExactlyOne(system)) return DIERR_INVALIDPARAM;
    if (system == DIEFF_POLAR && next.axisCount != 2) return DIERR_INVALIDPARAM;
    next.directionSystem = system;
    for (DWORD i = 0; i < maxEffectAxes; ++i) next.directionGiven[i] = i < next.axisCount ? effect.rglDirection[i] : 0;
  }
  // Also when only the axes changed: a one-axis effect needs no direction.
  UnitDirection(next.directionSystem != 0 ? next.directionSystem : DIEFF_CARTESIAN, next.directionGiven,
                next.axisCount, next.directionUnit);

  if (members & DIEP_ENVELOPE) {
    if (effect.lpEnvelope == nullptr) {
      next.hasEnvelope = false;
      next.envelope = DIENVELOPE{};
    } else {
      const DIENVELOPE& envelope = *effect.lpEnvelope;
      if (envelope.dwSize != sizeof(DIENVELOPE)) return DIERR_INVALIDPARAM;
      if (envelope.dwAttackLevel > DI_FFNOMINALMAX || envelope.dwFadeLevel > DI_FFNOMINALMAX) {
        return DIERR_INVALIDPARAM;
      }
      next.hasEnvelope = true;
      next.envelope = envelope;
    }
  }

  if (members & DIEP_TYPESPECIFICPARAMS) {
    if (effect.lpvTypeSpecificParams == nullptr) return DIERR_INVALIDPARAM;
    DWORD axes = next.axisCount != 0 ? next.axisCount : effect.cAxes;
    HRESULT sized = CheckTypeSpecificSize(type, effect.cbTypeSpecificParams, axes);
    if (FAILED(sized)) return sized;
    next.typeSpecificSize = effect.cbTypeSpecificParams;
    std::memset(next.typeSpecific, 0, sizeof(next.typeSpecific));
    std::memcpy(next.typeSpecific, effect.lpvTypeSpecificParams, next.typeSpecificSize);
  }
  // A block sized per axis must still fit the axes the effect ends up with.
  if ((next.given | members) & DIEP_TYPESPECIFICPARAMS && (next.given | members) & DIEP_AXES) {
    if (FAILED(CheckTypeSpecificSize(type, next.typeSpecificSize, next.axisCount))) return DIERR_INVALIDPARAM;
  }

  if (members & DIEP_STARTDELAY) next.startDelay = effect.dwStartDelay;

  next.given |= members;

  DWORD differs = 0;
  if (next.duration != params->duration) differs |= DIEP_DURATION;
  if (next.samplePeriod != params->samplePeriod) differs |= DIEP_SAMPLEPERIOD;
  if (next.gain != params->gain) differs |= DIEP_GAIN;
  if (next.triggerButton != params->triggerButton) differs |= DIEP_TRIGGERBUTTON;
  if (next.triggerRepeatInterval != params->triggerRepeatInterval) differs |= DIEP_TRIGGERREPEATINTERVAL;
  if (next.axisCount != params->axisCount ||
      !std::equal(next.axisObjects, next.axisObjects + maxEffectAxes, params->axisObjects)) {
    differs |= DIEP_AXES;
  }
  if (next.directionSystem != params->directionSystem ||
      !std::equal(next.directionGiven, next.directionGiven + maxEffectAxes, params->directionGiven)) {
    differs |= DIEP_DIRECTION;
  }
  if (next.hasEnvelope != params->hasEnvelope ||
      std::memcmp(&next.envelope, &params->envelope, sizeof(DIENVELOPE)) != 0) {
    differs |= DIEP_ENVELOPE;
  }
  if (next.typeSpecificSize != params->typeSpecificSize ||
      std::memcmp(next.typeSpecific, params->typeSpecific, sizeof(next.typeSpecific)) != 0) {
    differs |= DIEP_TYPESPECIFICPARAMS;
  }
  if (next.startDelay != params->startDelay) differs |= DIEP_STARTDELAY;

  *params = next;
  *changed = differs;
  return DI_OK;
}

HRESULT ReadParameters(const EffectParameters& params, const EffectTypeInfo& type, DIEFFECT* effect, DWORD flags,
                       const Device& device) {
  (void)type;
  if (flags & ~DIEP_ALLPARAMS) return DIERR_INVALIDPARAM;
  bool dx6 = effect->dwSize == sizeof(DIEFFECT);
  if (!dx6 && effect->dwSize != sizeof(DIEFFECT_DX5)) return DIERR_INVALIDPARAM;
  if (!dx6 && (flags & DIEP_STARTDELAY)) return DIERR_INVALIDPARAM;

  // First whether everything fits; a short buffer gets the size it needs and nothing else.
  bool tooSmall = false;
  if ((flags & (DIEP_AXES | DIEP_DIRECTION)) && effect->cAxes < params.axisCount) {
    effect->cAxes = params.axisCount;
    tooSmall = true;
  }
  if ((flags & DIEP_TYPESPECIFICPARAMS) && effect->cbTypeSpecificParams < params.typeSpecificSize) {
    effect->cbTypeSpecificParams = params.typeSpecificSize;
    tooSmall = true;
  }
  if (tooSmall) return DIERR_MOREDATA;
  if ((flags & DIEP_AXES) && params.axisCount > 0) {
    if (effect->rgdwAxes == nullptr || !ExactlyOne(effect->dwFlags & addressingFlags)) return DIERR_INVALIDPARAM;
  }
  if ((flags & DIEP_DIRECTION) && params.axisCount > 0 && effect->rglDirection == nullptr) return DIERR_INVALIDPARAM;
  if ((flags & DIEP_TYPESPECIFICPARAMS) && params.typeSpecificSize > 0 && effect->lpvTypeSpecificParams == nullptr) {
    return DIERR_INVALIDPARAM;
  }
  if ((flags & DIEP_ENVELOPE) && params.hasEnvelope) {
    if (effect->lpEnvelope == nullptr || effect->lpEnvelope->dwSize != sizeof(DIENVELOPE)) return DIERR_INVALIDPARAM;
  }

  if (flags & DIEP_DURATION) effect->dwDuration = params.duration;
  if (flags & DIEP_SAMPLEPERIOD) effect->dwSamplePeriod = params.samplePeriod;
  if (flags & DIEP_GAIN) effect->dwGain = params.gain;
  if (flags & DIEP_TRIGGERBUTTON) {
    if (params.triggerButton == DIEB_NOTRIGGER) {
      effect->dwTriggerButton = DIEB_NOTRIGGER;
    } else if (effect->dwFlags & DIEFF_OBJECTOFFSETS) {
      effect->dwTriggerButton = static_cast<DWORD>(device.FormatOffsetOf(params.triggerButton));
    } else {
      effect->dwTriggerButton = device.entry().objects()[params.triggerButton].Id();
    }
  }
  if (flags & DIEP_TRIGGERREPEATINTERVAL) effect->dwTriggerRepeatInterval = params.triggerRepeatInterval;
  if (flags & DIEP_AXES) {
    bool byOffset = (effect->dwFlags & DIEFF_OBJECTOFFSETS) != 0;
    for (DWORD i = 0; i < params.axisCount; ++i) {
      size_t object = params.axisObjects[i];
      effect->rgdwAxes[i] =
          byOffset ? static_cast<DWORD>(device.FormatOffsetOf(object)) : device.entry().objects()[object].Id();
    }
  }
  if (flags & (DIEP_AXES | DIEP_DIRECTION)) effect->cAxes = params.axisCount;
  if ((flags & DIEP_DIRECTION) && params.axisCount > 0) {
    // The coordinates asked for; when none or several are, the effect's own where possible.
    DWORD asked = effect->dwFlags & coordinateFlags;
    DWORD system = params.directionSystem != 0 ? params.directionSystem : DIEFF_CARTESIAN;
    if (asked != 0 && !(asked & system)) {
      if (asked & DIEFF_CARTESIAN) {
        system = DIEFF_CARTESIAN;
      } else if ((asked & DIEFF_POLAR) && params.axisCount == 2) {
        system = DIEFF_POLAR;
      } else {
        system = DIEFF_SPHERICAL;
      }
    }
    effect->dwFlags = (effect->dwFlags & ~coordinateFlags) | system;
    if (system == params.directionSystem) {
      for (DWORD i = 0; i < params.axisCount; ++i) effect->rglDirection[i] = params.directionGiven[i];
    } else if (system == DIEFF_CARTESIAN) {
      for (DWORD i = 0; i < params.axisCount; ++i) {
        effect->rglDirection[i] = static_cast<LONG>(std::lround(params.directionUnit[i] * DI_FFNOMINALMAX));
      }
    } else {
      const double* u = params.directionUnit;
      for (DWORD i = 0; i < params.axisCount; ++i) effect->rglDirection[i] = 0;
      if (system == DIEFF_POLAR) {
        effect->rglDirection[0] = Hundredths(std::atan2(u[0], -u[1]));
      } else if (params.axisCount > 1) {
        effect->rglDirection[0] = Hundredths(std::atan2(u[1], u[0]));
        if (params.axisCount > 2) effect->rglDirection[1] = Hundredths(std::atan2(u[2], std::hypot(u[0], u[1])));
      }
    }
  }
  if (flags & DIEP_ENVELOPE) {
    if (params.hasEnvelope) {
      *effect->lpEnvelope = params.envelope;
    } else {
      effect->lpEnvelope = nullptr;
    }
  }
  if (flags & DIEP_TYPESPECIFICPARAMS) {
    if (params.typeSpecificSize > 0) {
      std::memcpy(effect->lpvTypeSpecificParams, params.typeSpecific, params.typeSpecificSize);
    }
    effect->cbTypeSpecificParams = params.typeSpecificSize;
  }
  if (flags & DIEP_STARTDELAY) effect->dwStartDelay = params.startDelay;
  return DI_OK;
}

RenderedEffect RenderForDevice(const EffectParameters& params, const EffectTypeInfo& type, size_t xObject,
                               bool* truncated) {
  RenderedEffect rendered{};
  rendered.kind = type.kind;
  rendered.gain = params.gain / static_cast<double>(DI_FFNOMINALMAX);
  *truncated = false;

  int xPosition = -1;
  for (DWORD i = 0; i < params.axisCount; ++i) {
    if (params.axisObjects[i] == xObject) xPosition = static_cast<int>(i);
  }
  double along = xPosition >= 0 ? params.directionUnit[xPosition] : 0.0;

  if (!type.IsCondition()) {
    DICONSTANTFORCE force{};
    std::memcpy(&force, params.typeSpecific, sizeof(force));
    LONG magnitude = Clamp(force.lMagnitude, -DI_FFNOMINALMAX, DI_FFNOMINALMAX, truncated);
    rendered.magnitude = static_cast<int32_t>(std::lround(magnitude * along));
    return rendered;
  }

  size_t blocks = params.typeSpecificSize / sizeof(DICONDITION);
  DICONDITION condition{};
  bool perAxis = blocks > 1;
  if (perAxis) {
    if (xPosition >= 0) std::memcpy(&condition, params.typeSpecific + xPosition * sizeof(DICONDITION), sizeof(condition));
  } else if (blocks == 1) {
    std::memcpy(&condition, params.typeSpecific, sizeof(condition));
  }
  condition.lOffset = Clamp(condition.lOffset, -DI_FFNOMINALMAX, DI_FFNOMINALMAX, truncated);
  condition.lPositiveCoefficient = Clamp(condition.lPositiveCoefficient, -DI_FFNOMINALMAX, DI_FFNOMINALMAX, truncated);
  condition.lNegativeCoefficient = Clamp(condition.lNegativeCoefficient, -DI_FFNOMINALMAX, DI_FFNOMINALMAX, truncated);
  condition.dwPositiveSaturation = ClampUnsigned(condition.dwPositiveSaturation, DI_FFNOMINALMAX, truncated);
  condition.dwNegativeSaturation = ClampUnsigned(condition.dwNegativeSaturation, DI_FFNOMINALMAX, truncated);
  condition.lDeadBand = Clamp(condition.lDeadBand, 0, DI_FFNOMINALMAX, truncated);
  if (!perAxis && params.axisCount > 1) {
    // One condition along the direction: X feels the share of it that lies along X.
    double share = std::fabs(along);
    condition.lPositiveCoefficient = static_cast<LONG>(std::lround(condition.lPositiveCoefficient * share * share));
    condition.lNegativeCoefficient = static_cast<LONG>(std::lround(condition.lNegativeCoefficient * share * share));
    condition.dwPositiveSaturation = static_cast<DWORD>(std::lround(condition.dwPositiveSaturation * share));
    condition.dwNegativeSaturation = static_cast<DWORD>(std::lround(condition.dwNegativeSaturation * share));
  }
  rendered.condition = condition;
  return rendered;
}

uint64_t PlaybackLengthUs(const EffectParameters& params, DWORD iterations) {
  if (params.duration == INFINITE || iterations == INFINITE) return UINT64_MAX;
  return static_cast<uint64_t>(params.duration) * iterations;
}

}  // namespace host::dinput

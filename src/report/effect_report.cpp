#include "report/effect_report.h"

#include <cstdint>
#include <cstring>

#include "device/device_open.h"
#include "diag/result_code_name.h"
#include "report/report_tree.h"

namespace {

constexpr FlagName effectCapabilities[] = {
    {"DIEFT_FFATTACK", 0x00000200},           {"DIEFT_FFFADE", 0x00000400},
    {"DIEFT_SATURATION", 0x00000800},         {"DIEFT_POSNEGCOEFFICIENTS", 0x00001000},
    {"DIEFT_POSNEGSATURATION", 0x00002000},   {"DIEFT_DEADBAND", 0x00004000},
    {"DIEFT_STARTDELAY", 0x00008000},
};

constexpr FlagName effectParameters[] = {
    {"DIEP_DURATION", 0x00000001},   {"DIEP_SAMPLEPERIOD", 0x00000002},          {"DIEP_GAIN", 0x00000004},
    {"DIEP_TRIGGERBUTTON", 0x00000008}, {"DIEP_TRIGGERREPEATINTERVAL", 0x00000010}, {"DIEP_AXES", 0x00000020},
    {"DIEP_DIRECTION", 0x00000040},  {"DIEP_ENVELOPE", 0x00000080},             {"DIEP_TYPESPECIFICPARAMS", 0x00000100},
    {"DIEP_STARTDELAY", 0x00000200},
};

constexpr FlagName effectFlags[] = {
    {"DIEFF_CARTESIAN", 0x00000010}, {"DIEFF_OBJECTIDS", 0x00000001}, {"DIEFF_OBJECTOFFSETS", 0x00000002},
    {"DIEFF_POLAR", 0x00000020},     {"DIEFF_SPHERICAL", 0x00000040},
};

constexpr size_t maxReportAxes = 8;
constexpr size_t typeSpecificRoom = 192;
constexpr size_t maxConditions = typeSpecificRoom / sizeof(DICONDITION);

const char* EffectTypeName(DWORD effectType) {
  switch (effectType & 0xFF) {
    case DIEFT_CONSTANTFORCE: return "DIEFT_CONSTANTFORCE";
    case DIEFT_RAMPFORCE: return "DIEFT_RAMPFORCE";
    case DIEFT_PERIODIC: return "DIEFT_PERIODIC";
    case DIEFT_CONDITION: return "DIEFT_CONDITION";
    case DIEFT_CUSTOMFORCE: return "DIEFT_CUSTOMFORCE";
    case DIEFT_HARDWARE: return "DIEFT_HARDWARE";
    default: return nullptr;
  }
}

HTREEITEM AddStatusLine(HWND tree, HTREEITEM active, LPDIRECTINPUTEFFECT effect, const char* name) {
  DWORD status = 0;
  HRESULT hr = effect->GetEffectStatus(&status);
  if (SUCCEEDED(hr)) {
    return AddReportItem(tree, active, true, "%s: %s", name, (status & DIEGES_PLAYING) ? "Playing" : "Stopped");
  }
  if (hr == static_cast<HRESULT>(DIERR_NOTDOWNLOADED)) return AddReportItem(tree, active, false, "%s: Not Downloaded", name);
  return AddReportItem(tree, active, false, "%s: Error %s", name, ResultCodeName(hr));
}

void AddGeneralFields(HWND tree, HTREEITEM line, const DIEFFECT& parameters, const DWORD* axes, const LONG* directions) {
  ListText list;
  StartList(list);
  for (const FlagName& flag : effectFlags) {
    if ((flag.value & parameters.dwFlags) != 0) AppendListEntry(list, flag.name);
  }
  AddReportItem(tree, line, true, "dwFlags: %s", FinishList(list));
  if (parameters.dwDuration == INFINITE) {
    AddReportItem(tree, line, true, "dwDuration: Infinte");
  } else {
    AddReportItem(tree, line, true, "dwDuration: %d", static_cast<int>(parameters.dwDuration));
  }
  AddReportItem(tree, line, true, "dwSamplePeriod: %d", static_cast<int>(parameters.dwSamplePeriod));
  AddReportItem(tree, line, true, "dwGain: %d", static_cast<int>(parameters.dwGain));
  if (parameters.dwTriggerButton == DIEB_NOTRIGGER) {
    AddReportItem(tree, line, true, "dwTriggerButton: No Trigger");
  } else {
    AddReportItem(tree, line, true, "dwTriggerButton: %d", static_cast<int>(parameters.dwTriggerButton));
  }
  AddReportItem(tree, line, true, "dwTriggerRepeatInterval: %d", static_cast<int>(parameters.dwTriggerRepeatInterval));
  AddReportItem(tree, line, true, "dwStartDelay: %d", static_cast<int>(parameters.dwStartDelay));
  AddReportItem(tree, line, true, "cAxes: %d", static_cast<int>(parameters.cAxes));

  size_t axisCount = parameters.cAxes < maxReportAxes ? parameters.cAxes : maxReportAxes;
  bool offsets = (parameters.dwFlags & DIEFF_OBJECTOFFSETS) != 0;
  StartList(list);
  for (size_t i = 0; i < axisCount; ++i) {
    if (offsets && axes[i] == DIJOFS_X) {
      AppendListEntry(list, "DIJOFS_X");
    } else if (offsets && axes[i] == DIJOFS_Y) {
      AppendListEntry(list, "DIJOFS_Y");
    } else if (offsets && axes[i] == DIJOFS_Z) {
      AppendListEntry(list, "DIJOFS_Z");
    } else {
      AppendListNumber(list, static_cast<int32_t>(axes[i]));
    }
  }
  AddReportItem(tree, line, true, "rgdwAxes: { %s }", FinishList(list));
  StartList(list);
  for (size_t i = 0; i < axisCount; ++i) AppendListNumber(list, directions[i]);
  AddReportItem(tree, line, true, "rglDirection: { %s }", FinishList(list));

  if (parameters.lpEnvelope != nullptr) {
    const DIENVELOPE& envelope = *parameters.lpEnvelope;
    HTREEITEM envelopeLine = AddReportItem(tree, line, true, "lpEnvelope");
    AddReportItem(tree, envelopeLine, true, "dwAttackLevel: %d", static_cast<int>(envelope.dwAttackLevel));
    AddReportItem(tree, envelopeLine, true, "dwAttackTime: %d", static_cast<int>(envelope.dwAttackTime));
    AddReportItem(tree, envelopeLine, true, "dwFadeLevel: %d", static_cast<int>(envelope.dwFadeLevel));
    AddReportItem(tree, envelopeLine, true, "dwFadeTime: %d", static_cast<int>(envelope.dwFadeTime));
  } else {
    AddReportItem(tree, line, true, "lpEnvelope: NULL");
  }
  AddReportItem(tree, line, true, "cbTypeSpecificParams: %d", static_cast<int>(parameters.cbTypeSpecificParams));
}

void AddTypeSpecificBlock(HWND tree, HTREEITEM line, DWORD effectType, const DIEFFECT& parameters,
                          const unsigned char* block) {
  switch (effectType & 0xFF) {
    case DIEFT_CONSTANTFORCE: {
      DICONSTANTFORCE constant;
      std::memcpy(&constant, block, sizeof(constant));
      HTREEITEM heading = AddReportItem(tree, line, true, "DIEFT_CONSTANTFORCE");
      AddReportItem(tree, heading, true, "lMagnitude: %d", static_cast<int>(constant.lMagnitude));
      break;
    }
    case DIEFT_RAMPFORCE: {
      DIRAMPFORCE ramp;
      std::memcpy(&ramp, block, sizeof(ramp));
      HTREEITEM heading = AddReportItem(tree, line, true, "DIEFT_RAMPFORCE");
      AddReportItem(tree, heading, true, "lStart: %d", static_cast<int>(ramp.lStart));
      AddReportItem(tree, heading, true, "lEnd: %d", static_cast<int>(ramp.lEnd));
      break;
    }
    case DIEFT_PERIODIC: {
      DIPERIODIC periodic;
      std::memcpy(&periodic, block, sizeof(periodic));
      HTREEITEM heading = AddReportItem(tree, line, true, "DIEFT_PERIODIC");
      AddReportItem(tree, heading, true, "dwMagnitude: %d", static_cast<int>(periodic.dwMagnitude));
      AddReportItem(tree, heading, true, "lOffset: %d", static_cast<int>(periodic.lOffset));
      AddReportItem(tree, heading, true, "dwPhase: %d", static_cast<int>(periodic.dwPhase));
      AddReportItem(tree, heading, true, "dwPeriod: %d", static_cast<int>(periodic.dwPeriod));
      break;
    }
    case DIEFT_CONDITION: {
      size_t count = parameters.cbTypeSpecificParams / sizeof(DICONDITION);
      if (count > maxConditions) count = maxConditions;
      for (size_t i = 0; i < count; ++i) {
        DICONDITION condition;
        std::memcpy(&condition, block + i * sizeof(DICONDITION), sizeof(condition));
        HTREEITEM heading = AddReportItem(tree, line, true, "DIEFT_CONDITION[%d]", static_cast<int>(i));
        AddReportItem(tree, heading, true, "lOffset: %d", static_cast<int>(condition.lOffset));
        AddReportItem(tree, heading, true, "lPositiveCoefficient: %d", static_cast<int>(condition.lPositiveCoefficient));
        AddReportItem(tree, heading, true, "lNegativeCoefficient: %d", static_cast<int>(condition.lNegativeCoefficient));
        AddReportItem(tree, heading, true, "dwPositiveSaturation: %d", static_cast<int>(condition.dwPositiveSaturation));
        AddReportItem(tree, heading, true, "dwNegativeSaturation: %d", static_cast<int>(condition.dwNegativeSaturation));
        AddReportItem(tree, heading, true, "lDeadBand: %d", static_cast<int>(condition.lDeadBand));
      }
      break;
    }
    case DIEFT_CUSTOMFORCE: {
      DICUSTOMFORCE custom;
      std::memcpy(&custom, block, sizeof(custom));
      HTREEITEM heading = AddReportItem(tree, line, true, "DIEFT_CUSTOMFORCE");
      AddReportItem(tree, heading, true, "cChannels: %d", static_cast<int>(custom.cChannels));
      AddReportItem(tree, heading, true, "dwSamplePeriod: %d", static_cast<int>(custom.dwSamplePeriod));
      AddReportItem(tree, heading, true, "cSamples: %d", static_cast<int>(custom.cSamples));
      break;
    }
    case DIEFT_HARDWARE:
      AddReportItem(tree, line, true, "DIEFT_HARDWARE - Not Implemented");
      break;
    default:
      AddReportItem(tree, line, true, "UNKNOWN");
      break;
  }
}

}  // namespace

BOOL CALLBACK ReportSupportedEffect(LPCDIEFFECTINFOA effectInfo, LPVOID reference) {
  const ReportPlace& place = *static_cast<const ReportPlace*>(reference);
  HWND tree = place.tree;
  char name[sizeof(effectInfo->tszName)];
  std::memcpy(name, effectInfo->tszName, sizeof(name));
  name[sizeof(name) - 1] = '\0';

  HTREEITEM line = AddReportItem(tree, place.parent, false, "%s", name);
  if (const char* type = EffectTypeName(effectInfo->dwEffType)) AddReportItem(tree, line, true, "%s", type);
  AddFlagLeaves(tree, line, effectInfo->dwEffType, effectCapabilities, CountOf(effectCapabilities));
  HTREEITEM staticLine = AddReportItem(tree, line, true, "Static Parameters");
  AddFlagLeaves(tree, staticLine, effectInfo->dwStaticParams, effectParameters, CountOf(effectParameters));
  HTREEITEM dynamicLine = AddReportItem(tree, line, true, "Dynamic Parameters");
  AddFlagLeaves(tree, dynamicLine, effectInfo->dwDynamicParams, effectParameters, CountOf(effectParameters));
  return DIENUM_CONTINUE;
}

BOOL CALLBACK ReportCreatedEffect(LPDIRECTINPUTEFFECT effect, LPVOID reference) {
  if (g_pDevice == nullptr) return DIENUM_CONTINUE;
  const ReportPlace& place = *static_cast<const ReportPlace*>(reference);
  HWND tree = place.tree;

  GUID guid;
  std::memset(&guid, 0, sizeof(guid));
  HRESULT hr = effect->GetEffectGuid(&guid);
  if (FAILED(hr)) {
    TraceReportFailure("GetEffectGuid()", hr);
    return DIENUM_CONTINUE;
  }
  DIEFFECTINFOA info;
  std::memset(&info, 0, sizeof(info));
  info.dwSize = sizeof(DIEFFECTINFOA);
  hr = g_pDevice->GetEffectInfo(&info, guid);
  if (FAILED(hr)) {
    TraceReportFailure("GetEffectInfo()", hr);
    return DIENUM_CONTINUE;
  }
  info.tszName[sizeof(info.tszName) - 1] = '\0';

  HTREEITEM line = AddStatusLine(tree, place.parent, effect, info.tszName);

  DWORD axes[maxReportAxes] = {};
  LONG directions[maxReportAxes] = {};
  DIENVELOPE envelope;
  std::memset(&envelope, 0, sizeof(envelope));
  envelope.dwSize = sizeof(DIENVELOPE);
  alignas(DICONDITION) unsigned char block[typeSpecificRoom] = {};
  DIEFFECT parameters;
  std::memset(&parameters, 0, sizeof(parameters));
  parameters.dwSize = sizeof(DIEFFECT);
  parameters.dwFlags = DIEFF_OBJECTOFFSETS | DIEFF_CARTESIAN;
  parameters.cAxes = maxReportAxes;
  parameters.rgdwAxes = axes;
  parameters.rglDirection = directions;
  parameters.lpEnvelope = &envelope;
  parameters.cbTypeSpecificParams = sizeof(block);
  parameters.lpvTypeSpecificParams = block;
  hr = effect->GetParameters(&parameters, DIEP_ALLPARAMS);
  if (FAILED(hr)) {
    TraceReportFailure("GetParameters()", hr);
    return DIENUM_CONTINUE;
  }
  AddGeneralFields(tree, line, parameters, axes, directions);
  AddTypeSpecificBlock(tree, line, info.dwEffType, parameters, block);
  return DIENUM_CONTINUE;
}

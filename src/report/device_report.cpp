#include "report/device_report.h"

#include <cstring>

#include "device/device_open.h"
#include "device/direct_input.h"
#include "report/effect_report.h"
#include "report/object_report.h"
#include "report/report_tree.h"

namespace {

constexpr FlagName capabilityFlags[] = {
    {"DIDC_ATTACHED", 0x00000001},
    {"DIDC_POLLEDDEVICE", 0x00000002},
    {"DIDC_EMULATED", 0x00000004},
    {"DIDC_POLLEDDATAFORMAT", 0x00000008},
    {"DIDC_FORCEFEEDBACK", 0x00000100},
    {"DIDC_FFATTACK", 0x00000200},
    {"DIDC_FFFADE", 0x00000400},
    {"DIDC_SATURATION", 0x00000800},
    {"DIDC_POSNEGCOEFFICIENTS", 0x00001000},
    {"DIDC_POSNEGSATURATION", 0x00002000},
    {"DIDC_DEADBAND", 0x00004000},
    {"DIDC_STARTDELAY", 0x00008000},
    {"DIDC_ALIAS", 0x00010000},
    {"DIDC_PHANTOM", 0x00020000},
    {"DIDC_HIDDEN", 0x00040000},
};

// Alphabetical, not in the order of the bits.
constexpr FlagName stateFlags[] = {
    {"DIGFFS_ACTUATORSOFF", 0x00000020},
    {"DIGFFS_ACTUATORSON", 0x00000010},
    {"DIGFFS_DEVICELOST", 0x80000000},
    {"DIGFFS_EMPTY", 0x00000001},
    {"DIGFFS_PAUSED", 0x00000004},
    {"DIGFFS_POWEROFF", 0x00000080},
    {"DIGFFS_POWERON", 0x00000040},
    {"DIGFFS_SAFETYSWITCHOFF", 0x00000200},
    {"DIGFFS_SAFETYSWITCHON", 0x00000100},
    {"DIGFFS_STOPPED", 0x00000002},
    {"DIGFFS_USERFFSWITCHOFF", 0x00000800},
    {"DIGFFS_USERFFSWITCHON", 0x00000400},
};

HTREEITEM ReportIdentity(HWND tree) {
  DIDEVICEINSTANCEA info;
  std::memset(&info, 0, sizeof(info));
  info.dwSize = sizeof(DIDEVICEINSTANCEA);
  HRESULT hr = g_pDevice->GetDeviceInfo(&info);
  if (FAILED(hr)) {
    TraceReportFailure("GetDeviceInfo()", hr);
    return AddReportItem(tree, nullptr, true, "UNKNOWN DEVICE");
  }
  info.tszInstanceName[sizeof(info.tszInstanceName) - 1] = '\0';
  info.tszProductName[sizeof(info.tszProductName) - 1] = '\0';
  HTREEITEM root = AddReportItem(tree, nullptr, true, "%s", info.tszProductName);
  char guid[reportTextRoom];
  FormatGuid(info.guidInstance, guid);
  AddReportItem(tree, root, true, "Instance GUID: %s", guid);
  FormatGuid(info.guidProduct, guid);
  AddReportItem(tree, root, true, "Product GUID: %s", guid);
  AddReportItem(tree, root, true, "Product vid: VID_%04X", static_cast<unsigned>(info.guidProduct.Data1 & 0xFFFF));
  AddReportItem(tree, root, true, "Product pid: PID_%04X",
                static_cast<unsigned>((info.guidProduct.Data1 >> 16) & 0xFFFF));
  AddReportItem(tree, root, true, "Dev type: 0x%08x", static_cast<unsigned>(info.dwDevType));
  AddReportItem(tree, root, true, "Instance name: %s", info.tszInstanceName);
  AddReportItem(tree, root, true, "Product name: %s", info.tszProductName);
  FormatGuid(info.guidFFDriver, guid);
  AddReportItem(tree, root, true, "FFB Driver GUID: %s", guid);
  AddReportItem(tree, root, true, "Usage page: 0x%08x", static_cast<unsigned>(info.wUsagePage));
  AddReportItem(tree, root, true, "Usage code: 0x%08x", static_cast<unsigned>(info.wUsage));
  return root;
}

void ReportObjectGroup(HWND tree, HTREEITEM group, DWORD filter) {
  ReportPlace place{tree, group};
  HRESULT hr = g_pDevice->EnumObjects(ReportDeviceObject, &place, filter);
  if (FAILED(hr)) TraceReportFailure("EnumObjects()", hr);
}

// The capability lines and the four object groups; false when they could not be read.
bool ReportCapabilities(HWND tree, HTREEITEM root, DIDEVCAPS& caps) {
  std::memset(&caps, 0, sizeof(caps));
  caps.dwSize = sizeof(DIDEVCAPS);
  HRESULT hr = g_pDevice->GetCapabilities(&caps);
  if (FAILED(hr)) {
    TraceReportFailure("GetCapabilities()", hr);
    return false;
  }
  ReportObjectGroup(tree, AddReportItem(tree, root, false, "Device Axis: %d", static_cast<int>(caps.dwAxes)), DIDFT_AXIS);
  ReportObjectGroup(tree, AddReportItem(tree, root, false, "Device Buttons: %d", static_cast<int>(caps.dwButtons)),
                    DIDFT_BUTTON);
  ReportObjectGroup(tree, AddReportItem(tree, root, false, "Device POVs: %d", static_cast<int>(caps.dwPOVs)), DIDFT_POV);
  ReportObjectGroup(tree, AddReportItem(tree, root, false, "Device Misc:"), DIDFT_COLLECTION | DIDFT_NODATA);
  AddReportItem(tree, root, true, "Firmware rev: %d", static_cast<int>(caps.dwFirmwareRevision));
  AddReportItem(tree, root, true, "Hardware rev: %d", static_cast<int>(caps.dwHardwareRevision));
  AddReportItem(tree, root, true, "FFB Driver ver: %d", static_cast<int>(caps.dwFFDriverVersion));
  AddFlagBreakdown(tree, root, "Device Flags: ", caps.dwFlags, capabilityFlags, CountOf(capabilityFlags));
  return true;
}

bool ReadDeviceProperty(REFGUID property, const char* name, DIPROPDWORD& value) {
  return ReadReportProperty(property, name, value.diph, sizeof(DIPROPDWORD), 0, DIPH_DEVICE);
}

void ReportDeviceProperties(HWND tree, HTREEITEM root, DIPROPDWORD& value) {
  if (ReadDeviceProperty(DIPROP_AUTOCENTER, "DIPROP_AUTOCENTER", value)) {
    AddReportItem(tree, root, true, "Auto Center: %s", value.dwData == DIPROPAUTOCENTER_ON ? "On" : "Off");
  }
  if (ReadDeviceProperty(DIPROP_AXISMODE, "DIPROP_AXISMODE", value)) {
    AddReportItem(tree, root, true, "Axis Mode: %s", value.dwData == DIPROPAXISMODE_ABS ? "Absolute" : "Relative");
  }
  if (ReadDeviceProperty(DIPROP_BUFFERSIZE, "DIPROP_BUFFERSIZE", value)) {
    AddReportItem(tree, root, true, "Read Buffer Size: %d", static_cast<int>(value.dwData));
  }
}

// The program created effects on it: proof of force feedback when the capabilities are unknown.
bool HoldsEffects() {
  for (IDirectInputEffect* effect : g_pEffect) {
    if (effect != nullptr) return true;
  }
  return false;
}

void ReportForceFeedback(HWND tree, HTREEITEM root, const DIDEVCAPS* caps, DIPROPDWORD& value) {
  HTREEITEM info = AddReportItem(tree, root, true, "FFB Info:");
  if (ReadDeviceProperty(DIPROP_FFLOAD, "DIPROP_FFLOAD", value)) {
    AddReportItem(tree, info, true, "FFB Memory Load: %d%%", static_cast<int>(value.dwData));
  }
  if (ReadDeviceProperty(DIPROP_FFGAIN, "DIPROP_FFGAIN", value)) {
    AddReportItem(tree, info, true, "FFB Gain: %d", static_cast<int>(value.dwData));
  }
  if (caps != nullptr) {
    AddReportItem(tree, info, true, "FFB Sample Period: %d", static_cast<int>(caps->dwFFSamplePeriod));
    AddReportItem(tree, info, true, "FFB Min Time: %d", static_cast<int>(caps->dwFFMinTimeResolution));
  }
  DWORD state = 0;
  HRESULT hr = g_pDevice->GetForceFeedbackState(&state);
  if (FAILED(hr)) {
    TraceReportFailure("GetForceFeedbackState()", hr);
  } else {
    AddFlagBreakdown(tree, info, "FFB State: ", state, stateFlags, CountOf(stateFlags));
  }
  ReportPlace supportedPlace{tree, AddReportItem(tree, info, false, "Supported Effects")};
  hr = g_pDevice->EnumEffects(ReportSupportedEffect, &supportedPlace, DIEFT_ALL);
  if (FAILED(hr)) TraceReportFailure("EnumEffects()", hr);
  ReportPlace activePlace{tree, AddReportItem(tree, info, true, "Active Effect")};
  hr = g_pDevice->EnumCreatedEffectObjects(ReportCreatedEffect, &activePlace, 0);
  if (FAILED(hr)) TraceReportFailure("EnumCreatedEffectObjects()", hr);
}

}  // namespace

void BuildDeviceReport(HWND tree) {
  if (tree == nullptr || g_pDI == nullptr || g_pDevice == nullptr) return;
  SendMessageA(tree, TVM_DELETEITEM, 0, 0);

  HTREEITEM root = ReportIdentity(tree);
  DIDEVCAPS caps;
  bool capsRead = ReportCapabilities(tree, root, caps);
  DIPROPDWORD value;
  std::memset(&value, 0, sizeof(value));
  ReportDeviceProperties(tree, root, value);

  bool forceFeedback = capsRead ? (caps.dwFlags & DIDC_FORCEFEEDBACK) != 0 : HoldsEffects();
  if (!forceFeedback) return;
  ReportForceFeedback(tree, root, capsRead ? &caps : nullptr, value);
}

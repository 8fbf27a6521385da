#include "report/object_report.h"

#include <cstdio>
#include <cstring>

#include "report/report_tree.h"

namespace {

constexpr FlagName objectTypes[] = {
    {"DIDFT_RELAXIS", 0x00000001},    {"DIDFT_ABSAXIS", 0x00000002},   {"DIDFT_PSHBUTTON", 0x00000004},
    {"DIDFT_TGLBUTTON", 0x00000008},  {"DIDFT_POV", 0x00000010},       {"DIDFT_COLLECTION", 0x00000040},
    {"DIDFT_NODATA", 0x00000080},     {"DIDFT_FFACTUATOR", 0x01000000}, {"DIDFT_FFEFFECTTRIGGER", 0x02000000},
};

// Aspects are matched by any common bit like every other entry, so ACCEL and MASK show
// whenever an aspect bit is set.
constexpr FlagName objectFlags[] = {
    {"DIDOI_FFACTUATOR", 0x00000001},     {"DIDOI_FFEFFECTTRIGGER", 0x00000002}, {"DIDOI_POLLED", 0x00008000},
    {"DIDOI_ASPECTPOSITION", 0x00000100}, {"DIDOI_ASPECTVELOCITY", 0x00000200}, {"DIDOI_ASPECTACCEL", 0x00000300},
    {"DIDOI_ASPECTFORCE", 0x00000400},    {"DIDOI_ASPECTMASK", 0x00000F00},    {"DIDOI_GUIDISUSAGE", 0x00010000},
};

bool ReadObjectProperty(REFGUID property, const char* name, DIPROPHEADER& header, DWORD size, DWORD type) {
  return ReadReportProperty(property, name, header, size, type, DIPH_BYID);
}

void ReportObjectProperties(HWND tree, HTREEITEM line, DWORD type) {
  DIPROPCPOINTS points;
  std::memset(&points, 0, sizeof(points));
  if (ReadObjectProperty(DIPROP_CPOINTS, "DIPROP_CPOINTS", points.diph, sizeof(points), type)) {
    ListText list;
    StartList(list);
    DWORD count = points.dwCPointsNum < MAXCPOINTSNUM ? points.dwCPointsNum : MAXCPOINTSNUM;
    for (DWORD i = 0; i < count; ++i) {
      char entry[64];
      std::snprintf(entry, sizeof(entry), "{ %d, %d }", static_cast<int>(points.cp[i].lP),
                    static_cast<int>(points.cp[i].dwLog));
      AppendListEntry(list, entry);
    }
    AddReportItem(tree, line, true, "Calibration Points: { %s }", FinishList(list));
  }

  DIPROPDWORD value;
  std::memset(&value, 0, sizeof(value));
  if (ReadObjectProperty(DIPROP_CALIBRATIONMODE, "DIPROP_CALIBRATIONMODE", value.diph, sizeof(value), type)) {
    AddReportItem(tree, line, true, "Calibration Mode: %s",
                  value.dwData == DIPROPCALIBRATIONMODE_COOKED ? "Cooked" : "Raw");
  }
  DIPROPCAL calibration;
  std::memset(&calibration, 0, sizeof(calibration));
  if (ReadObjectProperty(DIPROP_CALIBRATION, "DIPROP_CALIBRATION", calibration.diph, sizeof(calibration), type)) {
    AddReportItem(tree, line, true, "Calibration: { %d, %d, %d }", static_cast<int>(calibration.lMin),
                  static_cast<int>(calibration.lCenter), static_cast<int>(calibration.lMax));
  }
  if (ReadObjectProperty(DIPROP_DEADZONE, "DIPROP_DEADZONE", value.diph, sizeof(value), type)) {
    AddReportItem(tree, line, true, "Dead Zone: %d", static_cast<int>(value.dwData));
  }
  if (ReadObjectProperty(DIPROP_SATURATION, "DIPROP_SATURATION", value.diph, sizeof(value), type)) {
    AddReportItem(tree, line, true, "Saturation Zone: %d", static_cast<int>(value.dwData));
  }
  if (ReadObjectProperty(DIPROP_GRANULARITY, "DIPROP_GRANULARITY", value.diph, sizeof(value), type)) {
    AddReportItem(tree, line, true, "Granularity: %d", static_cast<int>(value.dwData));
  }
  DIPROPRANGE range;
  std::memset(&range, 0, sizeof(range));
  if (ReadObjectProperty(DIPROP_LOGICALRANGE, "DIPROP_LOGICALRANGE", range.diph, sizeof(range), type)) {
    AddReportItem(tree, line, true, "Logical Range: %d, %d", static_cast<int>(range.lMin), static_cast<int>(range.lMax));
  }
  if (ReadObjectProperty(DIPROP_PHYSICALRANGE, "DIPROP_PHYSICALRANGE", range.diph, sizeof(range), type)) {
    AddReportItem(tree, line, true, "Physical Range: %d, %d", static_cast<int>(range.lMin),
                  static_cast<int>(range.lMax));
  }
  if (ReadObjectProperty(DIPROP_RANGE, "DIPROP_RANGE", range.diph, sizeof(range), type)) {
    AddReportItem(tree, line, true, "Set Range: %d, %d", static_cast<int>(range.lMin), static_cast<int>(range.lMax));
  }
}

}  // namespace

BOOL CALLBACK ReportDeviceObject(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID reference) {
  const ReportPlace& place = *static_cast<const ReportPlace*>(reference);
  HWND tree = place.tree;
  HTREEITEM group = place.parent;
  char name[sizeof(object->tszName)];
  std::memcpy(name, object->tszName, sizeof(name));
  name[sizeof(name) - 1] = '\0';

  HTREEITEM line = AddReportItem(tree, group, false, "%s", name);
  char guid[reportTextRoom];
  FormatGuid(object->guidType, guid);
  AddReportItem(tree, line, true, "guidType: %s", guid);
  AddReportItem(tree, line, true, "Instance ID: %d", static_cast<int>((object->dwType >> 8) & 0xFFFF));
  AddReportItem(tree, line, true, "dwOfs: %d", static_cast<int>(object->dwOfs));
  if (object->dwFlags & DIDOI_FFACTUATOR) {
    AddReportItem(tree, line, true, "FFB Max Force: %d newtons", static_cast<int>(object->dwFFMaxForce));
    AddReportItem(tree, line, true, "FFB Force Resolution: %d", static_cast<int>(object->dwFFForceResolution));
  }
  ReportObjectProperties(tree, line, object->dwType);
  AddFlagBreakdown(tree, line, "dwType: ", object->dwType, objectTypes, CountOf(objectTypes));
  AddFlagBreakdown(tree, line, "dwFlags: ", object->dwFlags, objectFlags, CountOf(objectFlags));
  HTREEITEM hid = AddReportItem(tree, line, false, "HID Attributes");
  AddReportItem(tree, hid, true, "wCollectionNumber: %d", static_cast<int>(object->wCollectionNumber));
  AddReportItem(tree, hid, true, "wDesignatorIndex: %d", static_cast<int>(object->wDesignatorIndex));
  AddReportItem(tree, hid, true, "wUsagePage: %d", static_cast<int>(object->wUsagePage));
  AddReportItem(tree, hid, true, "wUsage: %d", static_cast<int>(object->wUsage));
  AddReportItem(tree, hid, true, "dwDimension: %d", static_cast<int>(object->dwDimension));
  AddReportItem(tree, hid, true, "wExponent: %d", static_cast<int>(object->wExponent));
  AddReportItem(tree, hid, true, "wReportId: %d", static_cast<int>(object->wReportId));
  return DIENUM_CONTINUE;
}

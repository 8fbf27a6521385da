// The host declarations against the numbers 64-bit Windows uses (the static checks in
// dinput_layout_checks.h run as this file compiles), the GUID values, the property
// references, the joystick data format, and the error codes against the names the result
// code table (generated from MinGW's headers) gives them.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "diag/result_code_name.h"
#include "platform/platform.h"

#include "host/dinput_layout_checks.h"

namespace {

struct NamedGuid {
  const char* name;
  const GUID& actual;
  GUID expected;
};

#define VANTREL_GUID_ROW(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  {#name, name, GUID{l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}},
const NamedGuid guids[] = {VANTREL_DINPUT_GUIDS(VANTREL_GUID_ROW)};
#undef VANTREL_GUID_ROW

TEST(DirectInputDeclarations, GuidsHaveTheirPublishedValues) {
  for (const NamedGuid& g : guids) {
    EXPECT_TRUE(IsEqualGUID(g.actual, g.expected)) << g.name;
  }
}

TEST(DirectInputDeclarations, PropertyReferencesAreTheirNumbers) {
  struct Row {
    const GUID& property;
    uintptr_t number;
  };
  const Row rows[] = {
      {DIPROP_BUFFERSIZE, 1},   {DIPROP_AXISMODE, 2},     {DIPROP_GRANULARITY, 3},  {DIPROP_RANGE, 4},
      {DIPROP_DEADZONE, 5},     {DIPROP_SATURATION, 6},   {DIPROP_FFGAIN, 7},       {DIPROP_FFLOAD, 8},
      {DIPROP_AUTOCENTER, 9},   {DIPROP_CALIBRATIONMODE, 10}, {DIPROP_GUIDANDPATH, 12}, {DIPROP_INSTANCENAME, 13},
      {DIPROP_PRODUCTNAME, 14}, {DIPROP_JOYSTICKID, 15},  {DIPROP_LOGICALRANGE, 19}, {DIPROP_VIDPID, 24},
  };
  for (const Row& row : rows) EXPECT_EQ(reinterpret_cast<uintptr_t>(&row.property), row.number);
}

TEST(DirectInputDeclarations, JoystickFormatIsTheStandardOne) {
  EXPECT_EQ(c_dfDIJoystick.dwSize, sizeof(DIDATAFORMAT));
  EXPECT_EQ(c_dfDIJoystick.dwObjSize, sizeof(DIOBJECTDATAFORMAT));
  EXPECT_EQ(c_dfDIJoystick.dwFlags, static_cast<DWORD>(DIDF_ABSAXIS));
  EXPECT_EQ(c_dfDIJoystick.dwDataSize, 80u);
  ASSERT_EQ(c_dfDIJoystick.dwNumObjs, 44u);
  const GUID* axisTypes[] = {&GUID_XAxis,  &GUID_YAxis,  &GUID_ZAxis,  &GUID_RxAxis,
                             &GUID_RyAxis, &GUID_RzAxis, &GUID_Slider, &GUID_Slider};
  for (DWORD i = 0; i < c_dfDIJoystick.dwNumObjs; ++i) {
    const DIOBJECTDATAFORMAT& object = c_dfDIJoystick.rgodf[i];
    EXPECT_TRUE(object.dwType & DIDFT_OPTIONAL) << "object " << i;
    EXPECT_EQ(DIDFT_GETINSTANCE(object.dwType), 0xFFFF) << "object " << i;
    if (i < 8) {
      EXPECT_EQ(object.dwOfs, i * 4) << "axis " << i;
      EXPECT_EQ(object.dwType & 0xFF, static_cast<DWORD>(DIDFT_AXIS)) << "axis " << i;
      ASSERT_NE(object.pguid, nullptr);
      EXPECT_TRUE(IsEqualGUID(*object.pguid, *axisTypes[i])) << "axis " << i;
    } else if (i < 12) {
      EXPECT_EQ(object.dwOfs, static_cast<DWORD>(DIJOFS_POV(i - 8))) << "POV " << i - 8;
      EXPECT_EQ(object.dwType & 0xFF, static_cast<DWORD>(DIDFT_POV));
      ASSERT_NE(object.pguid, nullptr);
      EXPECT_TRUE(IsEqualGUID(*object.pguid, GUID_POV));
    } else {
      EXPECT_EQ(object.dwOfs, static_cast<DWORD>(DIJOFS_BUTTON(i - 12))) << "button " << i - 12;
      EXPECT_EQ(object.dwType & 0xFF, static_cast<DWORD>(DIDFT_BUTTON));
      EXPECT_EQ(object.pguid, nullptr);
    }
  }
}

TEST(DirectInputDeclarations, ErrorCodesCarryTheirNamesInTheResultTable) {
  struct Row {
    HRESULT code;
    std::vector<std::string> names;
  };
  const Row rows[] = {
      // Codes <dinput.h> spells out itself.
      {.code = DIERR_OLDDIRECTINPUTVERSION, .names = {"DIERR_OLDDIRECTINPUTVERSION"}},
      {.code = DIERR_BETADIRECTINPUTVERSION, .names = {"DIERR_BETADIRECTINPUTVERSION"}},
      {.code = DIERR_BADDRIVERVER, .names = {"DIERR_BADDRIVERVER"}},
      {.code = DIERR_NOTFOUND, .names = {"DIERR_NOTFOUND"}},
      {.code = DIERR_OBJECTNOTFOUND, .names = {"DIERR_OBJECTNOTFOUND"}},
      {.code = DIERR_NOTINITIALIZED, .names = {"DIERR_NOTINITIALIZED"}},
      {.code = DIERR_ALREADYINITIALIZED, .names = {"DIERR_ALREADYINITIALIZED"}},
      {.code = DIERR_INPUTLOST, .names = {"DIERR_INPUTLOST"}},
      {.code = DIERR_ACQUIRED, .names = {"DIERR_ACQUIRED"}},
      {.code = DIERR_NOTACQUIRED, .names = {"DIERR_NOTACQUIRED"}},
      {.code = DIERR_INSUFFICIENTPRIVS, .names = {"DIERR_INSUFFICIENTPRIVS"}},
      {.code = DIERR_DEVICEFULL, .names = {"DIERR_DEVICEFULL"}},
      {.code = DIERR_MOREDATA, .names = {"DIERR_MOREDATA"}},
      {.code = DIERR_NOTDOWNLOADED, .names = {"DIERR_NOTDOWNLOADED"}},
      {.code = DIERR_HASEFFECTS, .names = {"DIERR_HASEFFECTS"}},
      {.code = DIERR_NOTEXCLUSIVEACQUIRED, .names = {"DIERR_NOTEXCLUSIVEACQUIRED"}},
      {.code = DIERR_INCOMPLETEEFFECT, .names = {"DIERR_INCOMPLETEEFFECT"}},
      {.code = DIERR_NOTBUFFERED, .names = {"DIERR_NOTBUFFERED"}},
      {.code = DIERR_EFFECTPLAYING, .names = {"DIERR_EFFECTPLAYING"}},
      {.code = DIERR_UNPLUGGED, .names = {"DIERR_UNPLUGGED"}},
      {.code = DIERR_REPORTFULL, .names = {"DIERR_REPORTFULL"}},
      {.code = DIERR_MAPFILEFAIL, .names = {"DIERR_MAPFILEFAIL"}},
      {.code = DIERR_DRIVERFIRST, .names = {"DIERR_DRIVERFIRST"}},
      {.code = DIERR_DRIVERLAST, .names = {"DIERR_DRIVERLAST"}},
      // Codes <dinput.h> defines as another header's: both names.
      {.code = DIERR_DEVICENOTREG, .names = {"REGDB_E_CLASSNOTREG", "DIERR_DEVICENOTREG"}},
      {.code = DIERR_INVALIDPARAM, .names = {"E_INVALIDARG", "DIERR_INVALIDPARAM"}},
      {.code = DIERR_NOINTERFACE, .names = {"E_NOINTERFACE", "DIERR_NOINTERFACE"}},
      {.code = DIERR_GENERIC, .names = {"E_FAIL", "DIERR_GENERIC"}},
      {.code = DIERR_OUTOFMEMORY, .names = {"E_OUTOFMEMORY", "DIERR_OUTOFMEMORY"}},
      {.code = DIERR_UNSUPPORTED, .names = {"E_NOTIMPL", "DIERR_UNSUPPORTED"}},
      {.code = DIERR_NOAGGREGATION, .names = {"CLASS_E_NOAGGREGATION", "DIERR_NOAGGREGATION"}},
      {.code = DIERR_OTHERAPPHASPRIO, .names = {"E_ACCESSDENIED", "DIERR_OTHERAPPHASPRIO"}},
      {.code = DIERR_READONLY, .names = {"E_ACCESSDENIED", "DIERR_READONLY"}},
      {.code = DIERR_HANDLEEXISTS, .names = {"E_ACCESSDENIED", "DIERR_HANDLEEXISTS"}},
  };
  for (const Row& row : rows) {
    // Whole names between the " & " joints: DIERR_NOTACQUIRED must not pass as part of another name.
    std::set<std::string> found;
    std::string text = ResultCodeName(row.code);
    for (size_t start = 0, joint; start <= text.size(); start = joint + 3) {
      joint = text.find(" & ", start);
      if (joint == std::string::npos) joint = text.size();
      found.insert(text.substr(start, joint - start));
    }
    for (const std::string& name : row.names) {
      EXPECT_EQ(found.count(name), 1u) << name << " is 0x" << std::hex << static_cast<uint32_t>(row.code)
                                       << ", which the table calls " << text;
    }
  }
}

}  // namespace

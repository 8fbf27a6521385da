// The host declarations against the numbers 64-bit Windows uses (the static checks in
// dinput_layout_checks.h run as this file compiles), the GUID values, the property
// references, the joystick data format, and the error codes against the names the result
// code table (generated from MinGW's headers) gives them.
#include <cstdint>
#include <cstring>

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
    const char* name;
  };
  // Codes <dinput.h> spells out itself: the table must name them.
  const Row own[] = {
      {DIERR_OLDDIRECTINPUTVERSION, "DIERR_OLDDIRECTINPUTVERSION"},
      {DIERR_BETADIRECTINPUTVERSION, "DIERR_BETADIRECTINPUTVERSION"},
      {DIERR_BADDRIVERVER, "DIERR_BADDRIVERVER"},
      {DIERR_NOTFOUND, "DIERR_NOTFOUND"},
      {DIERR_OBJECTNOTFOUND, "DIERR_OBJECTNOTFOUND"},
      {DIERR_NOTINITIALIZED, "DIERR_NOTINITIALIZED"},
      {DIERR_ALREADYINITIALIZED, "DIERR_ALREADYINITIALIZED"},
      {DIERR_INPUTLOST, "DIERR_INPUTLOST"},
      {DIERR_ACQUIRED, "DIERR_ACQUIRED"},
      {DIERR_NOTACQUIRED, "DIERR_NOTACQUIRED"},
      {DIERR_INSUFFICIENTPRIVS, "DIERR_INSUFFICIENTPRIVS"},
      {DIERR_DEVICEFULL, "DIERR_DEVICEFULL"},
      {DIERR_MOREDATA, "DIERR_MOREDATA"},
      {DIERR_NOTDOWNLOADED, "DIERR_NOTDOWNLOADED"},
      {DIERR_HASEFFECTS, "DIERR_HASEFFECTS"},
      {DIERR_NOTEXCLUSIVEACQUIRED, "DIERR_NOTEXCLUSIVEACQUIRED"},
      {DIERR_INCOMPLETEEFFECT, "DIERR_INCOMPLETEEFFECT"},
      {DIERR_NOTBUFFERED, "DIERR_NOTBUFFERED"},
      {DIERR_EFFECTPLAYING, "DIERR_EFFECTPLAYING"},
      {DIERR_UNPLUGGED, "DIERR_UNPLUGGED"},
      {DIERR_REPORTFULL, "DIERR_REPORTFULL"},
      {DIERR_MAPFILEFAIL, "DIERR_MAPFILEFAIL"},
      {DIERR_DRIVERFIRST, "DIERR_DRIVERFIRST"},
      {DIERR_DRIVERLAST, "DIERR_DRIVERLAST"},
  };
  for (const Row& row : own) {
    const char* name = ResultCodeName(row.code);
    EXPECT_NE(std::strstr(name, row.name), nullptr)
        << row.name << " is 0x" << std::hex << static_cast<uint32_t>(row.code) << ", which the table calls " << name;
  }
  // Codes <dinput.h> defines as another header's name: the table names that one.
  const Row aliases[] = {
      {DIERR_DEVICENOTREG, "REGDB_E_CLASSNOTREG"}, {DIERR_INVALIDPARAM, "E_INVALIDARG"},
      {DIERR_NOINTERFACE, "E_NOINTERFACE"},        {DIERR_GENERIC, "E_FAIL"},
      {DIERR_OUTOFMEMORY, "E_OUTOFMEMORY"},        {DIERR_UNSUPPORTED, "E_NOTIMPL"},
      {DIERR_NOAGGREGATION, "CLASS_E_NOAGGREGATION"}, {DIERR_OTHERAPPHASPRIO, "E_ACCESSDENIED"},
      {DIERR_READONLY, "E_ACCESSDENIED"},          {DIERR_HANDLEEXISTS, "E_ACCESSDENIED"},
  };
  for (const Row& row : aliases) {
    const char* name = ResultCodeName(row.code);
    EXPECT_NE(std::strstr(name, row.name), nullptr)
        << "0x" << std::hex << static_cast<uint32_t>(row.code) << " should be " << row.name << ", the table says "
        << name;
  }
}

}  // namespace

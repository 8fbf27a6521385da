// The report double's own DirectInput behaviour, which report tests rely on: which objects
// each filter delivers and how a scripted failure cuts an enumeration short; property
// answers by key and by the caller's structure size, with nothing written on refusal; and
// GetParameters' short-buffer, envelope and flags rules.
#include "support/report_device_double.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace test_support {
namespace {

constexpr uint8_t untouched = 0xEE;
constexpr DWORD untouchedWord = 0xEEEEEEEE;

std::vector<uint8_t> Words(const std::vector<int64_t>& values) {
  std::vector<uint8_t> bytes;
  for (int64_t value : values) {
    uint32_t word = static_cast<uint32_t>(value);
    uint8_t raw[4];
    std::memcpy(raw, &word, sizeof(raw));
    bytes.insert(bytes.end(), raw, raw + 4);
  }
  return bytes;
}

// --- EnumObjects

constexpr DWORD wheelId = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(0) | DIDFT_FFACTUATOR;
constexpr DWORD dialId = DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(1);

std::vector<DIDEVICEOBJECTINSTANCEA> SampleObjects() {
  return {
      MakeObject("Wheel", GUID_XAxis, 0, wheelId, DIDOI_FFACTUATOR),
      MakeObject("Dial", GUID_Slider, 4, dialId, 0),
      MakeObject("Push", GUID_Button, 8, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(0), 0),
      MakeObject("Toggle", GUID_Button, 9, DIDFT_TGLBUTTON | DIDFT_MAKEINSTANCE(1), 0),
      MakeObject("Hat", GUID_POV, 12, DIDFT_POV | DIDFT_MAKEINSTANCE(0), 0),
      MakeObject("Collection", GUID_Unknown, 0, DIDFT_COLLECTION | DIDFT_NODATA | DIDFT_MAKEINSTANCE(0), 0),
      MakeObject("Output", GUID_Unknown, 0, DIDFT_NODATA | DIDFT_OUTPUT | DIDFT_MAKEINSTANCE(1), 0),
  };
}

struct Collected {
  std::vector<std::string> names;
  size_t stopAfter = SIZE_MAX;
};

BOOL CALLBACK CollectObject(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID ref) {
  auto* collected = static_cast<Collected*>(ref);
  EXPECT_EQ(object->dwSize, sizeof(DIDEVICEOBJECTINSTANCEA));
  collected->names.push_back(object->tszName);
  return collected->names.size() == collected->stopAfter ? DIENUM_STOP : DIENUM_CONTINUE;
}

TEST(ReportDeviceDouble, EnumObjectsDeliversByFilterAndFailsWhereScripted) {
  constexpr HRESULT lost = DIERR_INPUTLOST;
  struct Row {
    const char* name;
    DWORD filter;
    std::vector<EnumObjectsFailure> failures;
    size_t stopAfter;
    std::vector<std::string> delivered;
    HRESULT result;
  };
  const std::vector<Row> rows = {
      {"DIDFT_ALL", DIDFT_ALL, {}, SIZE_MAX, {"Wheel", "Dial", "Push", "Toggle", "Hat", "Collection", "Output"}, DI_OK},
      {"axes, absolute and relative", DIDFT_AXIS, {}, SIZE_MAX, {"Wheel", "Dial"}, DI_OK},
      {"buttons, push and toggle", DIDFT_BUTTON, {}, SIZE_MAX, {"Push", "Toggle"}, DI_OK},
      {"POVs", DIDFT_POV, {}, SIZE_MAX, {"Hat"}, DI_OK},
      {"collections and no-data objects", DIDFT_COLLECTION | DIDFT_NODATA, {}, SIZE_MAX, {"Collection", "Output"},
       DI_OK},
      {"only the low byte filters", DIDFT_POV | DIDFT_FFACTUATOR, {}, SIZE_MAX, {"Hat"}, DI_OK},
      {"the callback stops it", DIDFT_ALL, {}, 2, {"Wheel", "Dial"}, DI_OK},
      {"fails after one button", DIDFT_BUTTON, {{DIDFT_BUTTON, lost, 1}}, SIZE_MAX, {"Push"}, lost},
      {"fails before any axis", DIDFT_AXIS, {{DIDFT_AXIS, DIERR_NOTACQUIRED, 0}}, SIZE_MAX, {}, DIERR_NOTACQUIRED},
      {"fails after delivering all", DIDFT_POV, {{DIDFT_POV, lost, 5}}, SIZE_MAX, {"Hat"}, lost},
      {"a failure for another filter", DIDFT_POV, {{DIDFT_BUTTON, lost, 0}}, SIZE_MAX, {"Hat"}, DI_OK},
      {"stopped before the failure", DIDFT_AXIS, {{DIDFT_AXIS, lost, 2}}, 1, {"Wheel"}, DI_OK},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ReportDeviceDouble device;
    device.objects = SampleObjects();
    device.enumObjectsFailures = row.failures;
    Collected collected;
    collected.stopAfter = row.stopAfter;
    EXPECT_EQ(device.EnumObjects(CollectObject, &collected, row.filter), row.result);
    EXPECT_EQ(collected.names, row.delivered);
    EXPECT_EQ(device.enumObjectsFilters, std::vector<DWORD>{row.filter});
  }
}

TEST(ReportDeviceDouble, BuildersCutNamesToFitAndZeroTheRest) {
  std::string longName(400, 'n');
  DIDEVICEOBJECTINSTANCEA object = MakeObject(longName.c_str(), GUID_RzAxis, 20, dialId, DIDOI_ASPECTFORCE);
  EXPECT_EQ(object.dwSize, sizeof(DIDEVICEOBJECTINSTANCEA));
  EXPECT_EQ(object.guidType, GUID_RzAxis);
  EXPECT_EQ(object.dwOfs, 20u);
  EXPECT_EQ(object.dwType, dialId);
  EXPECT_EQ(object.dwFlags, static_cast<DWORD>(DIDOI_ASPECTFORCE));
  EXPECT_EQ(std::string(object.tszName), longName.substr(0, MAX_PATH - 1));
  EXPECT_EQ(object.dwFFMaxForce, 0u);
  EXPECT_EQ(object.wUsage, 0u);
  EXPECT_EQ(object.wReportId, 0u);

  DIEFFECTINFOA info = MakeEffectInfo(GUID_Spring, longName.c_str(), DIEFT_CONDITION, DIEP_ALLPARAMS, DIEP_GAIN);
  EXPECT_EQ(info.dwSize, sizeof(DIEFFECTINFOA));
  EXPECT_EQ(info.guid, GUID_Spring);
  EXPECT_EQ(info.dwEffType, static_cast<DWORD>(DIEFT_CONDITION));
  EXPECT_EQ(info.dwStaticParams, static_cast<DWORD>(DIEP_ALLPARAMS));
  EXPECT_EQ(info.dwDynamicParams, static_cast<DWORD>(DIEP_GAIN));
  EXPECT_EQ(std::string(info.tszName), longName.substr(0, MAX_PATH - 1));
}

// --- GetProperty

TEST(ReportDeviceDouble, GetPropertyAnswersByKeyAndFillsByTheCallersSize) {
  constexpr DWORD otherAxis = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(1);
  ReportDeviceDouble device;
  device.AnswerDeviceProperty(DIPROP_FFGAIN, {.dwData = 7500});
  device.AnswerDeviceProperty(DIPROP_AUTOCENTER, {.result = DI_PROPNOEFFECT, .dwData = DIPROPAUTOCENTER_ON});
  device.AnswerObjectProperty(DIPROP_RANGE, wheelId, {.lMin = -32768, .lMax = 32767});
  device.AnswerObjectProperty(DIPROP_CALIBRATION, wheelId, {.lMin = 3, .lCenter = 512, .lMax = 1020});
  device.AnswerObjectProperty(DIPROP_CPOINTS, wheelId, {.points = {{-100, 0}, {100, 10000}}});
  std::vector<CPOINT> nine;
  std::vector<int64_t> nineWritten = {9};
  for (LONG i = 0; i < 9; ++i) {
    nine.push_back({i * 10, static_cast<DWORD>(i * 1000)});
    if (i < 8) nineWritten.insert(nineWritten.end(), {i * 10, i * 1000});
  }
  device.AnswerObjectProperty(DIPROP_CPOINTS, otherAxis, {.points = nine});
  device.AnswerEveryObjectProperty(DIPROP_DEADZONE, {.result = DIERR_INPUTLOST});
  device.AnswerObjectProperty(DIPROP_DEADZONE, wheelId, {.dwData = 500});
  device.AnswerObjectProperty(DIPROP_SATURATION, wheelId, {.result = DIERR_OBJECTNOTFOUND, .dwData = 1});

  struct Row {
    const char* name;
    const GUID& property;
    DWORD dwSize;
    DWORD dwObj;
    DWORD dwHow;
    HRESULT result;
    std::vector<uint8_t> written;  // the bytes expected after the header; empty: none
    DWORD dwHeaderSize = sizeof(DIPROPHEADER);
  };
  const DWORD dword = sizeof(DIPROPDWORD);
  const DWORD range = sizeof(DIPROPRANGE);
  const DWORD cal = sizeof(DIPROPCAL);
  const DWORD cpoints = sizeof(DIPROPCPOINTS);
  const std::vector<Row> rows = {
      {"device DWORD", DIPROP_FFGAIN, dword, 0, DIPH_DEVICE, DI_OK, Words({7500})},
      {"a success code still fills", DIPROP_AUTOCENTER, dword, 0, DIPH_DEVICE, DI_PROPNOEFFECT, Words({1})},
      {"range", DIPROP_RANGE, range, wheelId, DIPH_BYID, DI_OK, Words({-32768, 32767})},
      {"calibration", DIPROP_CALIBRATION, cal, wheelId, DIPH_BYID, DI_OK, Words({3, 512, 1020})},
      {"calibration points", DIPROP_CPOINTS, cpoints, wheelId, DIPH_BYID, DI_OK, Words({2, -100, 0, 100, 10000})},
      {"more points than fit", DIPROP_CPOINTS, cpoints, otherAxis, DIPH_BYID, DI_OK, Words(nineWritten)},
      {"the object's own answer first", DIPROP_DEADZONE, dword, wheelId, DIPH_BYID, DI_OK, Words({500})},
      {"then the every-object answer", DIPROP_DEADZONE, dword, otherAxis, DIPH_BYID, DIERR_INPUTLOST, {}},
      {"which is no device answer", DIPROP_DEADZONE, dword, 0, DIPH_DEVICE, DIERR_UNSUPPORTED, {}},
      {"a scripted failure writes nothing", DIPROP_SATURATION, dword, wheelId, DIPH_BYID, DIERR_OBJECTNOTFOUND, {}},
      {"unscripted", DIPROP_SATURATION, dword, otherAxis, DIPH_BYID, DIERR_UNSUPPORTED, {}},
      {"dwHow is part of the key", DIPROP_RANGE, range, wheelId, DIPH_BYOFFSET, DIERR_UNSUPPORTED, {}},
      {"a structure the property does not take", DIPROP_RANGE, dword, wheelId, DIPH_BYID, DIERR_INVALIDPARAM, {}},
      {"a header of the wrong size", DIPROP_FFGAIN, dword, 0, DIPH_DEVICE, DIERR_INVALIDPARAM, {}, 20},
      {"a device header naming an object", DIPROP_FFGAIN, dword, wheelId, DIPH_DEVICE, DIERR_INVALIDPARAM, {}},
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(row.name);
    // Room past the largest structure, to see nothing is written beyond dwSize.
    alignas(8) uint8_t buffer[cpoints + 16];
    std::memset(buffer, untouched, sizeof(buffer));
    DIPROPHEADER header{row.dwSize, row.dwHeaderSize, row.dwObj, row.dwHow};
    std::memcpy(buffer, &header, sizeof(header));
    std::vector<uint8_t> expected(buffer, buffer + sizeof(buffer));
    std::copy(row.written.begin(), row.written.end(), expected.begin() + sizeof(DIPROPHEADER));

    EXPECT_EQ(device.GetProperty(row.property, reinterpret_cast<LPDIPROPHEADER>(buffer)), row.result);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + sizeof(buffer)), expected);
    ASSERT_EQ(device.propertyCalls.size(), i + 1);
    EXPECT_EQ(device.propertyCalls.back(),
              (PropertyCall{PropertyId(row.property), row.dwSize, row.dwHeaderSize, row.dwObj, row.dwHow}));
  }
  EXPECT_EQ(device.propertyCalls.front().property, 7u) << "DIPROP_FFGAIN is recorded by its number";
}

// --- GetParameters

// A caller's DIEFFECT with room for eight axes and a 192-byte block, every member and
// array byte preset so that what the double wrote shows.
struct ParametersRequest {
  DWORD axes[8];
  LONG directions[8];
  DIENVELOPE envelope;
  uint8_t block[192];
  DIEFFECT effect;

  ParametersRequest() {
    std::memset(axes, untouched, sizeof(axes));
    std::memset(directions, untouched, sizeof(directions));
    std::memset(&envelope, untouched, sizeof(envelope));
    std::memset(block, untouched, sizeof(block));
    std::memset(&effect, untouched, sizeof(effect));
    envelope.dwSize = sizeof(DIENVELOPE);
    effect.dwSize = sizeof(DIEFFECT);
    effect.dwFlags = DIEFF_OBJECTOFFSETS | DIEFF_CARTESIAN;
    effect.cAxes = 8;
    effect.rgdwAxes = axes;
    effect.rglDirection = directions;
    effect.lpEnvelope = &envelope;
    effect.cbTypeSpecificParams = sizeof(block);
    effect.lpvTypeSpecificParams = block;
  }
  ParametersRequest(const ParametersRequest&) = delete;
  ParametersRequest& operator=(const ParametersRequest&) = delete;
};

// Two axes, an envelope and a 48-byte block (two conditions' worth).
void ScriptEffect(ReportEffectDouble& effect) {
  effect.guid = GUID_Spring;
  effect.dwDuration = 2000000;
  effect.dwSamplePeriod = 1000;
  effect.dwGain = 7500;
  effect.dwTriggerButton = 48;
  effect.dwTriggerRepeatInterval = 250000;
  effect.dwStartDelay = 30000;
  effect.axes = {0, 4};
  effect.directions = {10000, -5000};
  effect.hasEnvelope = true;
  effect.envelope = {0, 1000, 2000, 3000, 4000};
  effect.typeSpecific.resize(48);
  for (size_t i = 0; i < effect.typeSpecific.size(); ++i) effect.typeSpecific[i] = static_cast<uint8_t>(i + 1);
}

TEST(ReportDeviceDoubleEffect, GetParametersWritesEveryMemberAskedAndEchoesTheFlags) {
  ReportEffectDouble effect;
  ScriptEffect(effect);
  ParametersRequest request;
  ASSERT_EQ(effect.GetParameters(&request.effect, DIEP_ALLPARAMS), DI_OK);

  const DIEFFECT& e = request.effect;
  EXPECT_EQ(e.dwSize, sizeof(DIEFFECT));
  EXPECT_EQ(e.dwFlags, static_cast<DWORD>(DIEFF_OBJECTOFFSETS | DIEFF_CARTESIAN));
  EXPECT_EQ(e.dwDuration, 2000000u);
  EXPECT_EQ(e.dwSamplePeriod, 1000u);
  EXPECT_EQ(e.dwGain, 7500u);
  EXPECT_EQ(e.dwTriggerButton, 48u);
  EXPECT_EQ(e.dwTriggerRepeatInterval, 250000u);
  EXPECT_EQ(e.dwStartDelay, 30000u);
  EXPECT_EQ(e.cAxes, 2u);
  EXPECT_EQ(std::vector<DWORD>(request.axes, request.axes + 3), (std::vector<DWORD>{0, 4, untouchedWord}));
  EXPECT_EQ(std::vector<LONG>(request.directions, request.directions + 3),
            (std::vector<LONG>{10000, -5000, static_cast<LONG>(untouchedWord)}));
  ASSERT_EQ(e.lpEnvelope, &request.envelope);
  EXPECT_EQ(request.envelope.dwSize, sizeof(DIENVELOPE));
  EXPECT_EQ(request.envelope.dwAttackLevel, 1000u);
  EXPECT_EQ(request.envelope.dwAttackTime, 2000u);
  EXPECT_EQ(request.envelope.dwFadeLevel, 3000u);
  EXPECT_EQ(request.envelope.dwFadeTime, 4000u);
  EXPECT_EQ(e.cbTypeSpecificParams, 48u);
  EXPECT_EQ(std::vector<uint8_t>(request.block, request.block + 48), effect.typeSpecific);
  EXPECT_EQ(request.block[48], untouched);

  EXPECT_EQ(effect.parametersCalls, 1u);
  const ParametersCall& call = effect.lastParametersCall;
  EXPECT_TRUE(call.hadEffect);
  EXPECT_EQ(call.dwSize, sizeof(DIEFFECT));
  EXPECT_EQ(call.dwFlags, static_cast<DWORD>(DIEFF_OBJECTOFFSETS | DIEFF_CARTESIAN));
  EXPECT_EQ(call.cAxes, 8u);
  EXPECT_EQ(call.cbTypeSpecificParams, 192u);
  EXPECT_TRUE(call.hadEnvelope);
  EXPECT_EQ(call.mask, static_cast<DWORD>(DIEP_ALLPARAMS));
}

TEST(ReportDeviceDoubleEffect, GetParametersFollowsTheMaskTheFlagsAndTheEnvelope) {
  struct Row {
    const char* name;
    std::function<void(ReportEffectDouble&)> script;
    std::function<void(DIEFFECT&)> ask;
    DWORD mask;
    DWORD dwFlags;
    bool envelopeCleared;
    DWORD cAxes;
    DWORD cbTypeSpecificParams;
    DWORD dwDuration;
  };
  constexpr DWORD asked = DIEFF_OBJECTOFFSETS | DIEFF_CARTESIAN;
  const std::vector<Row> rows = {
      {"scripted flags are reported", [](ReportEffectDouble& e) { e.flags = DIEFF_OBJECTIDS | DIEFF_POLAR; },
       [](DIEFFECT&) {}, DIEP_ALLPARAMS, DIEFF_OBJECTIDS | DIEFF_POLAR, false, 2, 48, 2000000},
      {"no envelope clears the pointer", [](ReportEffectDouble& e) { e.hasEnvelope = false; }, [](DIEFFECT&) {},
       DIEP_ALLPARAMS, asked, true, 2, 48, 2000000},
      {"no envelope, not asked: the pointer stays", [](ReportEffectDouble& e) { e.hasEnvelope = false; },
       [](DIEFFECT&) {}, DIEP_ALLPARAMS & ~DIEP_ENVELOPE, asked, false, 2, 48, 2000000},
      {"members not asked are not written nor sized", [](ReportEffectDouble&) {},
       [](DIEFFECT& e) {
         e.cAxes = 0;
         e.cbTypeSpecificParams = 0;
       },
       DIEP_GAIN, asked, false, 0, 0, untouchedWord},
      {"no axes and no block", [](ReportEffectDouble& e) {
         e.axes.clear();
         e.directions.clear();
         e.typeSpecific.clear();
       },
       [](DIEFFECT& e) {
         e.rgdwAxes = nullptr;
         e.rglDirection = nullptr;
         e.lpvTypeSpecificParams = nullptr;
       },
       DIEP_ALLPARAMS, asked, false, 0, 0, 2000000},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ReportEffectDouble effect;
    ScriptEffect(effect);
    row.script(effect);
    ParametersRequest request;
    row.ask(request.effect);
    ASSERT_EQ(effect.GetParameters(&request.effect, row.mask), DI_OK);
    EXPECT_EQ(request.effect.dwFlags, row.dwFlags);
    EXPECT_EQ(request.effect.lpEnvelope, row.envelopeCleared ? nullptr : &request.envelope);
    EXPECT_EQ(request.effect.cAxes, row.cAxes);
    EXPECT_EQ(request.effect.cbTypeSpecificParams, row.cbTypeSpecificParams);
    EXPECT_EQ(request.effect.dwDuration, row.dwDuration);
    EXPECT_EQ(request.effect.dwGain, 7500u);
  }
}

bool SameExceptSizes(const DIEFFECT& a, const DIEFFECT& b) {
  return a.dwSize == b.dwSize && a.dwFlags == b.dwFlags && a.dwDuration == b.dwDuration &&
         a.dwSamplePeriod == b.dwSamplePeriod && a.dwGain == b.dwGain && a.dwTriggerButton == b.dwTriggerButton &&
         a.dwTriggerRepeatInterval == b.dwTriggerRepeatInterval && a.rgdwAxes == b.rgdwAxes &&
         a.rglDirection == b.rglDirection && a.lpEnvelope == b.lpEnvelope &&
         a.lpvTypeSpecificParams == b.lpvTypeSpecificParams && a.dwStartDelay == b.dwStartDelay;
}

TEST(ReportDeviceDoubleEffect, GetParametersRefusesWithoutWritingAndSizesShortArrays) {
  struct Row {
    const char* name;
    std::function<void(ReportEffectDouble&)> script;
    std::function<void(DIEFFECT&)> ask;
    DWORD mask;
    HRESULT result;
    DWORD cAxes;
    DWORD cbTypeSpecificParams;
  };
  auto scripted = [](ReportEffectDouble&) {};
  const std::vector<Row> rows = {
      {"too few axes", scripted, [](DIEFFECT& e) { e.cAxes = 1; }, DIEP_ALLPARAMS, DIERR_MOREDATA, 2, 192},
      {"too few directions", scripted, [](DIEFFECT& e) { e.cAxes = 1; }, DIEP_DIRECTION, DIERR_MOREDATA, 2, 192},
      {"too small a block", scripted, [](DIEFFECT& e) { e.cbTypeSpecificParams = 47; }, DIEP_ALLPARAMS,
       DIERR_MOREDATA, 8, 48},
      {"both short",
       scripted,
       [](DIEFFECT& e) {
         e.cAxes = 0;
         e.cbTypeSpecificParams = 0;
       },
       DIEP_ALLPARAMS, DIERR_MOREDATA, 2, 48},
      {"a scripted failure", [](ReportEffectDouble& e) { e.parametersResult = DIERR_NOTINITIALIZED; },
       [](DIEFFECT&) {}, DIEP_ALLPARAMS, DIERR_NOTINITIALIZED, 8, 192},
      {"the DirectInput 5 size", scripted, [](DIEFFECT& e) { e.dwSize = sizeof(DIEFFECT_DX5); }, DIEP_ALLPARAMS,
       DIERR_INVALIDPARAM, 8, 192},
      {"a mask bit beyond the members", scripted, [](DIEFFECT&) {}, DIEP_ALLPARAMS | DIEP_START, DIERR_INVALIDPARAM,
       8, 192},
      {"an envelope with nowhere to go", scripted, [](DIEFFECT& e) { e.lpEnvelope = nullptr; }, DIEP_ALLPARAMS,
       DIERR_INVALIDPARAM, 8, 192},
      {"no axis array", scripted, [](DIEFFECT& e) { e.rgdwAxes = nullptr; }, DIEP_AXES, DIERR_INVALIDPARAM, 8, 192},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ReportEffectDouble effect;
    ScriptEffect(effect);
    row.script(effect);
    ParametersRequest request;
    row.ask(request.effect);
    DIEFFECT before = request.effect;
    EXPECT_EQ(effect.GetParameters(&request.effect, row.mask), row.result);
    EXPECT_EQ(request.effect.cAxes, row.cAxes);
    EXPECT_EQ(request.effect.cbTypeSpecificParams, row.cbTypeSpecificParams);
    // Nothing else moved: the members, the pointers and what they point at.
    EXPECT_TRUE(SameExceptSizes(request.effect, before));
    EXPECT_EQ(request.axes[0], untouchedWord);
    EXPECT_EQ(request.directions[0], static_cast<LONG>(untouchedWord));
    EXPECT_EQ(request.envelope.dwAttackLevel, untouchedWord);
    EXPECT_EQ(request.block[0], untouched);
  }

  ReportEffectDouble effect;
  EXPECT_EQ(effect.GetParameters(nullptr, DIEP_ALLPARAMS), DIERR_INVALIDPARAM);
  EXPECT_FALSE(effect.lastParametersCall.hadEffect);
  EXPECT_EQ(effect.lastParametersCall.mask, static_cast<DWORD>(DIEP_ALLPARAMS));
}

// --- Sized structures, effect lists and references

TEST(ReportDeviceDouble, InfoAndCapabilitiesTakeEitherPublishedSizeAndKeepTheCallers) {
  struct Row {
    const char* name;
    bool capabilities;
    DWORD dwSize;
    HRESULT scripted;
    HRESULT result;
    size_t copied;  // bytes written after dwSize ends
  };
  const std::vector<Row> rows = {
      {"device info", false, sizeof(DIDEVICEINSTANCEA), DI_OK, DI_OK, sizeof(DIDEVICEINSTANCEA)},
      {"device info, DirectInput 3", false, sizeof(DIDEVICEINSTANCE_DX3A), DI_OK, DI_OK,
       sizeof(DIDEVICEINSTANCE_DX3A)},
      {"device info, another size", false, sizeof(DIDEVICEINSTANCEA) - 4, DI_OK, DIERR_INVALIDPARAM, 4},
      {"device info, scripted failure", false, sizeof(DIDEVICEINSTANCEA), DIERR_INPUTLOST, DIERR_INPUTLOST, 4},
      {"capabilities", true, sizeof(DIDEVCAPS), DI_OK, DI_OK, sizeof(DIDEVCAPS)},
      {"capabilities, DirectInput 3", true, sizeof(DIDEVCAPS_DX3), DI_OK, DI_OK, sizeof(DIDEVCAPS_DX3)},
      {"capabilities, another size", true, sizeof(DIDEVCAPS) + 4, DI_OK, DIERR_INVALIDPARAM, 4},
      {"capabilities, scripted failure", true, sizeof(DIDEVCAPS), DIERR_UNPLUGGED, DIERR_UNPLUGGED, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ReportDeviceDouble device;
    std::memset(&device.deviceInfo, 0x11, sizeof(device.deviceInfo));
    std::memset(&device.caps, 0x22, sizeof(device.caps));
    device.deviceInfoResult = row.capabilities ? DI_OK : row.scripted;
    device.capsResult = row.capabilities ? row.scripted : DI_OK;
    alignas(8) uint8_t buffer[sizeof(DIDEVICEINSTANCEA) + 16];
    std::memset(buffer, untouched, sizeof(buffer));
    std::memcpy(buffer, &row.dwSize, sizeof(DWORD));
    HRESULT result = row.capabilities ? device.GetCapabilities(reinterpret_cast<LPDIDEVCAPS>(buffer))
                                      : device.GetDeviceInfo(reinterpret_cast<LPDIDEVICEINSTANCEA>(buffer));
    EXPECT_EQ(result, row.result);
    std::vector<uint8_t> expected(sizeof(buffer), untouched);
    std::memcpy(expected.data(), &row.dwSize, sizeof(DWORD));
    std::fill(expected.begin() + 4, expected.begin() + static_cast<ptrdiff_t>(row.copied),
              row.capabilities ? 0x22 : 0x11);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + sizeof(buffer)), expected);
  }
}

BOOL CALLBACK CollectEffectInfo(LPCDIEFFECTINFOA info, LPVOID ref) {
  auto* collected = static_cast<Collected*>(ref);
  collected->names.push_back(info->tszName);
  return collected->names.size() == collected->stopAfter ? DIENUM_STOP : DIENUM_CONTINUE;
}

BOOL CALLBACK CollectEffect(LPDIRECTINPUTEFFECT effect, LPVOID ref) {
  auto* delivered = static_cast<std::vector<LPDIRECTINPUTEFFECT>*>(ref);
  delivered->push_back(effect);
  return delivered->size() == 2 ? DIENUM_STOP : DIENUM_CONTINUE;
}

TEST(ReportDeviceDouble, EffectListsAnswerAsScripted) {
  ReportDeviceDouble device;
  device.supportedEffects = {
      MakeEffectInfo(GUID_ConstantForce, "Constant", DIEFT_CONSTANTFORCE | DIEFT_FFATTACK, DIEP_ALLPARAMS, 0),
      MakeEffectInfo(GUID_Spring, "Spring", DIEFT_CONDITION | DIEFT_DEADBAND, DIEP_ALLPARAMS, DIEP_GAIN),
      MakeEffectInfo(GUID_Damper, "Damper", DIEFT_CONDITION, DIEP_ALLPARAMS, 0),
  };

  struct Row {
    const char* name;
    DWORD filter;
    size_t stopAfter;
    HRESULT scripted;
    std::vector<std::string> delivered;
  };
  const std::vector<Row> rows = {
      {"DIEFT_ALL", DIEFT_ALL, SIZE_MAX, DI_OK, {"Constant", "Spring", "Damper"}},
      {"conditions, whatever their flags", DIEFT_CONDITION, SIZE_MAX, DI_OK, {"Spring", "Damper"}},
      {"a type with none", DIEFT_PERIODIC, SIZE_MAX, DI_OK, {}},
      {"stopped by the callback", DIEFT_ALL, 1, DI_OK, {"Constant"}},
      {"a failure after the list", DIEFT_ALL, SIZE_MAX, DIERR_INPUTLOST, {"Constant", "Spring", "Damper"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    device.enumEffectsResult = row.scripted;
    Collected collected;
    collected.stopAfter = row.stopAfter;
    EXPECT_EQ(device.EnumEffects(CollectEffectInfo, &collected, row.filter), row.scripted);
    EXPECT_EQ(collected.names, row.delivered);
  }

  DIEFFECTINFOA info{};
  info.dwSize = sizeof(info);
  ASSERT_EQ(device.GetEffectInfo(&info, GUID_Spring), DI_OK);
  EXPECT_EQ(info.guid, GUID_Spring);
  EXPECT_EQ(info.dwEffType, static_cast<DWORD>(DIEFT_CONDITION | DIEFT_DEADBAND));
  EXPECT_EQ(info.dwDynamicParams, static_cast<DWORD>(DIEP_GAIN));
  EXPECT_STREQ(info.tszName, "Spring");
  DIEFFECTINFOA unknown{};
  unknown.dwSize = sizeof(unknown);
  EXPECT_EQ(device.GetEffectInfo(&unknown, GUID_Friction), DIERR_DEVICENOTREG);
  device.effectInfoResult = DIERR_INPUTLOST;
  EXPECT_EQ(device.GetEffectInfo(&unknown, GUID_Spring), DIERR_INPUTLOST);
  EXPECT_EQ(unknown.dwEffType, 0u);
  unknown.dwSize = sizeof(DIEFFECTINFOA) - 4;
  EXPECT_EQ(device.GetEffectInfo(&unknown, GUID_Spring), DIERR_INVALIDPARAM);

  ReportEffectDouble first, second, third;
  device.createdEffects = {&first, &second, &third};
  device.enumCreatedResult = DIERR_NOTINITIALIZED;
  std::vector<LPDIRECTINPUTEFFECT> delivered;
  EXPECT_EQ(device.EnumCreatedEffectObjects(CollectEffect, &delivered, 0), DIERR_NOTINITIALIZED);
  EXPECT_EQ(delivered, (std::vector<LPDIRECTINPUTEFFECT>{&first, &second})) << "stopped after two";
  EXPECT_EQ(first.references(), 1u) << "the callback gets no reference of its own";
  EXPECT_EQ(device.EnumCreatedEffectObjects(CollectEffect, &delivered, 1), DIERR_INVALIDPARAM);
  EXPECT_EQ(delivered.size(), 2u);
}

TEST(ReportDeviceDouble, ReferencesAreCountedButNothingIsDeleted) {
  ReportDeviceDouble device;
  ReportEffectDouble effect;
  void* out = nullptr;
  ASSERT_EQ(device.QueryInterface(IID_IDirectInputDevice8A, &out), S_OK);
  EXPECT_EQ(out, static_cast<IDirectInputDevice8A*>(&device));
  ASSERT_EQ(effect.QueryInterface(IID_IUnknown, &out), S_OK);
  EXPECT_EQ(out, static_cast<IUnknown*>(&effect));
  EXPECT_EQ(device.references(), 2u);
  EXPECT_EQ(effect.AddRef(), 3u);
  EXPECT_EQ(effect.QueryInterface(IID_IDirectInputDevice8A, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(effect.references(), 3u);
  EXPECT_EQ(device.Release(), 1u);
  EXPECT_EQ(device.Release(), 0u);
  EXPECT_EQ(device.references(), 0u);
  // Still the test's object, and still answering.
  DWORD state = 0;
  device.ffState = DIGFFS_STOPPED | DIGFFS_EMPTY;
  EXPECT_EQ(device.GetForceFeedbackState(&state), DI_OK);
  EXPECT_EQ(state, static_cast<DWORD>(DIGFFS_STOPPED | DIGFFS_EMPTY));
}

}  // namespace
}  // namespace test_support

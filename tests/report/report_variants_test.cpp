// The report of devices whose every DirectInput answer the test writes: one small device
// per case, the lines it must give, exactly.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "app/control_panel.h"
#include "device/device_open.h"
#include "device/direct_input.h"
#include "diag/result_code_name.h"
#include "host/driver/user_driver.h"
#include "report/device_report.h"
#include "support/program_fixture.h"
#include "support/report_device_double.h"

namespace {

namespace driver = host::driver;
using test_support::MakeEffectInfo;
using test_support::MakeObject;
using test_support::PropertyAnswer;
using test_support::ReportDeviceDouble;
using test_support::ReportEffectDouble;

constexpr GUID productGuid = {0x12345678, 0x0000, 0x0000, {0x00, 0x00, 0x50, 0x49, 0x44, 0x56, 0x49, 0x44}};
constexpr GUID constantGuid = {0x13541C20, 0x8E33, 0x11D0, {0x9A, 0xD0, 0x00, 0xA0, 0xC9, 0xA0, 0x6E, 0x35}};
constexpr GUID springGuid = {0x13541C27, 0x8E33, 0x11D0, {0x9A, 0xD0, 0x00, 0xA0, 0xC9, 0xA0, 0x6E, 0x35}};
constexpr GUID oddGuid = {0x0BADCAFE, 0x0001, 0x0002, {0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A}};
constexpr DWORD xAxisType = 0x01000002;  // absolute axis 0, actuator
constexpr DWORD buttonType = 0x00000004;

// The line that equals `line` (indentation included) and everything under it.
std::string Block(const std::string& tree, const std::string& line) {
  size_t start = tree.rfind(line + "\n", std::string::npos);
  if (start == std::string::npos || (start != 0 && tree[start - 1] != '\n')) return "(no line \"" + line + "\")";
  size_t indent = line.find_first_not_of(' ');
  size_t end = tree.find('\n', start) + 1;
  while (end < tree.size()) {
    size_t next = tree.find('\n', end);
    std::string candidate = tree.substr(end, next - end);
    if (candidate.find_first_not_of(' ') <= indent) break;
    end = next + 1;
  }
  return tree.substr(start, end - start);
}

bool Has(const std::string& tree, const std::string& line) { return tree.find(line + "\n") != std::string::npos; }

class ReportVariantTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    reportTreeWindow = host::AddHostControl(dialog, IDC_REPORT_TREE, host::ControlClass::TreeView);
    ASSERT_EQ(DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                 reinterpret_cast<void**>(&g_pDI), nullptr),
              DI_OK);
    MakeWheel();
  }
  void TearDown() override {
    g_pDevice = nullptr;
    for (IDirectInputEffect*& effect : g_pEffect) effect = nullptr;
    reportTreeWindow = nullptr;
    ProgramTest::TearDown();
  }

  // A force-feedback wheel with one actuator axis, one button, its properties, one
  // supported and one created constant-force effect.
  void MakeWheel() {
    DIDEVICEINSTANCEA& info = device->deviceInfo;
    info.dwSize = sizeof(info);
    info.guidProduct = productGuid;
    info.dwDevType = 0x00010216;
    std::strcpy(info.tszInstanceName, "Bench Wheel");
    std::strcpy(info.tszProductName, "Bench Wheel");
    info.wUsagePage = 0xFF00;
    info.wUsage = 4;
    device->caps.dwSize = sizeof(DIDEVCAPS);
    device->caps.dwFlags = DIDC_ATTACHED | DIDC_FORCEFEEDBACK;
    device->caps.dwAxes = 1;
    device->caps.dwButtons = 1;
    device->caps.dwFFSamplePeriod = 1000;
    device->caps.dwFFMinTimeResolution = 500;
    device->objects.push_back(MakeObject("X Axis", GUID_XAxis, 0, xAxisType, DIDOI_FFACTUATOR | DIDOI_ASPECTPOSITION));
    device->objects.back().dwFFMaxForce = 7;
    device->objects.back().dwFFForceResolution = 3;
    device->objects.push_back(MakeObject("Button 0", GUID_Button, 48, buttonType, 0));
    device->AnswerDeviceProperty(DIPROP_AUTOCENTER, {.dwData = DIPROPAUTOCENTER_ON});
    device->AnswerDeviceProperty(DIPROP_AXISMODE, {.dwData = DIPROPAXISMODE_ABS});
    device->AnswerDeviceProperty(DIPROP_BUFFERSIZE, {.dwData = 16});
    device->AnswerDeviceProperty(DIPROP_FFLOAD, {.dwData = 40});
    device->AnswerDeviceProperty(DIPROP_FFGAIN, {.dwData = 10000});
    device->ffState = 0x80000012;
    device->supportedEffects.push_back(MakeEffectInfo(constantGuid, "Constant Force", DIEFT_CONSTANTFORCE, 0, 0));
    effect->guid = constantGuid;
    effect->dwDuration = INFINITE;
    effect->dwGain = 10000;
    effect->axes = {DIJOFS_X};
    effect->directions = {1};
    LONG magnitude = -2500;
    effect->typeSpecific.resize(sizeof(magnitude));
    std::memcpy(effect->typeSpecific.data(), &magnitude, sizeof(magnitude));
    device->createdEffects.push_back(effect.get());
  }

  std::string Report() {
    g_pDevice = device.get();
    BuildDeviceReport(GetDlgItem(dialog, IDC_REPORT_TREE));
    g_pDevice = nullptr;
    return driver::TreeText(dialog, IDC_REPORT_TREE);
  }

  // A new wheel, as MakeWheel leaves it.
  void Fresh() {
    device = std::make_unique<ReportDeviceDouble>();
    effect = std::make_unique<ReportEffectDouble>();
    MakeWheel();
  }

  std::unique_ptr<ReportDeviceDouble> device = std::make_unique<ReportDeviceDouble>();
  std::unique_ptr<ReportEffectDouble> effect = std::make_unique<ReportEffectDouble>();
};

TEST_F(ReportVariantTest, TheDeviceLevelLinesInTheirOrder) {
  std::string tree = Report();
  std::vector<std::string> rootChildren;
  size_t at = 0;
  while ((at = tree.find("\n  ", at)) != std::string::npos) {
    at += 3;
    if (tree[at] == ' ') continue;
    rootChildren.push_back(tree.substr(at, tree.find('\n', at) - at));
  }
  EXPECT_EQ(rootChildren, (std::vector<std::string>{
                              "[+] Instance GUID: {00000000-0000-0000-0000-000000000000}",
                              "[+] Product GUID: {12345678-0000-0000-0000-504944564944}",
                              "[+] Product vid: VID_5678",
                              "[+] Product pid: PID_1234",
                              "[+] Dev type: 0x00010216",
                              "[+] Instance name: Bench Wheel",
                              "[+] Product name: Bench Wheel",
                              "[+] FFB Driver GUID: {00000000-0000-0000-0000-000000000000}",
                              "[+] Usage page: 0x0000ff00",
                              "[+] Usage code: 0x00000004",
                              "Device Axis: 1",
                              "Device Buttons: 1",
                              "Device POVs: 0",
                              "Device Misc:",
                              "[+] Firmware rev: 0",
                              "[+] Hardware rev: 0",
                              "[+] FFB Driver ver: 0",
                              "Device Flags: 0x00000101",
                              "[+] Auto Center: On",
                              "[+] Axis Mode: Absolute",
                              "[+] Read Buffer Size: 16",
                              "[+] FFB Info:",
                          }));
  EXPECT_EQ(tree.rfind("[+] Bench Wheel\n", 0), 0u);
  EXPECT_EQ(Block(tree, "  Device Flags: 0x00000101"),
            "  Device Flags: 0x00000101\n    [+] DIDC_ATTACHED\n    [+] DIDC_FORCEFEEDBACK\n");
  EXPECT_EQ(Block(tree, "  Device POVs: 0"), "  Device POVs: 0\n");
  EXPECT_EQ(Block(tree, "  Device Misc:"), "  Device Misc:\n");
  EXPECT_EQ(Block(tree, "    FFB State: 0x80000012"),
            "    FFB State: 0x80000012\n      [+] DIGFFS_ACTUATORSON\n      [+] DIGFFS_DEVICELOST\n"
            "      [+] DIGFFS_STOPPED\n");
  EXPECT_TRUE(Has(tree, "    [+] FFB Memory Load: 40%"));
  EXPECT_TRUE(Has(tree, "    [+] FFB Gain: 10000"));
  EXPECT_TRUE(Has(tree, "    [+] FFB Sample Period: 1000"));
  EXPECT_TRUE(Has(tree, "    [+] FFB Min Time: 500"));
  EXPECT_TRUE(TraceLines().empty());
}

TEST_F(ReportVariantTest, DevicePropertyValuesAndFailures) {
  struct Case {
    const char* name;
    PropertyAnswer autoCenter;
    PropertyAnswer axisMode;
    std::vector<std::string> lines;
    std::vector<std::string> absent;
    std::string trace;
  };
  const Case cases[] = {
      {"off and relative", {.dwData = 0}, {.dwData = 1}, {"  [+] Auto Center: Off", "  [+] Axis Mode: Relative"}, {}, ""},
      {"other values", {.dwData = 2}, {.dwData = 5}, {"  [+] Auto Center: Off", "  [+] Axis Mode: Relative"}, {}, ""},
      {"unsupported", {.result = DIERR_UNSUPPORTED}, {.result = DIERR_UNSUPPORTED}, {"  [+] Read Buffer Size: 16"},
       {"Auto Center:", "Axis Mode:"}, ""},
      {"failing", {.result = DIERR_INPUTLOST}, {.dwData = 0}, {"  [+] Axis Mode: Absolute"}, {"Auto Center:"},
       "GetProperty(DIPROP_AUTOCENTER) Failed " + CodeText(DIERR_INPUTLOST)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host::ClearDebugOutput();
    device->AnswerDeviceProperty(DIPROP_AUTOCENTER, c.autoCenter);
    device->AnswerDeviceProperty(DIPROP_AXISMODE, c.axisMode);
    std::string tree = Report();
    for (const std::string& line : c.lines) EXPECT_TRUE(Has(tree, line)) << line;
    for (const std::string& text : c.absent) EXPECT_EQ(tree.find(text), std::string::npos) << text;
    EXPECT_EQ(TraceLines(), c.trace.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.trace});
  }
}

TEST_F(ReportVariantTest, FailuresLeaveOutWhatDependsOnThem) {
  struct Case {
    const char* name;
    void (*arrange)(ReportDeviceDouble&, ReportEffectDouble&);
    std::vector<std::string> present;
    std::vector<std::string> absent;
    std::string trace;
  };
  const Case cases[] = {
      {"no device information",
       [](ReportDeviceDouble& d, ReportEffectDouble&) { d.deviceInfoResult = DIERR_INPUTLOST; },
       {"[+] UNKNOWN DEVICE", "  Device Axis: 1", "  [+] FFB Info:"}, {"Instance GUID", "Bench Wheel"},
       "GetDeviceInfo() Failed " + CodeText(DIERR_INPUTLOST)},
      {"capabilities count one axis, enumeration finds none",
       [](ReportDeviceDouble& d, ReportEffectDouble&) { d.objects.erase(d.objects.begin()); },
       {"  Device Axis: 1", "  Device Buttons: 1", "    Button 0"}, {"X Axis"}, ""},
      {"enumeration failing after one button",
       [](ReportDeviceDouble& d, ReportEffectDouble&) {
         d.caps.dwButtons = 2;
         d.objects.push_back(MakeObject("Button 1", GUID_Button, 49, 0x00000104, 0));
         d.enumObjectsFailures.push_back({DIDFT_BUTTON, DIERR_INPUTLOST, 1});
       },
       {"  Device Buttons: 2", "    Button 0", "  Device POVs: 0"}, {"Button 1"},
       "EnumObjects() Failed " + CodeText(DIERR_INPUTLOST)},
      {"no force feedback",
       [](ReportDeviceDouble& d, ReportEffectDouble&) { d.caps.dwFlags = DIDC_ATTACHED; },
       {"  [+] Read Buffer Size: 16"}, {"FFB Info:", "Active Effect"}, ""},
      {"state unreadable", [](ReportDeviceDouble& d, ReportEffectDouble&) { d.ffStateResult = DIERR_INPUTLOST; },
       {"    [+] FFB Min Time: 500", "    Supported Effects"}, {"FFB State"},
       "GetForceFeedbackState() Failed " + CodeText(DIERR_INPUTLOST)},
      {"state 0", [](ReportDeviceDouble& d, ReportEffectDouble&) { d.ffState = 0; },
       {"    FFB State: 0x00000000", "    Supported Effects"}, {"DIGFFS_"}, ""},
      {"effect types unreadable",
       [](ReportDeviceDouble& d, ReportEffectDouble&) { d.enumEffectsResult = DIERR_INPUTLOST; },
       {"    Supported Effects", "    [+] Active Effect"}, {}, "EnumEffects() Failed " + CodeText(DIERR_INPUTLOST)},
      {"created effects unreadable",
       [](ReportDeviceDouble& d, ReportEffectDouble&) {
         d.createdEffects.clear();
         d.enumCreatedResult = DIERR_INPUTLOST;
       },
       {"    [+] Active Effect"}, {"Constant Force: "}, "EnumCreatedEffectObjects() Failed " + CodeText(DIERR_INPUTLOST)},
      {"effect GUID unreadable",
       [](ReportDeviceDouble&, ReportEffectDouble& e) { e.guidResult = DIERR_INPUTLOST; },
       {"    [+] Active Effect"}, {"Constant Force: "}, "GetEffectGuid() Failed " + CodeText(DIERR_INPUTLOST)},
      {"effect information unreadable",
       [](ReportDeviceDouble& d, ReportEffectDouble&) { d.effectInfoResult = DIERR_INPUTLOST; },
       {"    [+] Active Effect"}, {"Constant Force: "}, "GetEffectInfo() Failed " + CodeText(DIERR_INPUTLOST)},
      {"parameters unreadable",
       [](ReportDeviceDouble&, ReportEffectDouble& e) { e.parametersResult = DIERR_INPUTLOST; },
       {"      [+] Constant Force: Stopped"}, {"dwDuration"}, "GetParameters() Failed " + CodeText(DIERR_INPUTLOST)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    host::ClearDebugOutput();
    c.arrange(*device, *effect);
    std::string tree = Report();
    for (const std::string& line : c.present) EXPECT_TRUE(Has(tree, line)) << line;
    for (const std::string& text : c.absent) EXPECT_EQ(tree.find(text), std::string::npos) << text;
    EXPECT_EQ(TraceLines(), c.trace.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.trace});
  }
}

// Without capabilities nothing says whether the device has force feedback: the section is
// built when the program holds effects on it.
TEST_F(ReportVariantTest, WithoutCapabilitiesTheForceFeedbackSectionFollowsTheProgramsEffects) {
  device->capsResult = DIERR_INPUTLOST;
  std::string without = Report();
  EXPECT_FALSE(Has(without, "  [+] FFB Info:"));
  EXPECT_FALSE(Has(without, "  Device Axis: 1"));
  EXPECT_TRUE(Has(without, "  [+] Read Buffer Size: 16"));
  g_pEffect[effectSlotConstantForce] = effect.get();
  std::string with = Report();
  EXPECT_TRUE(Has(with, "  [+] FFB Info:"));
  EXPECT_TRUE(Has(with, "    [+] FFB Gain: 10000"));
  EXPECT_FALSE(Has(with, "    [+] FFB Sample Period: 1000"));
  EXPECT_TRUE(Has(with, "      [+] Constant Force: Stopped"));
}

TEST_F(ReportVariantTest, AnObjectsSubtree) {
  device->AnswerObjectProperty(DIPROP_CPOINTS, xAxisType, {.points = {{0, 0}, {100, 200}}});
  device->AnswerObjectProperty(DIPROP_CALIBRATIONMODE, xAxisType, {.dwData = 1});
  device->AnswerObjectProperty(DIPROP_CALIBRATION, xAxisType, {.lMin = -5, .lCenter = 0, .lMax = 5});
  device->AnswerObjectProperty(DIPROP_DEADZONE, xAxisType, {.dwData = 100});
  device->AnswerObjectProperty(DIPROP_SATURATION, xAxisType, {.dwData = 9900});
  device->AnswerObjectProperty(DIPROP_GRANULARITY, xAxisType, {.dwData = 1});
  device->AnswerObjectProperty(DIPROP_LOGICALRANGE, xAxisType, {.lMin = 0, .lMax = 65535});
  device->AnswerObjectProperty(DIPROP_PHYSICALRANGE, xAxisType, {.lMin = -1, .lMax = 1});
  device->AnswerObjectProperty(DIPROP_RANGE, xAxisType, {.lMin = -10000, .lMax = 10000});
  device->objects[0].wUsagePage = 1;
  device->objects[0].wUsage = 0xFFFF;
  EXPECT_EQ(Block(Report(), "    X Axis"),
            "    X Axis\n"
            "      [+] guidType: {A36D02E0-C9F3-11CF-BFC7-444553540000}\n"
            "      [+] Instance ID: 0\n"
            "      [+] dwOfs: 0\n"
            "      [+] FFB Max Force: 7 newtons\n"
            "      [+] FFB Force Resolution: 3\n"
            "      [+] Calibration Points: { { 0, 0 }, { 100, 200 } }\n"
            "      [+] Calibration Mode: Raw\n"
            "      [+] Calibration: { -5, 0, 5 }\n"
            "      [+] Dead Zone: 100\n"
            "      [+] Saturation Zone: 9900\n"
            "      [+] Granularity: 1\n"
            "      [+] Logical Range: 0, 65535\n"
            "      [+] Physical Range: -1, 1\n"
            "      [+] Set Range: -10000, 10000\n"
            "      dwType: 0x01000002\n"
            "        [+] DIDFT_ABSAXIS\n"
            "        [+] DIDFT_FFACTUATOR\n"
            "      dwFlags: 0x00000101\n"
            "        [+] DIDOI_FFACTUATOR\n"
            "        [+] DIDOI_ASPECTPOSITION\n"
            "        [+] DIDOI_ASPECTACCEL\n"
            "        [+] DIDOI_ASPECTMASK\n"
            "      HID Attributes\n"
            "        [+] wCollectionNumber: 0\n"
            "        [+] wDesignatorIndex: 0\n"
            "        [+] wUsagePage: 1\n"
            "        [+] wUsage: 65535\n"
            "        [+] dwDimension: 0\n"
            "        [+] wExponent: 0\n"
            "        [+] wReportId: 0\n");
  // Every property is asked for by id, with the structure's own size.
  ASSERT_FALSE(device->propertyCalls.empty());
  for (const test_support::PropertyCall& call : device->propertyCalls) {
    EXPECT_EQ(call.dwHeaderSize, sizeof(DIPROPHEADER));
    if (call.dwHow == DIPH_BYID) {
      EXPECT_TRUE(call.dwObj == xAxisType || call.dwObj == buttonType) << call;
    }
  }
}

TEST_F(ReportVariantTest, ObjectLeavesByTypeFlagsAndFailingProperties) {
  struct Case {
    const char* name;
    DWORD type;
    DWORD flags;
    std::string expected;  // the lines after "dwOfs"
  };
  const Case cases[] = {
      {"actuator axis 1, position", 0x01000102, DIDOI_FFACTUATOR | DIDOI_ASPECTPOSITION,
       "      [+] FFB Max Force: 0 newtons\n      [+] FFB Force Resolution: 0\n"
       "      dwType: 0x01000102\n        [+] DIDFT_ABSAXIS\n        [+] DIDFT_FFACTUATOR\n"
       "      dwFlags: 0x00000101\n        [+] DIDOI_FFACTUATOR\n        [+] DIDOI_ASPECTPOSITION\n"
       "        [+] DIDOI_ASPECTACCEL\n        [+] DIDOI_ASPECTMASK\n"},
      {"acceleration aspect", 0x00000202, DIDOI_ASPECTACCEL,
       "      dwType: 0x00000202\n        [+] DIDFT_ABSAXIS\n"
       "      dwFlags: 0x00000300\n        [+] DIDOI_ASPECTPOSITION\n        [+] DIDOI_ASPECTVELOCITY\n"
       "        [+] DIDOI_ASPECTACCEL\n        [+] DIDOI_ASPECTMASK\n"},
      {"no flags, collection", 0x00000040, 0, "      dwType: 0x00000040\n        [+] DIDFT_COLLECTION\n      dwFlags: 0x00000000\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host::ClearDebugOutput();
    device->objects = {MakeObject("Probe %s %n", GUID_XAxis, 4, c.type, c.flags)};
    // Every property fails as a device would for controls it does not have.
    for (const GUID* property : {&DIPROP_CPOINTS, &DIPROP_CALIBRATIONMODE, &DIPROP_CALIBRATION, &DIPROP_DEADZONE,
                                 &DIPROP_SATURATION, &DIPROP_GRANULARITY, &DIPROP_LOGICALRANGE,
                                 &DIPROP_PHYSICALRANGE, &DIPROP_RANGE}) {
      device->AnswerEveryObjectProperty(*property, {.result = DIERR_INPUTLOST});
    }
    std::string tree = Report();
    std::string block = Block(tree, "    Probe %s %n");
    std::string head = "    Probe %s %n\n      [+] guidType: {A36D02E0-C9F3-11CF-BFC7-444553540000}\n"
                       "      [+] Instance ID: " +
                       std::to_string((c.type >> 8) & 0xFFFF) + "\n      [+] dwOfs: 4\n";
    std::string hid = block.substr(block.find("      HID Attributes\n"));
    EXPECT_EQ(block, head + c.expected + hid);
    std::vector<std::string> traces = TraceLines();
    ASSERT_EQ(traces.size(), 9u);
    EXPECT_EQ(traces[0], "GetProperty(DIPROP_CPOINTS) Failed " + CodeText(DIERR_INPUTLOST));
    EXPECT_EQ(traces[8], "GetProperty(DIPROP_RANGE) Failed " + CodeText(DIERR_INPUTLOST));
  }
}

TEST_F(ReportVariantTest, CalibrationPointListsAreBracedAndCapped) {
  struct Case {
    std::vector<CPOINT> points;
    const char* line;
  };
  std::vector<CPOINT> nine;
  for (LONG i = 0; i < 9; ++i) nine.push_back({i, static_cast<DWORD>(i * 10)});
  const Case cases[] = {
      {{}, "      [+] Calibration Points: {  }"},
      {{{-1, 4294967295u}}, "      [+] Calibration Points: { { -1, -1 } }"},
      {nine,
       "      [+] Calibration Points: { { 0, 0 }, { 1, 10 }, { 2, 20 }, { 3, 30 }, { 4, 40 }, { 5, 50 }, { 6, 60 }, "
       "{ 7, 70 } }"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    device->AnswerObjectProperty(DIPROP_CPOINTS, xAxisType, {.points = c.points});
    EXPECT_TRUE(Has(Report(), c.line));
  }
}

TEST_F(ReportVariantTest, SupportedEffectTypesAndTheirCapabilities) {
  struct Case {
    DWORD type;
    const char* typeLine;  // null: none
  };
  const Case cases[] = {
      {DIEFT_CONSTANTFORCE, "DIEFT_CONSTANTFORCE"}, {DIEFT_RAMPFORCE, "DIEFT_RAMPFORCE"},
      {DIEFT_PERIODIC, "DIEFT_PERIODIC"},         {DIEFT_CONDITION, "DIEFT_CONDITION"},
      {DIEFT_CUSTOMFORCE, "DIEFT_CUSTOMFORCE"},   {DIEFT_HARDWARE, "DIEFT_HARDWARE"},
      {0, nullptr}, {6, nullptr}, {254, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    device->supportedEffects = {MakeEffectInfo(oddGuid, "Kind %d%%", c.type | DIEFT_SATURATION | DIEFT_STARTDELAY,
                                              0, DIEP_GAIN | DIEP_DIRECTION)};
    std::string expected = "      Kind %d%%\n";
    if (c.typeLine != nullptr) expected += std::string("        [+] ") + c.typeLine + "\n";
    expected +=
        "        [+] DIEFT_SATURATION\n        [+] DIEFT_STARTDELAY\n        [+] Static Parameters\n"
        "        [+] Dynamic Parameters\n          [+] DIEP_GAIN\n          [+] DIEP_DIRECTION\n";
    EXPECT_EQ(Block(Report(), "      Kind %d%%"), expected);
  }
}

TEST_F(ReportVariantTest, ACreatedEffectsGeneralFields) {
  struct Case {
    const char* name;
    void (*arrange)(ReportEffectDouble&);
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"the wheel's constant force", [](ReportEffectDouble&) {},
       {"        [+] dwFlags: DIEFF_CARTESIAN, DIEFF_OBJECTOFFSETS", "        [+] dwDuration: Infinte",
        "        [+] dwTriggerButton: No Trigger", "        [+] cAxes: 1", "        [+] rgdwAxes: { DIJOFS_X }",
        "        [+] rglDirection: { 1 }", "        [+] lpEnvelope: NULL", "        [+] cbTypeSpecificParams: 4",
        "        [+] DIEFT_CONSTANTFORCE", "          [+] lMagnitude: -2500"}},
      {"finite, triggered, four axes by offset",
       [](ReportEffectDouble& e) {
         e.dwDuration = 1000000;
         e.dwTriggerButton = 3;
         e.axes = {0, 4, 8, 20};
         e.directions = {-1, 2, 0, 70000};
       },
       {"        [+] dwDuration: 1000000", "        [+] dwTriggerButton: 3", "        [+] cAxes: 4",
        "        [+] rgdwAxes: { DIJOFS_X, DIJOFS_Y, DIJOFS_Z, 20 }", "        [+] rglDirection: { -1, 2, 0, 70000 }"}},
      {"axes as ids", [](ReportEffectDouble& e) {
         e.flags = DIEFF_OBJECTIDS | DIEFF_POLAR;
         e.axes = {0, 4, 8};
         e.directions = {9000, 0, 0};
       },
       {"        [+] dwFlags: DIEFF_OBJECTIDS, DIEFF_POLAR", "        [+] rgdwAxes: { 0, 4, 8 }"}},
      {"an envelope", [](ReportEffectDouble& e) {
         e.hasEnvelope = true;
         e.envelope = {sizeof(DIENVELOPE), 1, 2, 3, 4};
       },
       {"        [+] lpEnvelope\n          [+] dwAttackLevel: 1\n          [+] dwAttackTime: 2\n"
        "          [+] dwFadeLevel: 3\n          [+] dwFadeTime: 4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    c.arrange(*effect);
    std::string tree = Report();
    for (const std::string& line : c.lines) EXPECT_TRUE(Has(tree, line)) << line << "\n" << Block(tree, "    [+] Active Effect");
  }
  // The parameters are asked for as the report needs them.
  EXPECT_EQ(effect->lastParametersCall.dwSize, sizeof(DIEFFECT));
  EXPECT_EQ(effect->lastParametersCall.dwFlags, static_cast<DWORD>(DIEFF_OBJECTOFFSETS | DIEFF_CARTESIAN));
  EXPECT_EQ(effect->lastParametersCall.cAxes, 8u);
  EXPECT_EQ(effect->lastParametersCall.cbTypeSpecificParams, 192u);
  EXPECT_TRUE(effect->lastParametersCall.hadEnvelope);
  EXPECT_EQ(effect->lastParametersCall.mask, static_cast<DWORD>(DIEP_ALLPARAMS));
}

TEST_F(ReportVariantTest, ACreatedEffectsStatusAndTypeBlock) {
  DICONDITION two[2] = {{1, 2, 3, 4, 5, 6}, {-1, -2, -3, 7, 8, -9}};
  struct Case {
    const char* name;
    HRESULT statusResult;
    DWORD status;
    DWORD type;
    size_t blockBytes;
    std::string expected;
  };
  const Case cases[] = {
      {"playing", DI_OK, DIEGES_PLAYING, DIEFT_CONSTANTFORCE, 4, "      [+] Odd: Playing\n"},
      {"not downloaded", DIERR_NOTDOWNLOADED, 0, DIEFT_CONSTANTFORCE, 4, "      Odd: Not Downloaded\n"},
      {"status error", DIERR_INPUTLOST, 0, DIEFT_CONSTANTFORCE, 4, std::string("      Odd: Error ") + ResultCodeName(DIERR_INPUTLOST) + "\n"},
      {"two conditions", DI_OK, 0, DIEFT_CONDITION, 48,
       "        [+] DIEFT_CONDITION[0]\n          [+] lOffset: 1\n          [+] lPositiveCoefficient: 2\n"
       "          [+] lNegativeCoefficient: 3\n          [+] dwPositiveSaturation: 4\n"
       "          [+] dwNegativeSaturation: 5\n          [+] lDeadBand: 6\n"
       "        [+] DIEFT_CONDITION[1]\n          [+] lOffset: -1\n          [+] lPositiveCoefficient: -2\n"
       "          [+] lNegativeCoefficient: -3\n          [+] dwPositiveSaturation: 7\n"
       "          [+] dwNegativeSaturation: 8\n          [+] lDeadBand: -9\n"},
      {"hardware", DI_OK, 0, DIEFT_HARDWARE, 0, "        [+] DIEFT_HARDWARE - Not Implemented\n"},
      {"unknown type", DI_OK, 0, 7, 0, "        [+] UNKNOWN\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    effect->guid = oddGuid;
    effect->statusResult = c.statusResult;
    effect->status = c.status;
    effect->typeSpecific.assign(reinterpret_cast<const uint8_t*>(two), reinterpret_cast<const uint8_t*>(two) + c.blockBytes);
    device->supportedEffects = {MakeEffectInfo(oddGuid, "Odd", c.type, 0, 0)};
    std::string tree = Report();
    EXPECT_NE(tree.find(c.expected), std::string::npos) << Block(tree, "    [+] Active Effect");
    // Its parameters are listed under the status line whatever the status says.
    EXPECT_NE(tree.find("        [+] dwGain: 10000\n"), std::string::npos);
  }
}

}  // namespace

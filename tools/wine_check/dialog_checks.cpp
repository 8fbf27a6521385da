#include "dialog_checks.h"

#include <commctrl.h>

#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "remote_window.h"

namespace {

constexpr char staticClass[] = "Static";
constexpr char buttonClass[] = "Button";
constexpr char editClass[] = "Edit";
constexpr char comboClass[] = "ComboBox";
constexpr char trackbarClass[] = "msctls_trackbar32";
constexpr char treeClass[] = "SysTreeView32";

struct ExpectedControl {
  int id;
  const char* className;
  bool visible;
};

const ExpectedControl expectedControls[] = {
    {IDC_EXIT, buttonClass, false},
    {IDC_DEFAULT, buttonClass, false},
    {IDC_REFRESH, buttonClass, true},
    {IDC_PLAY_LED, buttonClass, true},
    {IDC_ADD_SIN, buttonClass, true},
    {IDC_ADD_RAND, buttonClass, true},
    {IDC_ADD_RAND_FORCE, buttonClass, true},
    {IDC_MIN_FORCE_CHECK, buttonClass, true},
    {IDC_REVERSE_CONSTANT_FORCE, buttonClass, true},
    {IDC_ALWAYS_UPDATE, buttonClass, true},
    {IDC_KILL_FFB, buttonClass, true},
    {IDC_SHOW_ALL_DEVICES, buttonClass, true},
    {IDC_DEVICE, comboClass, true},
    {IDC_MODE, comboClass, true},
    {IDC_DAMPER_TYPE, comboClass, true},
    {IDC_KP, editClass, true},
    {IDC_KI, editClass, true},
    {IDC_KD, editClass, true},
    {IDC_KD_AVG, editClass, true},
    {IDC_SLEEP, editClass, true},
    {IDC_REPEAT, editClass, true},
    {IDC_MIN_FORCE, editClass, true},
    {IDC_MAX_COUNT, editClass, true},
    {IDC_WHEEL_ANGLE, editClass, true},
    {IDC_STEP_TIME, editClass, true},
    {IDC_FORCE_MAP, editClass, true},
    {IDC_SATURATION_X, trackbarClass, true},
    {IDC_SATURATION_Y, trackbarClass, true},
    {IDC_COEFFICIENT, trackbarClass, true},
    {IDC_OFFSET_X, trackbarClass, true},
    {IDC_OFFSET_Y, trackbarClass, true},
    {IDC_DEADBAND, trackbarClass, true},
    {IDC_RANGE, trackbarClass, true},
    {IDC_DAMPER_SATURATION, trackbarClass, true},
    {IDC_DAMPER_COEFFICIENT, trackbarClass, true},
    {IDC_DAMPER_OFFSET, trackbarClass, true},
    {IDC_DAMPER_DEADBAND, trackbarClass, true},
    {IDC_REPORT_TREE, treeClass, true},
    {IDC_POSITION, staticClass, true},
    {IDC_STATUS, staticClass, true},
    {IDC_SLEEP_READOUT, staticClass, true},
    {IDC_OFFSET_X_VALUE, staticClass, true},
    {IDC_OFFSET_Y_VALUE, staticClass, true},
    {IDC_SATURATION_X_VALUE, staticClass, true},
    {IDC_SATURATION_Y_VALUE, staticClass, true},
    {IDC_COEFFICIENT_VALUE, staticClass, true},
    {IDC_DEADBAND_VALUE, staticClass, true},
    {IDC_RANGE_VALUE, staticClass, true},
    {IDC_DAMPER_OFFSET_VALUE, staticClass, true},
    {IDC_DAMPER_COEFFICIENT_VALUE, staticClass, true},
    {IDC_DAMPER_SATURATION_VALUE, staticClass, true},
    {IDC_DAMPER_DEADBAND_VALUE, staticClass, true},
};

struct ExpectedText {
  int id;
  const char* text;
};

const ExpectedText initialTexts[] = {
    {IDC_KP, "5.00"},          {IDC_KI, "0.00"},        {IDC_KD, "0.25"},
    {IDC_KD_AVG, "0.90"},      {IDC_MAX_COUNT, "50"},   {IDC_STEP_TIME, "300"},
    {IDC_WHEEL_ANGLE, "900"},  {IDC_SLEEP, "1"},        {IDC_REPEAT, "1"},
    {IDC_MIN_FORCE, "0"},      {IDC_FORCE_MAP, "0:0,10000:10000"},
    {IDC_STATUS, ""},
};

struct ExpectedTrackbar {
  int id;
  LRESULT minimum;
  LRESULT maximum;
  LRESULT position;
};

const ExpectedTrackbar initialTrackbars[] = {
    {IDC_SATURATION_X, 1, 10000, 10000},
    {IDC_OFFSET_X, 0, 20000, 10000},
    {IDC_RANGE, 1, 100, 100},
};

const char* const damperTypeItems[] = {"Disabled", "Damper", "Inertia", "Friction"};
constexpr LRESULT modeItemCount = 15;

std::string Control(int id) { return "control " + std::to_string(id); }

bool IsUnnamedStatic(int id) { return id == IDC_STATIC || id == 0xFFFF; }

void CheckNoUnknownControls(CheckLog& log, HWND dialog) {
  std::set<int> known;
  for (const ExpectedControl& control : expectedControls) known.insert(control.id);
  std::vector<int> unknown;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    int id = GetDlgCtrlID(child);
    if (!IsUnnamedStatic(id) && !known.contains(id)) unknown.push_back(id);
  }
  std::string list;
  for (int id : unknown) {
    list += ' ';
    list += std::to_string(id);
  }
  log.Expect(unknown.empty(), "every control of the dialog is in the checker's table",
             "not in the table:" + list);
}

std::string OptionalText(const std::optional<std::string>& text) {
  return text ? *text : std::string("<no reply>");
}

void CheckCombo(CheckLog& log, HWND dialog, int id, const char* what, LRESULT count) {
  HWND combo = GetDlgItem(dialog, id);
  std::optional<LRESULT> items = remote::Send(combo, CB_GETCOUNT, 0, 0);
  log.ExpectNumber(std::string(what) + " combo " + std::to_string(id) + " item count", count, items.value_or(-1));
}

void CheckCombos(CheckLog& log, HWND dialog) {
  CheckCombo(log, dialog, IDC_MODE, "mode", modeItemCount);
  HWND mode = GetDlgItem(dialog, IDC_MODE);
  log.ExpectText("mode combo 1012 first item", "Disabled", OptionalText(remote::ComboItem(mode, 0)));
  log.ExpectNumber("mode combo 1012 selection", 0, remote::Send(mode, CB_GETCURSEL, 0, 0).value_or(-2));

  CheckCombo(log, dialog, IDC_DAMPER_TYPE, "damping", std::size(damperTypeItems));
  HWND damper = GetDlgItem(dialog, IDC_DAMPER_TYPE);
  for (size_t index = 0; index < std::size(damperTypeItems); ++index) {
    log.ExpectText("damping combo 1035 item " + std::to_string(index), damperTypeItems[index],
                   OptionalText(remote::ComboItem(damper, static_cast<int>(index))));
  }

  // Under Wine with no wheel the program lists every device: Wine's keyboard and mouse.
  HWND device = GetDlgItem(dialog, IDC_DEVICE);
  LRESULT devices = remote::Send(device, CB_GETCOUNT, 0, 0).value_or(-1);
  log.Expect(devices >= 1, "device combo 1022 lists at least one device",
             "item count " + std::to_string(devices));
}

void CheckTrackbars(CheckLog& log, HWND dialog) {
  for (const ExpectedTrackbar& expected : initialTrackbars) {
    HWND trackbar = GetDlgItem(dialog, expected.id);
    std::string name = "trackbar " + std::to_string(expected.id);
    log.ExpectNumber(name + " range minimum", expected.minimum,
                     remote::Send(trackbar, TBM_GETRANGEMIN, 0, 0).value_or(-1));
    log.ExpectNumber(name + " range maximum", expected.maximum,
                     remote::Send(trackbar, TBM_GETRANGEMAX, 0, 0).value_or(-1));
    log.ExpectNumber(name + " position", expected.position, remote::Send(trackbar, TBM_GETPOS, 0, 0).value_or(-1));
  }
}

}  // namespace

void CheckControls(CheckLog& log, HWND dialog) {
  for (const ExpectedControl& expected : expectedControls) {
    HWND control = GetDlgItem(dialog, expected.id);
    if (!log.Expect(control != nullptr, Control(expected.id) + " exists")) continue;
    log.ExpectText(Control(expected.id) + " class", expected.className, remote::ClassName(control));
    bool visible = IsWindowVisible(control) != FALSE;
    log.Expect(visible == expected.visible, Control(expected.id) + (expected.visible ? " visible" : " hidden"),
               visible ? "it is shown" : "it is hidden");
  }
  CheckNoUnknownControls(log, dialog);
}

void CheckInitialState(CheckLog& log, HWND dialog) {
  for (const ExpectedText& expected : initialTexts) {
    log.ExpectText(Control(expected.id) + " initial text", expected.text,
                   OptionalText(remote::Text(GetDlgItem(dialog, expected.id))));
  }
  CheckCombos(log, dialog);
  CheckTrackbars(log, dialog);
}

// Dialog 102 built from the real resource script (the text the Windows build compiles,
// linked into this executable): every control of control_ids.h is there with its class,
// caption, visibility and style, and the template's layout has no overlapping controls.
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "host/window_message_recorder.h"
#include "platform/platform.h"

namespace window_test {
namespace {

enum class Kind { Label, Edit, Combo, Trackbar, CheckBox, PushButton, DefaultButton, Tree };

struct Expected {
  int id;
  const char* name;
  Kind kind;
  const char* caption;
  bool visible;
};

const Expected expectedControls[] = {
    {IDC_DEVICE, "IDC_DEVICE", Kind::Combo, "", true},
    {IDC_POSITION, "IDC_POSITION", Kind::Label, "lX lY", true},
    {IDC_EXIT, "IDC_EXIT", Kind::PushButton, "Exit", false},
    {IDC_DEFAULT, "IDC_DEFAULT", Kind::DefaultButton, "default", false},
    {IDC_REFRESH, "IDC_REFRESH", Kind::PushButton, "Refresh", true},
    {IDC_MODE, "IDC_MODE", Kind::Combo, "", true},
    {IDC_OFFSET_X, "IDC_OFFSET_X", Kind::Trackbar, "", true},
    {IDC_OFFSET_X_VALUE, "IDC_OFFSET_X_VALUE", Kind::Label, "Offset", true},
    {IDC_OFFSET_Y, "IDC_OFFSET_Y", Kind::Trackbar, "", true},
    {IDC_OFFSET_Y_VALUE, "IDC_OFFSET_Y_VALUE", Kind::Label, "Offset", true},
    {IDC_SATURATION_X, "IDC_SATURATION_X", Kind::Trackbar, "", true},
    {IDC_SATURATION_X_VALUE, "IDC_SATURATION_X_VALUE", Kind::Label, "Saturation", true},
    {IDC_SATURATION_Y, "IDC_SATURATION_Y", Kind::Trackbar, "", true},
    {IDC_SATURATION_Y_VALUE, "IDC_SATURATION_Y_VALUE", Kind::Label, "Saturation", true},
    {IDC_COEFFICIENT, "IDC_COEFFICIENT", Kind::Trackbar, "", true},
    {IDC_COEFFICIENT_VALUE, "IDC_COEFFICIENT_VALUE", Kind::Label, "Coefficient", true},
    {IDC_DEADBAND, "IDC_DEADBAND", Kind::Trackbar, "", true},
    {IDC_DEADBAND_VALUE, "IDC_DEADBAND_VALUE", Kind::Label, "DeadBand", true},
    {IDC_RANGE, "IDC_RANGE", Kind::Trackbar, "", true},
    {IDC_RANGE_VALUE, "IDC_RANGE_VALUE", Kind::Label, "Range", true},
    {IDC_FORCE_MAP, "IDC_FORCE_MAP", Kind::Edit, "", true},
    {IDC_ADD_SIN, "IDC_ADD_SIN", Kind::CheckBox, "Add Sin()", true},
    {IDC_ADD_RAND, "IDC_ADD_RAND", Kind::CheckBox, "Add Rand()", true},
    {IDC_ADD_RAND_FORCE, "IDC_ADD_RAND_FORCE", Kind::CheckBox, "Add Rand() Force", true},
    {IDC_MIN_FORCE_CHECK, "IDC_MIN_FORCE_CHECK", Kind::CheckBox, "Min Force", true},
    {IDC_REPEAT, "IDC_REPEAT", Kind::Edit, "", true},
    {IDC_MIN_FORCE, "IDC_MIN_FORCE", Kind::Edit, "", true},
    {IDC_MAX_COUNT, "IDC_MAX_COUNT", Kind::Edit, "", true},
    {IDC_STEP_TIME, "IDC_STEP_TIME", Kind::Edit, "", true},
    {IDC_KP, "IDC_KP", Kind::Edit, "", true},
    {IDC_KI, "IDC_KI", Kind::Edit, "", true},
    {IDC_KD, "IDC_KD", Kind::Edit, "", true},
    {IDC_KD_AVG, "IDC_KD_AVG", Kind::Edit, "", true},
    {IDC_DAMPER_TYPE, "IDC_DAMPER_TYPE", Kind::Combo, "", true},
    {IDC_DAMPER_OFFSET, "IDC_DAMPER_OFFSET", Kind::Trackbar, "", true},
    {IDC_DAMPER_OFFSET_VALUE, "IDC_DAMPER_OFFSET_VALUE", Kind::Label, "Offset", true},
    {IDC_DAMPER_COEFFICIENT, "IDC_DAMPER_COEFFICIENT", Kind::Trackbar, "", true},
    {IDC_DAMPER_COEFFICIENT_VALUE, "IDC_DAMPER_COEFFICIENT_VALUE", Kind::Label, "Coefficient", true},
    {IDC_DAMPER_SATURATION, "IDC_DAMPER_SATURATION", Kind::Trackbar, "", true},
    {IDC_DAMPER_SATURATION_VALUE, "IDC_DAMPER_SATURATION_VALUE", Kind::Label, "Saturation", true},
    {IDC_DAMPER_DEADBAND, "IDC_DAMPER_DEADBAND", Kind::Trackbar, "", true},
    {IDC_DAMPER_DEADBAND_VALUE, "IDC_DAMPER_DEADBAND_VALUE", Kind::Label, "DeadBand", true},
    {IDC_REPORT_TREE, "IDC_REPORT_TREE", Kind::Tree, "", true},
    {IDC_ALWAYS_UPDATE, "IDC_ALWAYS_UPDATE", Kind::CheckBox, "Always update forces", true},
    {IDC_KILL_FFB, "IDC_KILL_FFB", Kind::CheckBox, "Kill FFB when focus lost", true},
    {IDC_REVERSE_CONSTANT_FORCE, "IDC_REVERSE_CONSTANT_FORCE", Kind::CheckBox, "Reverse Constant Force", true},
    {IDC_SLEEP, "IDC_SLEEP", Kind::Edit, "", true},
    {IDC_SLEEP_READOUT, "IDC_SLEEP_READOUT", Kind::Label, "Offset", true},
    {IDC_WHEEL_ANGLE, "IDC_WHEEL_ANGLE", Kind::Edit, "", true},
    {IDC_SHOW_ALL_DEVICES, "IDC_SHOW_ALL_DEVICES", Kind::CheckBox, "Show all devices", true},
    {IDC_PLAY_LED, "IDC_PLAY_LED", Kind::PushButton, "Play Led", true},
    {IDC_STATUS, "IDC_STATUS", Kind::Label, "Offset", true},
};

// The class and the style bits each kind of control must have.
struct KindShape {
  Kind kind;
  const char* className;
  DWORD typeMask;  // the bits that make the control's type
  DWORD type;
  DWORD required;
};

const KindShape shapes[] = {
    {Kind::Label, "Static", SS_TYPEMASK, SS_LEFT, WS_GROUP},
    {Kind::Edit, "Edit", ES_MULTILINE | ES_READONLY, 0, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL},
    {Kind::Combo, "ComboBox", CBS_DROPDOWNLIST, CBS_DROPDOWN, WS_TABSTOP | WS_VSCROLL},
    {Kind::Trackbar, "msctls_trackbar32", TBS_VERT, TBS_HORZ, WS_TABSTOP | TBS_NOTICKS},
    {Kind::CheckBox, "Button", BS_TYPEMASK, BS_AUTOCHECKBOX, WS_TABSTOP},
    {Kind::PushButton, "Button", BS_TYPEMASK, BS_PUSHBUTTON, WS_TABSTOP},
    {Kind::DefaultButton, "Button", BS_TYPEMASK, BS_DEFPUSHBUTTON, WS_TABSTOP},
    {Kind::Tree, "SysTreeView32", 0, 0, WS_TABSTOP | WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT},
};

const KindShape& ShapeOf(Kind kind) {
  for (const KindShape& s : shapes) {
    if (s.kind == kind) return s;
  }
  return shapes[0];
}

// The embedded copy of control_ids.h, as the resource script includes it.
std::string ControlIdsHeader() {
  for (size_t i = 0; i < host::RegisteredResourceScriptCount(); ++i) {
    const host::ResourceScript* script = host::RegisteredResourceScriptAt(i);
    for (size_t j = 0; j < script->includeCount; ++j) {
      std::string name = script->includes[j].name;
      if (name.size() >= 13 && name.compare(name.size() - 13, 13, "control_ids.h") == 0) {
        return std::string(script->includes[j].text, script->includes[j].length);
      }
    }
  }
  return "";
}

class Dialog102Test : public WindowTest {
 protected:
  HWND Create() {
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_VANTREL), nullptr,
                              MessageRecorder::Procedure, 0);
  }

  MessageRecorder recorder;
};

TEST_F(Dialog102Test, TheDialogComesFromTheLinkedScript) {
  HWND dialog = Create();
  ASSERT_NE(dialog, nullptr) << host::LastResourceScriptError();
  char caption[64];
  GetWindowTextA(dialog, caption, sizeof(caption));
  EXPECT_STREQ(caption, "Sorvane Force Feedback Test 1.70");
  DWORD style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
  for (DWORD bit : {static_cast<DWORD>(WS_POPUP), static_cast<DWORD>(WS_CAPTION), static_cast<DWORD>(WS_SYSMENU),
                    static_cast<DWORD>(WS_MINIMIZEBOX), static_cast<DWORD>(DS_MODALFRAME),
                    static_cast<DWORD>(DS_SETFONT), static_cast<DWORD>(WS_VISIBLE)}) {
    EXPECT_EQ(style & bit, bit) << std::hex << bit;
  }
  RECT r = host::DialogUnitRect(dialog);
  EXPECT_EQ(r.right - r.left, 480);
  EXPECT_EQ(r.bottom - r.top, 416);
  // Focus on the first tab stop, the device combo box.
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_DEVICE);
}

TEST_F(Dialog102Test, EveryControlOfTheHeaderIsThereWithItsClassCaptionVisibilityAndStyle) {
  HWND dialog = Create();
  ASSERT_NE(dialog, nullptr) << host::LastResourceScriptError();
  for (const Expected& e : expectedControls) {
    HWND control = GetDlgItem(dialog, e.id);
    ASSERT_NE(control, nullptr) << e.name;
    const KindShape& shape = ShapeOf(e.kind);
    char className[32];
    GetClassNameA(control, className, sizeof(className));
    EXPECT_STREQ(className, shape.className) << e.name;
    char text[64];
    GetWindowTextA(control, text, sizeof(text));
    EXPECT_STREQ(text, e.caption) << e.name;
    EXPECT_EQ(IsWindowVisible(control) != FALSE, e.visible) << e.name;
    DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    EXPECT_EQ(style & shape.typeMask, shape.type) << e.name << std::hex << " style 0x" << style;
    EXPECT_EQ(style & shape.required, shape.required) << e.name << std::hex << " style 0x" << style;
    EXPECT_EQ(style & WS_CHILD, static_cast<DWORD>(WS_CHILD)) << e.name;
  }
  // Nothing in the header is missing from the table (and so from the dialog).
  std::string header = ControlIdsHeader();
  ASSERT_FALSE(header.empty());
  std::set<int> tabled;
  for (const Expected& e : expectedControls) tabled.insert(e.id);
  size_t defines = 0;
  for (size_t at = header.find("#define IDC_"); at != std::string::npos; at = header.find("#define IDC_", at + 1)) {
    std::string rest = header.substr(at + 8, header.find('\n', at) - at - 8);
    std::string name = rest.substr(0, rest.find(' '));
    if (name == "IDC_STATIC") continue;
    int value = std::atoi(rest.c_str() + rest.find(' ') + 1);
    ++defines;
    EXPECT_EQ(tabled.count(value), 1u) << name << " = " << value << " is not checked";
    EXPECT_NE(GetDlgItem(dialog, value), nullptr) << name;
  }
  EXPECT_EQ(defines, std::size(expectedControls));
}

struct Box {
  std::string what;
  int left, top, right, bottom;
};

bool Overlap(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const Box& inner, const Box& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

// A combo box's template height includes its dropped-down list; closed, it is one edit
// field high.
constexpr int closedComboHeight = 12;
// A control may sit on a group box's top edge, in the band of its caption.
constexpr int groupCaptionBand = 4;

TEST_F(Dialog102Test, NoTwoVisibleControlsOverlapExceptInsideTheirGroupBoxes) {
  host::ResourceScriptParse parse = host::ParseResourceScript(*host::RegisteredResourceScriptAt(0));
  ASSERT_TRUE(parse.ok) << parse.ErrorText();
  const host::DialogTemplate* dialog = nullptr;
  for (const host::DialogTemplate& d : parse.dialogs) {
    if (d.numeric && d.id == IDD_VANTREL) dialog = &d;
  }
  ASSERT_NE(dialog, nullptr);
  std::vector<Box> groups;
  std::vector<Box> controls;
  for (const host::ControlTemplate& c : dialog->controls) {
    std::string what = "line " + std::to_string(c.line) + " (" + c.text + ", " + std::to_string(c.id) + ")";
    // Every control, list dropped or not, fits in the dialog.
    EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.x + c.cx <= dialog->cx && c.y + c.cy <= dialog->cy) << what;
    if ((c.style & WS_VISIBLE) == 0) continue;
    bool combo = c.kind == host::ControlClass::ComboBox;
    Box box{what, c.x, c.y, c.x + c.cx, c.y + (combo ? closedComboHeight : c.cy)};
    bool group = c.kind == host::ControlClass::Button && (c.style & BS_TYPEMASK) == BS_GROUPBOX;
    (group ? groups : controls).push_back(box);
  }
  for (size_t i = 0; i < controls.size(); ++i) {
    for (size_t j = i + 1; j < controls.size(); ++j) {
      EXPECT_FALSE(Overlap(controls[i], controls[j])) << controls[i].what << " overlaps " << controls[j].what;
    }
    for (const Box& g : groups) {
      if (!Overlap(controls[i], g)) continue;
      Box widened{g.what, g.left, g.top - groupCaptionBand, g.right, g.bottom};
      EXPECT_TRUE(Inside(controls[i], widened)) << controls[i].what << " crosses the edge of " << g.what;
    }
  }
  for (size_t i = 0; i < groups.size(); ++i) {
    for (size_t j = i + 1; j < groups.size(); ++j) {
      EXPECT_FALSE(Overlap(groups[i], groups[j])) << groups[i].what << " overlaps " << groups[j].what;
    }
  }
  // Only the two hidden buttons went unchecked.
  EXPECT_EQ(groups.size(), 2u);
  EXPECT_EQ(controls.size() + groups.size() + 2, dialog->controls.size());
}

}  // namespace
}  // namespace window_test

// The resource-script reader on small scripts: each statement's default styles, style
// expressions, the dialog header, the preprocessor, skipped resources, and the line each
// kind of malformed script is reported at.
#include <string>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

host::ResourceScriptParse Parse(const std::string& text, const host::EmbeddedFile* includes = nullptr,
                                size_t includeCount = 0) {
  host::ResourceScript script{"test.rc", text.c_str(), text.size(), includes, includeCount};
  return host::ParseResourceScript(script);
}

std::string OneControlScript(const std::string& line) {
  return "1 DIALOGEX 0, 0, 200, 100\nBEGIN\n    " + line + "\nEND\n";
}

constexpr DWORD child = WS_CHILD | WS_VISIBLE;

struct ControlCase {
  const char* line;
  host::ControlClass kind;
  const char* className;
  const char* text;
  int id;
  DWORD style;
  DWORD exStyle;
  int x, y, cx, cy;
};

const ControlCase controlCases[] = {
    {"LTEXT \"Left\", 10, 1, 2, 30, 8", host::ControlClass::Static, "Static", "Left", 10, child | SS_LEFT | WS_GROUP, 0,
     1, 2, 30, 8},
    {"RTEXT \"Right\", 11, 1, 2, 30, 8", host::ControlClass::Static, "Static", "Right", 11, child | SS_RIGHT | WS_GROUP,
     0, 1, 2, 30, 8},
    {"CTEXT \"Centre\", 12, 1, 2, 30, 8", host::ControlClass::Static, "Static", "Centre", 12,
     child | SS_CENTER | WS_GROUP, 0, 1, 2, 30, 8},
    {"PUSHBUTTON \"Push\", 13, 1, 2, 30, 14", host::ControlClass::Button, "Button", "Push", 13,
     child | BS_PUSHBUTTON | WS_TABSTOP, 0, 1, 2, 30, 14},
    {"DEFPUSHBUTTON \"Default\", 14, 1, 2, 30, 14", host::ControlClass::Button, "Button", "Default", 14,
     child | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 1, 2, 30, 14},
    {"GROUPBOX \"Group\", 15, 1, 2, 30, 40", host::ControlClass::Button, "Button", "Group", 15, child | BS_GROUPBOX, 0,
     1, 2, 30, 40},
    {"AUTOCHECKBOX \"Box\", 16, 1, 2, 30, 10", host::ControlClass::Button, "Button", "Box", 16,
     child | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 1, 2, 30, 10},
    {"EDITTEXT 17, 1, 2, 30, 12", host::ControlClass::Edit, "Edit", "", 17, child | ES_LEFT | WS_BORDER | WS_TABSTOP, 0,
     1, 2, 30, 12},
    {"EDITTEXT 18, 1, 2, 30, 12, ES_AUTOHSCROLL | NOT WS_BORDER", host::ControlClass::Edit, "Edit", "", 18,
     child | ES_AUTOHSCROLL | WS_TABSTOP, 0, 1, 2, 30, 12},
    // The documented CBS_SIMPLE default, and a given type replacing it.
    {"COMBOBOX 19, 1, 2, 30, 50", host::ControlClass::ComboBox, "ComboBox", "", 19, child | CBS_SIMPLE | WS_TABSTOP, 0,
     1, 2, 30, 50},
    {"COMBOBOX 20, 1, 2, 30, 50, CBS_DROPDOWN | WS_VSCROLL", host::ControlClass::ComboBox, "ComboBox", "", 20,
     child | CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 0, 1, 2, 30, 50},
    {"PUSHBUTTON \"Hidden\", 21, 1, 2, 20, 14, NOT WS_VISIBLE", host::ControlClass::Button, "Button", "Hidden", 21,
     WS_CHILD | BS_PUSHBUTTON | WS_TABSTOP, 0, 1, 2, 20, 14},
    {"CONTROL \"\", 22, \"msctls_trackbar32\", TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, 1, 2, 30, 15",
     host::ControlClass::Trackbar, "msctls_trackbar32", "", 22, child | TBS_NOTICKS | WS_TABSTOP, 0, 1, 2, 30, 15},
    {"CONTROL \"\", 23, \"SysTreeView32\", TVS_HASLINES | WS_BORDER, 1, 2, 30, 40", host::ControlClass::TreeView,
     "SysTreeView32", "", 23, child | TVS_HASLINES | WS_BORDER, 0, 1, 2, 30, 40},
    {"CONTROL \"Check\", 24, \"button\", BS_AUTOCHECKBOX | WS_TABSTOP, 1, 2, 30, 10", host::ControlClass::Button,
     "Button", "Check", 24, child | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 1, 2, 30, 10},
    {"CONTROL \"\", 25, Edit, ES_NUMBER, 1, 2, 30, 12", host::ControlClass::Edit, "Edit", "", 25, child | ES_NUMBER, 0,
     1, 2, 30, 12},
    {"CONTROL \"\", 26, TRACKBAR_CLASSA, 0, 1, 2, 30, 15", host::ControlClass::Trackbar, "msctls_trackbar32", "", 26,
     child, 0, 1, 2, 30, 15},
    {"CONTROL \"\", 27, \"Static\", SS_LEFT, 1, 2, 30, 8, WS_EX_STATICEDGE, 5", host::ControlClass::Static, "Static",
     "", 27, child, WS_EX_STATICEDGE, 1, 2, 30, 8},
    {"LTEXT \"Sums\", 28, 1+2, (4*2), 0x1E, 8L, SS_NOTIFY, WS_EX_CLIENTEDGE", host::ControlClass::Static, "Static",
     "Sums", 28, child | SS_NOTIFY | WS_GROUP, WS_EX_CLIENTEDGE, 3, 8, 30, 8},
    {"LTEXT \"Quote \"\"x\"\" and \\\\\", -1, 1, 2, 30, 8", host::ControlClass::Static, "Static", "Quote \"x\" and \\",
     -1, child | WS_GROUP, 0, 1, 2, 30, 8},
};

TEST(ResourceScriptParser, EachControlStatementGetsItsDefaultsAndTheScriptsStyle) {
  for (const ControlCase& c : controlCases) {
    host::ResourceScriptParse parse = Parse(OneControlScript(c.line));
    ASSERT_TRUE(parse.ok) << c.line << ": " << parse.ErrorText();
    ASSERT_EQ(parse.dialogs.size(), 1u);
    ASSERT_EQ(parse.dialogs[0].controls.size(), 1u) << c.line;
    const host::ControlTemplate& control = parse.dialogs[0].controls[0];
    EXPECT_EQ(control.kind, c.kind) << c.line;
    EXPECT_EQ(control.className, c.className) << c.line;
    EXPECT_EQ(control.text, c.text) << c.line;
    EXPECT_EQ(control.id, c.id) << c.line;
    EXPECT_EQ(control.style, c.style) << c.line << std::hex << " got 0x" << control.style << " want 0x" << c.style;
    EXPECT_EQ(control.exStyle, c.exStyle) << c.line;
    EXPECT_EQ(control.x, c.x) << c.line;
    EXPECT_EQ(control.y, c.y) << c.line;
    EXPECT_EQ(control.cx, c.cx) << c.line;
    EXPECT_EQ(control.cy, c.cy) << c.line;
    EXPECT_EQ(control.line, 3) << c.line;
  }
}

TEST(ResourceScriptParser, ReadsTheDialogHeaderAndItsOptionalStatements) {
  host::ResourceScriptParse parse = Parse(
      "102 DIALOGEX 10, 20, 480, 416\n"
      "STYLE DS_MODALFRAME | DS_SHELLFONT | WS_POPUP | WS_VISIBLE | WS_SYSMENU\n"
      "EXSTYLE WS_EX_APPWINDOW\n"
      "CAPTION \"A title\"\n"
      "FONT 8, \"MS Shell Dlg\", 0, 0, 0x1\n"
      "BEGIN\n"
      "END\n"
      "named DIALOG 0, 0, 50, 40\n"
      "MENU somemenu\n"
      "BEGIN\n"
      "END\n");
  ASSERT_TRUE(parse.ok) << parse.ErrorText();
  ASSERT_EQ(parse.dialogs.size(), 2u);
  const host::DialogTemplate& main = parse.dialogs[0];
  EXPECT_TRUE(main.numeric);
  EXPECT_EQ(main.id, 102);
  EXPECT_TRUE(main.extended);
  EXPECT_EQ(main.x, 10);
  EXPECT_EQ(main.y, 20);
  EXPECT_EQ(main.cx, 480);
  EXPECT_EQ(main.cy, 416);
  // CAPTION adds WS_CAPTION, FONT adds DS_SETFONT.
  EXPECT_EQ(main.style,
            static_cast<DWORD>(DS_MODALFRAME | DS_SHELLFONT | WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_CAPTION));
  EXPECT_EQ(main.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_EQ(main.caption, "A title");
  EXPECT_EQ(main.fontSize, 8);
  EXPECT_EQ(main.fontName, "MS Shell Dlg");
  EXPECT_EQ(main.line, 1);
  const host::DialogTemplate& named = parse.dialogs[1];
  EXPECT_FALSE(named.numeric);
  EXPECT_EQ(named.name, "NAMED");
  EXPECT_FALSE(named.extended);
  // No STYLE: the resource compiler's default for a dialog.
  EXPECT_EQ(named.style, static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU));
}

TEST(ResourceScriptParser, PreprocessesIncludesDefinesConditionsAndComments) {
  const char ids[] =
      "#pragma once\n"
      "#define ID_DIALOG 300\n"
      "#define IDC_FIRST 7\n"
      "#define IDC_ALIAS IDC_FIRST\n";
  host::EmbeddedFile includes[] = {{"../ids.h", ids, sizeof(ids) - 1}};
  host::ResourceScriptParse parse = Parse(
      "#include <windows.h>\n"
      "#include \"../ids.h\"\n"
      "/* a block\n"
      "   comment */\n"
      "#ifdef NOT_DEFINED\n"
      "#error never\n"
      "#else\n"
      "#define WIDE (30 + \\\n"
      "              10) // the rest of the line is a comment\n"
      "#endif\n"
      "#if defined(IDC_FIRST) && IDC_FIRST == 7 && !defined NOT_DEFINED\n"
      "#define FIRST_OK 1\n"
      "#elif 1\n"
      "#define FIRST_OK 0\n"
      "#endif\n"
      "ID_DIALOG DIALOGEX 0, 0, WIDE, 20\n"
      "BEGIN\n"
      "    LTEXT \"a // not a comment\", IDC_ALIAS, 0, 0, WIDE, 8 /* inline */\n"
      "#if !FIRST_OK\n"
      "    LTEXT \"wrong\", 99, 0, 0, 1, 1\n"
      "#endif\n"
      "END\n",
      includes, 1);
  ASSERT_TRUE(parse.ok) << parse.ErrorText();
  ASSERT_EQ(parse.dialogs.size(), 1u);
  const host::DialogTemplate& d = parse.dialogs[0];
  EXPECT_EQ(d.id, 300);
  EXPECT_EQ(d.cx, 40);
  ASSERT_EQ(d.controls.size(), 1u);
  EXPECT_EQ(d.controls[0].text, "a // not a comment");
  EXPECT_EQ(d.controls[0].id, 7);
  EXPECT_EQ(d.controls[0].cx, 40);
  EXPECT_EQ(d.controls[0].line, 18);
}

TEST(ResourceScriptParser, SkipsResourcesOtherThanDialogs) {
  host::ResourceScriptParse parse = Parse(
      "1 ICON \"x.ico\"\n"
      "1 24 \"app.manifest\"\n"
      "STRINGTABLE\n"
      "BEGIN\n"
      "    1, \"one\"\n"
      "END\n"
      "1 VERSIONINFO\n"
      " FILEVERSION 1,0,0,0\n"
      "BEGIN\n"
      "    BLOCK \"StringFileInfo\"\n"
      "    BEGIN\n"
      "        VALUE \"x\", \"y\"\n"
      "    END\n"
      "END\n"
      "LANGUAGE 9, 1\n"
      "5 DIALOGEX 0, 0, 1, 1\n"
      "{\n"
      "    LTEXT \"in braces\", 1, 0, 0, 1, 1\n"
      "}\n");
  ASSERT_TRUE(parse.ok) << parse.ErrorText();
  ASSERT_EQ(parse.dialogs.size(), 1u);
  EXPECT_EQ(parse.dialogs[0].id, 5);
  ASSERT_EQ(parse.dialogs[0].controls.size(), 1u);
  EXPECT_EQ(parse.dialogs[0].controls[0].text, "in braces");
}

struct MalformedCase {
  const char* what;
  const char* text;
  const char* file;
  int line;
  const char* message;
};

const char badInclude[] = "#define A 1\n#bogus\n";

const MalformedCase malformedCases[] = {
    {"missing comma", "1 DIALOGEX 0, 0, 10 10\nBEGIN\nEND\n", "test.rc", 1, "expected ','"},
    {"unknown name", "1 DIALOGEX 0,0,1,1\nBEGIN\n LTEXT \"x\", IDC_NOPE, 0,0,1,1\nEND\n", "test.rc", 3,
     "unknown name 'IDC_NOPE'"},
    {"unknown control statement", "1 DIALOGEX 0,0,1,1\nBEGIN\n\n LISTBOX 1, 0,0,1,1\nEND\n", "test.rc", 4,
     "unknown control statement 'LISTBOX'"},
    {"unknown window class", "1 DIALOGEX 0,0,1,1\nBEGIN\n CONTROL \"\", 1, \"SysListView32\", 0, 0,0,1,1\nEND\n",
     "test.rc", 3, "unknown control class \"SysListView32\""},
    {"text not a string", "1 DIALOGEX 0,0,1,1\nBEGIN\n LTEXT 5, 1, 0,0,1,1\nEND\n", "test.rc", 3, "expected a string"},
    {"unterminated string", "1 DIALOGEX 0,0,1,1\nBEGIN\n LTEXT \"oops, 1, 0,0,1,1\nEND\n", "test.rc", 3,
     "unterminated string"},
    {"no END", "1 DIALOGEX 0,0,1,1\nBEGIN\n LTEXT \"x\", 1, 0,0,1,1\n", "test.rc", 1, "has no END"},
    {"unknown dialog statement", "1 DIALOGEX 0,0,1,1\nMENUITEM x\nBEGIN\nEND\n", "test.rc", 2,
     "unknown dialog statement 'MENUITEM'"},
    {"resource without a block", "1 MENU\n", "test.rc", 1, "has no BEGIN"},
    {"missing include", "\n#include \"missing.h\"\n", "test.rc", 2, "cannot open include file \"missing.h\""},
    {"error inside an include", "#include \"bad.h\"\n", "bad.h", 2, "unknown directive #bogus"},
    {"#if without #endif", "#ifdef X\n1 DIALOGEX 0,0,1,1\nBEGIN\nEND\n", "test.rc", 1, "#if without #endif"},
    {"#endif without #if", "#endif\n", "test.rc", 1, "#endif without #if"},
    {"second #else", "#if 1\n#else\n#else\n#endif\n", "test.rc", 3, "#else after #else"},
    {"function-like macro", "#define F(x) x\n1 DIALOGEX 0,0,F(1),1\nBEGIN\nEND\n", "test.rc", 2,
     "function-like macro F"},
    {"self-referring macro", "#define LOOP LOOP\n1 DIALOGEX 0,0,LOOP,1\nBEGIN\nEND\n", "test.rc", 2,
     "refers to itself"},
    {"unterminated comment", "/* never closed\n1 DIALOGEX 0,0,1,1\n", "test.rc", 1, "unterminated comment"},
    {"stray character", "1 DIALOGEX 0,0,1,1\nBEGIN\n LTEXT \"x\", 1, 0,0,1,1 @\nEND\n", "test.rc", 3,
     "unexpected character '@'"},
    {"division by zero", "1 DIALOGEX 0,0,4/0,1\nBEGIN\nEND\n", "test.rc", 1, "division by zero"},
};

TEST(ResourceScriptParser, ReportsTheFileAndLineOfWhatIsMalformed) {
  host::EmbeddedFile includes[] = {{"bad.h", badInclude, sizeof(badInclude) - 1}};
  for (const MalformedCase& c : malformedCases) {
    host::ResourceScriptParse parse = Parse(c.text, includes, 1);
    EXPECT_FALSE(parse.ok) << c.what;
    EXPECT_TRUE(parse.dialogs.empty()) << c.what;
    EXPECT_EQ(parse.errorFile, c.file) << c.what;
    EXPECT_EQ(parse.errorLine, c.line) << c.what << ": " << parse.ErrorText();
    EXPECT_NE(parse.errorMessage.find(c.message), std::string::npos) << c.what << ": " << parse.ErrorText();
    EXPECT_EQ(parse.ErrorText().rfind(std::string(c.file) + ":" + std::to_string(c.line) + ": ", 0), 0u) << c.what;
  }
}

class ResourceScriptLookup : public testing::Test {
 protected:
  void SetUp() override { host::ResetWindowSystem(); }
  void TearDown() override { host::ResetWindowSystem(); }
};

TEST_F(ResourceScriptLookup, CreateDialogFailsOnAMalformedScriptAndSaysWhere) {
  const char text[] = "900 DIALOGEX 0,0,1,1\nBEGIN\n LTEXT \"x\" 1, 0,0,1,1\nEND\n";
  host::ResourceScript bad{"bad.rc", text, sizeof(text) - 1, nullptr, 0};
  host::RegisterResourceScript(&bad);
  SetLastError(0);
  HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(900), nullptr, nullptr, 0);
  host::UnregisterResourceScript(&bad);
  EXPECT_EQ(dialog, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_EQ(std::string(host::LastResourceScriptError()).rfind("bad.rc:3: expected ','", 0), 0u)
      << host::LastResourceScriptError();
}

TEST_F(ResourceScriptLookup, FindsTemplatesByNumberByHashNumberAndByName) {
  const char text[] = "901 DIALOGEX 0,0,1,1\nBEGIN\nEND\nSecond DIALOGEX 0,0,1,1\nCAPTION \"by name\"\nBEGIN\nEND\n";
  host::ResourceScript script{"lookup.rc", text, sizeof(text) - 1, nullptr, 0};
  host::RegisterResourceScript(&script);
  HWND byNumber = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(901), nullptr, nullptr, 0);
  HWND byHash = CreateDialogParamA(nullptr, "#901", nullptr, nullptr, 0);
  HWND byName = CreateDialogParamA(nullptr, "second", nullptr, nullptr, 0);
  SetLastError(0);
  HWND missing = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(902), nullptr, nullptr, 0);
  host::UnregisterResourceScript(&script);
  EXPECT_NE(byNumber, nullptr);
  EXPECT_NE(byHash, nullptr);
  ASSERT_NE(byName, nullptr);
  char caption[16];
  GetWindowTextA(byName, caption, sizeof(caption));
  EXPECT_STREQ(caption, "by name");
  EXPECT_EQ(missing, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_NE(std::string(host::LastResourceScriptError()).find("902"), std::string::npos);
}

}  // namespace

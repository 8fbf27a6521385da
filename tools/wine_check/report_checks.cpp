#include "report_checks.h"

#include <commctrl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "remote_tree.h"
#include "remote_window.h"

namespace {

// The report is built on the first tick after the dialog shows; the wait covers a slow Wine.
constexpr DWORD reportWaitMs = 10000;

// The code DirectInput answers for what a device or Wine does not do (DIERR_UNSUPPORTED is the
// same value): no fault of the program's calls.
constexpr unsigned long notImplemented = 0x80004001;

// Failures Wine answers although it implements the call, each for a reason of its own: the
// start of the traced line, code included.
const char* const wineFailures[] = {
    // Wine 8 answers the read with E_INVALIDARG (DIERR_INVALIDPARAM), not DIERR_UNSUPPORTED, for
    // every object of its mouse, relative axes and buttons alike.
    "GetProperty(DIPROP_CALIBRATION) Failed (0x80070057)",
    // A HID device's objects that are neither axes, buttons nor POVs (its collections and its
    // output fields, the force-feedback reports' among them) have no object properties in Wine 8:
    // it answers DIERR_NOTFOUND for them.
    "GetProperty(DIPROP_CALIBRATIONMODE) Failed (0x80070002)",
    "GetProperty(DIPROP_DEADZONE) Failed (0x80070002)",
    "GetProperty(DIPROP_SATURATION) Failed (0x80070002)",
    "GetProperty(DIPROP_GRANULARITY) Failed (0x80070002)",
    "GetProperty(DIPROP_LOGICALRANGE) Failed (0x80070002)",
    "GetProperty(DIPROP_PHYSICALRANGE) Failed (0x80070002)",
    "GetProperty(DIPROP_RANGE) Failed (0x80070002)",
};

enum class Value { guid, number, text };

struct ExpectedLine {
  const char* prefix;
  Value value;
};

const ExpectedLine rootLines[] = {
    {"Instance GUID: ", Value::guid}, {"Product GUID: ", Value::guid},  {"Instance name: ", Value::text},
    {"Product name: ", Value::text},  {"Device Axis: ", Value::number}, {"Device Buttons: ", Value::number},
};

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// The report's braced upper-case form: {8-4-4-4-12 hex digits}.
bool IsGuid(const std::string& text) {
  static const char pattern[] = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  if (text.size() != sizeof(pattern) - 1) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    bool hex = std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F');
    if (pattern[i] == 'X' ? !hex : c != pattern[i]) return false;
  }
  return true;
}

bool IsNumber(const std::string& text) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

bool HasValue(Value kind, const std::string& value) {
  switch (kind) {
    case Value::guid: return IsGuid(value);
    case Value::number: return IsNumber(value);
    case Value::text: return !value.empty();
  }
  return false;
}

// The indices of the root's direct children.
std::vector<size_t> RootChildren(const std::vector<remote::TreeItem>& items) {
  std::vector<size_t> children;
  for (size_t i = 1; i < items.size() && items[i].depth > 0; ++i) {
    if (items[i].depth == 1) children.push_back(i);
  }
  return children;
}

// The number of direct children of item index.
int ChildCount(const std::vector<remote::TreeItem>& items, size_t index) {
  int count = 0;
  for (size_t i = index + 1; i < items.size() && items[i].depth > items[index].depth; ++i) {
    if (items[i].depth == items[index].depth + 1) ++count;
  }
  return count;
}

std::optional<std::string> SelectedDevice(HWND dialog) {
  HWND combo = GetDlgItem(dialog, IDC_DEVICE);
  std::optional<LRESULT> selection = remote::Send(combo, CB_GETCURSEL, 0, 0);
  if (!selection || *selection == CB_ERR) return std::nullopt;
  return remote::ComboItem(combo, static_cast<int>(*selection));
}

// The result code of a traced failure ("... Failed (0x80004001) E_NOTIMPL"), if the line has one.
std::optional<unsigned long> FailureCode(const std::string& line, size_t marker) {
  size_t open = line.find('(', marker);
  if (open == std::string::npos || line.compare(open, 3, "(0x") != 0) return std::nullopt;
  char* end = nullptr;
  unsigned long code = std::strtoul(line.c_str() + open + 1, &end, 16);
  if (end == line.c_str() + open + 1 || *end != ')') return std::nullopt;
  return code;
}

// A failure line of the trace; the acquire failure is spelled "Failled".
std::optional<size_t> FailureMarker(const std::string& line) {
  for (const char* marker : {" Failed", " Failled"}) {
    size_t at = line.find(marker);
    if (at != std::string::npos) return at;
  }
  return std::nullopt;
}

void PrintLines(const char* title, const std::vector<std::string>& lines) {
  std::printf("   %s (%zu lines)\n", title, lines.size());
  for (const std::string& line : lines) std::printf("   | %s\n", line.c_str());
  std::fflush(stdout);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// Checks the tree's shape and identity lines; false when something failed, so the tree is shown.
bool CheckTree(CheckLog& log, HWND dialog, const std::vector<remote::TreeItem>& items) {
  bool passed = true;
  int topLevel = 0;
  for (const remote::TreeItem& item : items) topLevel += item.depth == 0 ? 1 : 0;
  passed &= log.ExpectNumber("the report has one top-level item", 1, topLevel);
  const remote::TreeItem& root = items.front();
  passed &= log.Expect(root.expanded, "the report's root " + Quoted(root.text) + " is expanded");

  std::vector<size_t> children = RootChildren(items);
  std::optional<std::string> values[std::size(rootLines)];
  for (size_t line = 0; line < std::size(rootLines); ++line) {
    const ExpectedLine& expected = rootLines[line];
    int found = 0;
    for (size_t child : children) {
      if (!StartsWith(items[child].text, expected.prefix)) continue;
      ++found;
      values[line] = items[child].text.substr(std::char_traits<char>::length(expected.prefix));
      bool wellFormed = HasValue(expected.value, *values[line]);
      passed &= log.Expect(wellFormed, "the report line " + Quoted(items[child].text) + " is well formed");
      if (expected.value == Value::number && wellFormed) {
        // The group lists one child per object of its kind that the device enumerates.
        passed &= log.ExpectNumber("objects listed under " + Quoted(items[child].text),
                                   std::atoi(values[line]->c_str()), ChildCount(items, child));
      }
    }
    passed &= log.ExpectNumber("the root has one line " + Quoted(expected.prefix), 1, found);
  }

  auto valueOf = [&](const char* prefix) -> const std::optional<std::string>& {
    size_t line = 0;
    while (std::string(rootLines[line].prefix) != prefix) ++line;
    return values[line];
  };
  const std::optional<std::string>& instanceName = valueOf("Instance name: ");
  const std::optional<std::string>& productName = valueOf("Product name: ");
  if (productName) passed &= log.ExpectText("the report's root is the product name", *productName, root.text);
  // The combo lists instance names while the root is the product name, and Wine names its
  // devices differently in the two ("Mouse", "Wine Mouse"): the selected entry is matched with
  // the report's instance name, and the root with its product name above.
  std::optional<std::string> selected = SelectedDevice(dialog);
  if (!log.Expect(selected.has_value(), "the device combo 1022 has a selected entry")) return false;
  if (instanceName) {
    passed &= log.ExpectText("the report's instance name is the selected device", *selected, *instanceName);
  }
  return passed;
}

void CheckTrace(CheckLog& log, const std::vector<std::string>& lines) {
  std::vector<std::string> faults;
  for (const std::string& line : lines) {
    std::optional<size_t> marker = FailureMarker(line);
    if (!marker) continue;
    std::optional<unsigned long> code = FailureCode(line, *marker);
    if (code && *code == notImplemented) continue;
    bool known = false;
    for (const char* failure : wineFailures) known = known || StartsWith(line, failure);
    if (!known) faults.push_back(line);
  }
  std::string detail;
  for (const std::string& fault : faults) detail += "\n     " + fault;
  log.Expect(faults.empty(), "the trace holds no failure of a call Wine implements", detail);
}

}  // namespace

void CheckTraceHasNoFailures(CheckLog& log, DebugOutputListener& debugOutput, bool verbose) {
  if (!log.Expect(debugOutput.Flush(), "the program's debug output comes through")) return;
  std::vector<std::string> lines = debugOutput.Lines();
  if (verbose) PrintLines("program trace", lines);
  CheckTrace(log, lines);
}

void CheckReport(CheckLog& log, HWND dialog, DebugOutputListener& debugOutput, bool verbose) {
  HWND tree = GetDlgItem(dialog, IDC_REPORT_TREE);
  if (!log.Expect(tree != nullptr, "the report tree 1025 exists")) return;
  bool filled = remote::WaitUntil(
      [&] { return remote::Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0).value_or(0) != 0; }, reportWaitMs);
  if (!log.Expect(filled, "the report tree fills within " + std::to_string(reportWaitMs / 1000) + " s")) return;
  // The report is built in one go on the program's thread: once it answers again, it is whole.
  remote::Settle(dialog);

  std::string error;
  std::optional<std::vector<remote::TreeItem>> items = remote::TreeItems(tree, &error);
  if (log.Expect(items.has_value() && !items->empty(), "the report tree reads from outside", error)) {
    bool shapeOk = CheckTree(log, dialog, *items);
    if (verbose || !shapeOk) PrintLines("report tree as read", SplitLines(remote::TreeText(*items)));
  }

  bool delivered = debugOutput.Flush();
  log.Expect(delivered, "the debug output listener receives OutputDebugStringA strings",
             "the checker's own marker did not come through DBWIN_BUFFER");
  std::vector<std::string> lines = debugOutput.Lines();
  if (verbose) PrintLines("program trace", lines);
  if (delivered) CheckTrace(log, lines);
}

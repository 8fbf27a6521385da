#include "hid_wheel_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "measurement_logs.h"
#include "program_controls.h"
#include "remote_tree.h"
#include "remote_window.h"
#include "virtual_wheel_checks.h"

namespace {

constexpr int forceSpringMode = 2;
constexpr int forceSpringPidMode = 3;
constexpr int linearForceMode = 12;
constexpr DWORD reportWaitMs = 10000;
constexpr DWORD seekWaitMs = 8000;
// Near the offset: the constant force stops pushing once the error is below the wheel's
// break-away, and the bang-bang mode swings about it.
constexpr int seekTolerance = 1200;
// Kick, centre, rest, then fifty steps of 300 ms, each after the wheel is centred again: some
// seventy thousand ticks, about ninety seconds under Wine.
constexpr DWORD linearTestWaitMs = 180000;
// The wheel's break-away force, the same model as the virtual wheel DLL's, and the linear force
// test's step with its default 50 steps to full force.
constexpr int breakAwayForce = 750;
constexpr int linearForceStep = 200;
constexpr char linearHeader[] = "force, startX, endX, deltaX, deltaXDeg";
constexpr char minForceHeader[] = "time(ms), dt, force, posX, rawPosX, posXDeg";

// The report's lines without their indent and "[+] " mark.
std::vector<std::string> ReportLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = text.substr(start, end - start);
    line.erase(0, line.find_first_not_of(' '));
    if (line.rfind("[+] ", 0) == 0) line.erase(0, 4);
    lines.push_back(line);
  }
  return lines;
}

int Indent(const std::string& text, size_t lineStart) {
  return static_cast<int>(text.find_first_not_of(' ', lineStart) - lineStart);
}

std::string ReportText(HWND dialog, std::string* error) {
  HWND tree = GetDlgItem(dialog, IDC_REPORT_TREE);
  std::string text;
  remote::WaitUntil(
      [&] {
        std::optional<std::string> read = remote::TreeText(tree, error);
        if (read) text = *read;
        return read && read->find("Active Effect") != std::string::npos;
      },
      reportWaitMs);
  return text;
}

// The first line that starts with `start` (indent and mark aside) and the lines nested under
// it, as the report text has them; empty when there is no such line.
std::string Subtree(const std::string& text, const std::string& start) {
  size_t lineStart = 0;
  while (lineStart < text.size()) {
    size_t end = text.find('\n', lineStart);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(lineStart, end - lineStart);
    line.erase(0, line.find_first_not_of(' '));
    if (line.rfind("[+] ", 0) == 0) line.erase(0, 4);
    if (line.rfind(start, 0) == 0) {
      int indent = Indent(text, lineStart);
      size_t last = end;
      while (last + 1 < text.size() && Indent(text, last + 1) > indent) {
        last = text.find('\n', last + 1);
        if (last == std::string::npos) last = text.size();
      }
      return text.substr(lineStart, last - lineStart + (last < text.size() ? 1 : 0));
    }
    lineStart = end + 1;
  }
  return {};
}

bool HasLine(const std::string& text, const std::string& line) {
  std::vector<std::string> lines = ReportLines(text);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HasLineStarting(const std::string& text, const std::string& start) {
  for (const std::string& line : ReportLines(text)) {
    if (line.rfind(start, 0) == 0) return true;
  }
  return false;
}

}  // namespace

void CheckHidWheelOpened(CheckLog& log, HWND dialog) {
  log.ExpectText("the device combo's first entry", hidWheelName,
                 remote::ComboItem(GetDlgItem(dialog, IDC_DEVICE), 0).value_or("<no reply>"));
  std::string error;
  std::string text = ReportText(dialog, &error);
  log.Expect(text.rfind(std::string("[+] ") + hidWheelName + "\n", 0) == 0, "the report's root is the HID wheel",
             text.substr(0, text.find('\n')) + error);
  for (const char* group : {"Device Axis: 2", "Device Buttons: 12", "Device POVs: 1"}) {
    log.Expect(HasLine(text, group), "the report has " + Quoted(group));
  }
  std::string x = Subtree(text, "X Axis");
  log.Expect(HasLineStarting(x, "FFB Max Force: "), "the report shows the X axis as a force-feedback actuator", x);
  std::string ffb = Subtree(text, "FFB Info:");
  if (!log.Expect(!ffb.empty(), "the report has an \"FFB Info:\" subtree")) return;
  // Wine names effect types by their GUIDs.
  std::string supported = Subtree(ffb, "Supported Effects");
  for (const char* effect :
       {"GUID_ConstantForce", "GUID_Spring", "GUID_Damper", "GUID_Inertia", "GUID_Friction"}) {
    log.Expect(HasLine(supported, effect), "the report lists " + Quoted(effect) + " as supported", supported);
  }
  log.Expect(HasLineStarting(Subtree(ffb, "Active Effect"), "GUID_ConstantForce: "),
             "the report lists the program's constant force under \"Active Effect\"");
}

void CheckForceModesTurnTheWheel(CheckLog& log, HWND dialog) {
  for (int mode : {forceSpringMode, forceSpringPidMode}) {
    for (int offset : {3000, -3000}) {
      SetOffsetX(dialog, offset);
      SelectMode(dialog, mode);
      std::optional<int> start = PositionX(dialog);
      int last = start.value_or(0);
      bool reached = remote::WaitUntil(
          [&] {
            std::optional<int> x = PositionX(dialog);
            if (x) last = *x;
            return x && std::abs(*x - offset) < seekTolerance;
          },
          seekWaitMs);
      log.Expect(reached,
                 "mode " + std::to_string(mode) + " turns the wheel to the offset " + std::to_string(offset),
                 "from " + std::to_string(start.value_or(0)) + " to " + std::to_string(last));
      SelectMode(dialog, 0);
    }
  }
  SetOffsetX(dialog, 0);
}

void CheckMinForceResultAndLog(CheckLog& log, HWND dialog) {
  std::string folder = DocumentsFolderPath();
  const std::string pattern = "log_mforce 2*.csv";
  std::set<std::string> before = LogNames(folder, pattern);
  CheckMinForceResult(log, dialog);
  std::string name = NewLogName(folder, pattern, before);
  if (!log.Expect(!name.empty(), "the minimum-force test wrote a new log in " + folder)) return;
  std::vector<std::string> lines;
  log.Expect(SplitCrLfLines(ReadWholeFile(folder + "\\" + name), &lines), "every line of " + name + " ends in CR LF");
  if (!log.ExpectText(name + " header", minForceHeader, lines.empty() ? "" : lines[0])) return;
  // Rows of the ramp: time, dt, force, posX, rawPosX, posXDeg; the force climbs to just past the
  // break-away force.
  int highestForce = 0;
  for (size_t i = 1; i < lines.size(); ++i) {
    int time = 0, dt = 0, force = 0;
    if (std::sscanf(lines[i].c_str(), "%d, %d, %d", &time, &dt, &force) != 3) {
      log.Expect(false, name + " row " + std::to_string(i) + " has the minimum-force format", Quoted(lines[i]));
      return;
    }
    highestForce = std::max(highestForce, std::abs(force));
  }
  log.Expect(lines.size() > 1 && highestForce > breakAwayForce, name + " logs the ramp past the break-away force",
             std::to_string(lines.size() - 1) + " rows, highest force " + std::to_string(highestForce));
}

void CheckLinearForceLog(CheckLog& log, HWND dialog) {
  std::string folder = DocumentsFolderPath();
  if (!log.Expect(!folder.empty(), "the shell names the documents folder")) return;
  const std::string pattern = "log2 2*.csv";
  std::set<std::string> before = LogNames(folder, pattern);
  SelectMode(dialog, linearForceMode);
  if (!log.Expect(WaitForDisabled(dialog, linearTestWaitMs), "the linear force test ends in \"Disabled\"")) return;
  std::string name = NewLogName(folder, pattern, before);
  if (!log.Expect(!name.empty(), "the linear force test wrote a new log in " + folder)) return;
  std::vector<std::string> lines;
  log.Expect(SplitCrLfLines(ReadWholeFile(folder + "\\" + name), &lines), "every line of " + name + " ends in CR LF");
  if (!log.ExpectText(name + " header", linearHeader, lines.empty() ? "" : lines[0])) return;
  // Rows after the header and the "0, 0, 0, 0, 0" one: force, startX, endX, deltaX, deltaXDeg.
  int stillForce = 0;
  int firstMovingForce = 0;
  int rows = 0;
  for (size_t i = 2; i < lines.size(); ++i) {
    int force = 0, startX = 0, endX = 0, deltaX = 0;
    double degrees = 0;
    if (std::sscanf(lines[i].c_str(), "%d, %d, %d, %d, %lf", &force, &startX, &endX, &deltaX, &degrees) != 5) {
      log.Expect(false, name + " row " + std::to_string(i) + " has the linear-force format", Quoted(lines[i]));
      return;
    }
    ++rows;
    if (deltaX == 0 && firstMovingForce == 0) stillForce = force;
    if (deltaX != 0 && firstMovingForce == 0) firstMovingForce = force;
  }
  log.ExpectNumber(name + ": rows after the first", 50, rows);
  log.Expect(stillForce < breakAwayForce && firstMovingForce > breakAwayForce &&
                 firstMovingForce - breakAwayForce <= linearForceStep,
             name + ": the first step that moved the wheel is the first above its break-away force " +
                 std::to_string(breakAwayForce),
             "last still at " + std::to_string(stillForce) + ", first moved at " + std::to_string(firstMovingForce));
}

#include "virtual_wheel_checks.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "measurement_logs.h"
#include "program_controls.h"
#include "remote_tree.h"
#include "remote_window.h"

namespace {

constexpr int simpleSpringMode = 1;
constexpr int minForceMode = 10;
constexpr int stepTestMode = 11;
// Offset X 3000.
constexpr int offsetTarget = 3000;
constexpr DWORD springWaitMs = 8000;
// The spring pulls until the error is below the wheel's break-away (about 750 of 10000).
constexpr int springTolerance = 1200;
// The kick, the rest and a ramp up to 40 % take some twenty seconds at most.
constexpr DWORD testWaitMs = 60000;
constexpr DWORD reportWaitMs = 10000;
// The virtual wheel's break-away force, as the DLL builds it, and one ramp step.
constexpr int breakAwayForce = 750;
constexpr int rampStep = 50;
constexpr char resultPrefix[] = "Your maximum value for steeringFFBBaseOffset is ";
// The C runtime's file buffer: the log reaches the disk in pieces of this size.
constexpr size_t firstBufferBytes = 4096;
// About twenty rows: less than a buffer more.
constexpr DWORD rowsAfterFlushMs = 300;
constexpr char stepHeader[] = "time(ms), dt, force, posX, rawPosX, posXDeg, velX (rad/s)";

struct StepRow {
  long time, dt, force, posX, rawX;
  double degrees, velocity;
};

bool ParseStepRow(const std::string& line, StepRow* row) {
  char tail = 0;
  int fields = std::sscanf(line.c_str(), "%ld, %ld, %ld, %ld, %ld, %lf, %lf%c", &row->time, &row->dt, &row->force,
                           &row->posX, &row->rawX, &row->degrees, &row->velocity, &tail);
  if (fields != 7) return false;
  // Six decimals in both float columns, as "%f" writes them.
  size_t lastComma = line.rfind(", ");
  size_t secondLast = line.rfind(", ", lastComma - 1);
  for (size_t at : {secondLast, lastComma}) {
    size_t end = line.find(", ", at + 2);
    std::string field = line.substr(at + 2, end == std::string::npos ? std::string::npos : end - at - 2);
    size_t point = field.find('.');
    if (point == std::string::npos || field.size() - point - 1 != 6) return false;
  }
  return true;
}

constexpr char stepLogPattern[] = "log 2*.csv";

// The newest step log that was not there before, or empty.
std::string NewStepLog(const std::string& folder, const std::set<std::string>& before) {
  return NewLogName(folder, stepLogPattern, before);
}

}  // namespace

void CheckVirtualWheelOpened(CheckLog& log, HWND dialog) {
  log.ExpectText("the device combo's first entry", virtualWheelName,
                 remote::ComboItem(GetDlgItem(dialog, IDC_DEVICE), 0).value_or("<no reply>"));
  HWND tree = GetDlgItem(dialog, IDC_REPORT_TREE);
  std::string text;
  std::string error;
  remote::WaitUntil(
      [&] {
        std::optional<std::string> read = remote::TreeText(tree, &error);
        if (read) text = *read;
        return read && !read->empty();
      },
      reportWaitMs);
  log.Expect(text.rfind(std::string("[+] ") + virtualWheelName + "\n", 0) == 0,
             "the report's root is the virtual wheel", text.substr(0, text.find('\n')) + error);
  log.Expect(text.find("\n  [+] FFB Info:\n") != std::string::npos, "the report has an \"FFB Info:\" subtree");
  log.Expect(text.find("\n    [+] Active Effect\n      Constant Force: ") != std::string::npos,
             "the report lists the program's constant force first under \"Active Effect\"");
  // The report is built on the first tick after the device is acquired, before any effect was
  // sent: none of the five is on the wheel yet, so each status line is closed and says so.
  for (const char* effect : {"Constant Force", "Spring", "Damper", "Inertia", "Friction"}) {
    std::string line = std::string("\n      ") + effect + ": Not Downloaded\n";
    log.Expect(text.find(line) != std::string::npos,
               "the report shows the closed line \"" + line.substr(7, line.size() - 8) + "\"");
  }
}

void CheckSpringMovesTheWheel(CheckLog& log, HWND dialog) {
  std::optional<int> start = PositionX(dialog);
  if (!log.Expect(start.has_value(), "the position readout shows the wheel")) return;
  SetOffsetX(dialog, offsetTarget);
  SelectMode(dialog, simpleSpringMode);
  int last = *start;
  bool reached = remote::WaitUntil(
      [&] {
        std::optional<int> x = PositionX(dialog);
        if (x) last = *x;
        return x && std::abs(*x - offsetTarget) < springTolerance;
      },
      springWaitMs);
  log.Expect(reached, "\"Simple Spring\" turns the wheel to the offset " + std::to_string(offsetTarget),
             "from " + std::to_string(*start) + " to " + std::to_string(last));
  SelectMode(dialog, 0);
}

void CheckMinForceResult(CheckLog& log, HWND dialog) {
  SelectMode(dialog, minForceMode);
  if (!log.Expect(WaitForDisabled(dialog, testWaitMs), "\"Min force\" ends in \"Disabled\"")) return;
  std::string result = remote::Text(GetDlgItem(dialog, IDC_STATUS)).value_or("<no reply>");
  size_t open = result.rfind('(');
  int value = open == std::string::npos ? -100000 : std::atoi(result.c_str() + open + 1);
  log.Expect(result.rfind(resultPrefix, 0) == 0 && std::abs(value - breakAwayForce) <= rampStep,
             "the result names the wheel's break-away force " + std::to_string(breakAwayForce) + " within " +
                 std::to_string(rampStep) + ": " + Quoted(result));
}

void CheckStepTestLog(CheckLog& log, HWND dialog) {
  std::string folder = DocumentsFolderPath();
  if (!log.Expect(!folder.empty(), "the shell names the documents folder")) return;
  std::set<std::string> before = LogNames(folder, stepLogPattern);
  SelectMode(dialog, stepTestMode);
  if (!log.Expect(WaitForDisabled(dialog, testWaitMs), "the step test ends in \"Disabled\"")) return;
  std::string name = NewStepLog(folder, before);
  if (!log.Expect(!name.empty(), "the step test wrote a new log in " + folder)) return;
  std::vector<std::string> lines;
  log.Expect(SplitCrLfLines(ReadWholeFile(folder + "\\" + name), &lines), "every line of " + name + " ends in CR LF");
  // The run's analysis page, written by the dialog when the run ended, beside the log.
  std::string page = folder + "\\" + name.substr(0, name.size() - 4) + ".html";
  std::string pageBytes = ReadWholeFile(page);
  log.Expect(pageBytes.find("<html") != std::string::npos && pageBytes.find("uPlot") != std::string::npos,
             "the step test's analysis page is beside its log", page);
  if (!log.ExpectText(name + " header", stepHeader, lines.empty() ? "" : lines[0])) return;

  // Rows follow the phases: rest at 0, three pulses (the force column negated), release at 0.
  std::vector<std::pair<long, std::vector<StepRow>>> runs;
  bool rowsParse = true;
  bool timesAddUp = true;
  for (size_t i = 1; i < lines.size(); ++i) {
    StepRow row;
    if (!ParseStepRow(lines[i], &row)) {
      rowsParse = false;
      log.Expect(false, name + " row " + std::to_string(i) + " has the step-log format", Quoted(lines[i]));
      break;
    }
    if (!runs.empty() && !runs.back().second.empty() && row.time - runs.back().second.back().time != row.dt) {
      timesAddUp = false;
    }
    if (runs.empty() || runs.back().first != row.force) runs.push_back({row.force, {}});
    runs.back().second.push_back(row);
  }
  if (!rowsParse) return;
  log.Expect(timesAddUp, name + ": each row's time is the previous one's plus its dt");
  std::vector<long> forces;
  for (const auto& run : runs) forces.push_back(run.first);
  bool phasesRight = forces == std::vector<long>{0, -10000, 10000, -10000, 0};
  std::string shape;
  for (const auto& run : runs) shape += std::to_string(run.first) + " x" + std::to_string(run.second.size()) + "; ";
  if (!log.Expect(phasesRight, name + " has the rest, three pulses and the release in order", shape)) return;
  // Each phase lasts its time on the program's own clock: the rest and the release 299 and
  // 799 ms, each pulse the step time of 300 ms; one row per tick of it.
  const long phaseMs[] = {299, 300, 300, 300, 799};
  for (size_t p = 0; p < runs.size(); ++p) {
    const std::vector<StepRow>& rows = runs[p].second;
    long span = rows.back().time - rows.front().time;
    long maxDt = 0;
    for (const StepRow& row : rows) maxDt = std::max(maxDt, row.dt);
    log.Expect(span >= phaseMs[p] && span <= phaseMs[p] + maxDt + rows.back().dt,
               name + " phase " + std::to_string(p + 1) + " lasts " + std::to_string(phaseMs[p]) + " ms",
               std::to_string(span) + " ms over " + std::to_string(rows.size()) + " rows");
  }
}

void CheckCloseDuringTest(CheckLog& log, ProgramProcess& program, HWND dialog) {
  std::string folder = DocumentsFolderPath();
  std::set<std::string> before = LogNames(folder, stepLogPattern);
  SelectMode(dialog, stepTestMode);
  // Into the logged phases: the log reaches the disk a buffer at a time, so the first buffer
  // written tells that rows are being logged; the rest is in the program's buffer.
  size_t flushed = 0;
  bool logging = remote::WaitUntil(
      [&] {
        std::string name = NewStepLog(folder, before);
        flushed = name.empty() ? 0 : ReadWholeFile(folder + "\\" + name).size();
        return flushed >= firstBufferBytes;
      },
      testWaitMs);
  if (!log.Expect(logging, "the step test logs rows", std::to_string(flushed) + " bytes on disk")) return;
  // Some rows more, which only the close can bring to the disk.
  Sleep(rowsAfterFlushMs);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  std::optional<DWORD> exitCode = program.WaitForExit(exitWaitMs);
  log.Expect(exitCode.has_value() && *exitCode == 0, "WM_CLOSE during the step test ends the program with 0",
             exitCode ? "exit code " + std::to_string(*exitCode) : "still running");
  std::string name = NewStepLog(folder, before);
  if (!log.Expect(!name.empty(), "the cut step test left its log")) return;
  std::vector<std::string> lines;
  std::string bytes = ReadWholeFile(folder + "\\" + name);
  bool whole = SplitCrLfLines(bytes, &lines);
  // The close wrote out what was still buffered, and the run was cut before its end.
  log.Expect(whole && lines.size() > 1 && lines[0] == stepHeader && bytes.size() > flushed,
             "the cut log is closed with its header and the rows buffered at the close",
             std::to_string(lines.size()) + " lines, " + std::to_string(bytes.size()) + " bytes, " +
                 std::to_string(flushed) + " on disk before the close");
  log.Expect(lines.size() < 2004, "the log was cut before the end of the run", std::to_string(lines.size()) + " lines");
}

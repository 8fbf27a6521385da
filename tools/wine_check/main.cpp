// vantrel_wine_check: starts vantrel.exe and checks its dialog from outside the process.
//
//   vantrel_wine_check [--verbose] PROGRAM.exe   two runs on Wine's DirectInput; exit 1 on a failure
//   vantrel_wine_check [--verbose] --virtual-wheel PROGRAM.exe   two runs on the virtual wheel DLL
//                                                 (start the checker with WINEDLLOVERRIDES=dinput8=n,b)
//   vantrel_wine_check [--verbose] --hid-wheel PROGRAM.exe   two runs on the HID wheel through Wine's
//                                                 own DirectInput (tools/hid_wheel/install.sh first)
//   vantrel_wine_check [--desktop NAME] --wait-window   waits for the program's window (started elsewhere)
//   vantrel_wine_check [--desktop NAME] --close         closes it; exit 1 unless the program ends with 0
//   vantrel_wine_check --step-latency RUNS   runs the step test in the program's window RUNS times
//                                            and prints how soon the wheel answered each first pulse
// --desktop looks in a Wine virtual desktop (explorer /desktop=NAME,...) instead of the default one.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "check_log.h"
#include "debug_output.h"
#include "dialog_checks.h"
#include "exit_checks.h"
#include "hid_wheel_checks.h"
#include "interaction_checks.h"
#include "program_process.h"
#include "remote_window.h"
#include "virtual_wheel_checks.h"
#include "report_checks.h"
#include "step_latency.h"

namespace {

constexpr int exitChecksFailed = 1;
constexpr int exitUsage = 2;

// Starts the program and waits for its dialog; a failure to get there is itself a failed check.
HWND StartProgram(CheckLog& log, ProgramProcess& program, const std::string& exePath) {
  std::string error;
  if (!log.Expect(program.Start(exePath, &error), "the program starts", error)) return nullptr;
  HWND dialog = program.WaitForWindow(&error);
  log.Expect(dialog != nullptr, std::string("the program shows its window \"") + programCaption + "\"", error);
  return dialog;
}

std::string VirtualWheelDll(const std::string& exePath) {
  size_t slash = exePath.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : exePath.substr(0, slash + 1)) + "dinput8.dll";
}

// Wine's own DirectInput: the program opens Wine's mouse or keyboard.
void RunSystemDirectInputChecks(CheckLog& log, const std::string& exePath, bool verbose) {
  {
    log.Section("run 1: report, controls, initial state, edits, mode, close box");
    // Listening before the program starts: it traces from its start-up on.
    DebugOutputListener debugOutput;
    std::string error;
    log.Expect(debugOutput.Start(&error), "the debug output listener starts", error);
    ProgramProcess program;
    if (HWND dialog = StartProgram(log, program, exePath)) {
      debugOutput.Follow(program.processId());
      // First, while the report is still the one built at start-up.
      CheckReport(log, dialog, debugOutput, verbose);
      CheckControls(log, dialog);
      CheckInitialState(log, dialog);
      CheckEditCommits(log, dialog);
      CheckEnterCommit(log, dialog);
      CheckModeSelection(log, dialog);
      CheckCloseBox(log, program, dialog);
    }
  }
  {
    log.Section("run 2: Escape");
    ProgramProcess program;
    if (HWND dialog = StartProgram(log, program, exePath)) CheckEscape(log, program, dialog);
  }
}

// The virtual wheel's dinput8.dll beside the exe, loaded in place of Wine's (the script runs
// the checker with WINEDLLOVERRIDES=dinput8=n,b: Wine takes the overrides from its own start,
// not from a parent's environment).
void RunVirtualWheelChecks(CheckLog& log, const std::string& exePath, bool verbose) {
  std::string dll = VirtualWheelDll(exePath);
  if (log.Expect(GetFileAttributesA(dll.c_str()) != INVALID_FILE_ATTRIBUTES,
                 "the virtual wheel's dinput8.dll is beside the program", dll)) {
    {
      log.Section("run 3: the virtual wheel: report, spring, minimum force, step test log");
      DebugOutputListener debugOutput;
      std::string error;
      log.Expect(debugOutput.Start(&error), "the debug output listener starts", error);
      ProgramProcess program;
      if (HWND dialog = StartProgram(log, program, exePath)) {
        debugOutput.Follow(program.processId());
        CheckVirtualWheelOpened(log, dialog);
        CheckReport(log, dialog, debugOutput, verbose);
        CheckSpringMovesTheWheel(log, dialog);
        CheckMinForceResult(log, dialog);
        CheckStepTestLog(log, dialog);
        CheckCloseBox(log, program, dialog);
      }
    }
    {
      log.Section("run 4: the virtual wheel: WM_CLOSE during a test");
      ProgramProcess program;
      if (HWND dialog = StartProgram(log, program, exePath)) CheckCloseDuringTest(log, program, dialog);
    }
  }
}

// The HID wheel installed in the prefix, reached through Wine's own DirectInput (the script
// runs the checker with WINEDLLOVERRIDES=dinput8=b). Its physics are the virtual wheel's, so
// the virtual wheel's checks of forces and tests apply as they are.
void RunHidWheelChecks(CheckLog& log, const std::string& exePath, bool verbose) {
  {
    log.Section("run 5: the HID wheel: report, spring, force modes, minimum force, step and linear force logs");
    DebugOutputListener debugOutput;
    std::string error;
    log.Expect(debugOutput.Start(&error), "the debug output listener starts", error);
    ProgramProcess program;
    if (HWND dialog = StartProgram(log, program, exePath)) {
      debugOutput.Follow(program.processId());
      CheckHidWheelOpened(log, dialog);
      CheckReport(log, dialog, debugOutput, verbose);
      CheckSpringMovesTheWheel(log, dialog);
      CheckForceModesTurnTheWheel(log, dialog);
      CheckMinForceResultAndLog(log, dialog);
      CheckStepTestLog(log, dialog);
      CheckLinearForceLog(log, dialog);
      // Every call the forces and the tests made on the way.
      CheckTraceHasNoFailures(log, debugOutput, verbose);
      CheckCloseBox(log, program, dialog);
    }
  }
  {
    log.Section("run 6: the HID wheel: WM_CLOSE during a test");
    ProgramProcess program;
    if (HWND dialog = StartProgram(log, program, exePath)) CheckCloseDuringTest(log, program, dialog);
  }
}

enum class Wheel { none, virtualDll, hid };

int RunChecks(const std::string& exePath, bool verbose, Wheel wheel) {
  CheckLog log(verbose);
  if (wheel == Wheel::virtualDll) {
    RunVirtualWheelChecks(log, exePath, verbose);
  } else if (wheel == Wheel::hid) {
    RunHidWheelChecks(log, exePath, verbose);
  } else {
    RunSystemDirectInputChecks(log, exePath, verbose);
  }
  log.PrintSummary();
  return log.failed() == 0 ? 0 : exitChecksFailed;
}

int WaitForAnyProgramWindow() {
  bool found = remote::WaitUntil([] { return FindProgramWindow(0) != nullptr; }, windowWaitMs);
  // A pointer resting on the dialog would draw the control under it hot in a screenshot.
  if (found) SetCursorPos(0, 0);
  if (!found) std::printf("no window \"%s\" within %lu s\n", programCaption, windowWaitMs / 1000);
  return found ? 0 : 1;
}

int CloseProgramWindow() {
  HWND dialog = FindProgramWindow(0);
  if (dialog == nullptr) {
    std::printf("no window \"%s\" to close\n", programCaption);
    return 1;
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(dialog, &processId);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  DWORD exitCode = STILL_ACTIVE;
  bool ended = process != nullptr && WaitForSingleObject(process, exitWaitMs) == WAIT_OBJECT_0 &&
               GetExitCodeProcess(process, &exitCode);
  if (process != nullptr) CloseHandle(process);
  if (!ended) {
    std::printf("the program did not end within %lu s of WM_CLOSE\n", exitWaitMs / 1000);
    return 1;
  }
  if (exitCode != 0) std::printf("the program ended with exit code %lu\n", exitCode);
  return exitCode == 0 ? 0 : 1;
}

// Window enumeration sees the calling thread's desktop only: join the program's desktop first,
// once the desktop process started with the program has created it.
bool UseDesktop(const char* name) {
  HDESK desktop = nullptr;
  remote::WaitUntil([&] { return (desktop = OpenDesktopA(name, 0, FALSE, GENERIC_ALL)) != nullptr; },
                    windowWaitMs);
  if (desktop == nullptr || !SetThreadDesktop(desktop)) {
    std::printf("cannot use the desktop \"%s\" (error %lu)\n", name, GetLastError());
    return false;
  }
  return true;
}

void PrintUsage() {
  std::printf(
      "usage: vantrel_wine_check [--verbose] [--virtual-wheel | --hid-wheel] PROGRAM.exe\n"
      "       vantrel_wine_check [--desktop NAME] --wait-window\n"
      "       vantrel_wine_check [--desktop NAME] --close\n"
      "       vantrel_wine_check --step-latency RUNS\n");
}

}  // namespace

int main(int argc, char** argv) {
  bool verbose = false;
  Wheel wheel = Wheel::none;
  const char* desktop = nullptr;
  const char* windowCommand = nullptr;
  std::string exePath;
  if (argc == 3 && std::strcmp(argv[1], "--step-latency") == 0 && std::atoi(argv[2]) > 0) {
    return MeasureStepLatency(std::atoi(argv[2]));
  }
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--verbose") == 0) {
      verbose = true;
    } else if (std::strcmp(argv[i], "--virtual-wheel") == 0) {
      wheel = Wheel::virtualDll;
    } else if (std::strcmp(argv[i], "--hid-wheel") == 0) {
      wheel = Wheel::hid;
    } else if (std::strcmp(argv[i], "--desktop") == 0 && i + 1 < argc) {
      desktop = argv[++i];
    } else if (std::strcmp(argv[i], "--wait-window") == 0 || std::strcmp(argv[i], "--close") == 0) {
      windowCommand = argv[i];
    } else if (argv[i][0] != '-' && exePath.empty()) {
      exePath = argv[i];
    } else {
      PrintUsage();
      return exitUsage;
    }
  }
  if ((windowCommand == nullptr) == exePath.empty() || (desktop != nullptr && windowCommand == nullptr)) {
    PrintUsage();
    return exitUsage;
  }
  if (windowCommand == nullptr) return RunChecks(exePath, verbose, wheel);
  if (desktop != nullptr && !UseDesktop(desktop)) return 1;
  return std::strcmp(windowCommand, "--close") == 0 ? CloseProgramWindow() : WaitForAnyProgramWindow();
}

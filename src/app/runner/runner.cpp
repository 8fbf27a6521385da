#include "app/runner/runner.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/run_outputs.h"
#include "app/runner/runner_options.h"
#include "app/runner/runner_summary.h"
#include "device/device_open.h"
#include "device/direct_input.h"
#include "engine/engine_output.h"
#include "engine/engine_policies.h"
#include "engine/engine_state.h"
#include "engine/force_tick.h"
#include "engine/measurement_control.h"
#include "engine/process_priority.h"
#include "platform/platform.h"

namespace {

// Set by the console control handler, which runs on a thread (or a signal) of its own.
std::atomic<bool> interrupted{false};

BOOL WINAPI OnConsoleControl(DWORD type) {
  if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
  interrupted.store(true);
  return TRUE;
}

// The window DirectInput's cooperative level is set for: a console program has none of its
// own, so it makes a hidden one. Wine without a display makes no windows at all.
HWND CreateHiddenWindow() {
  return CreateWindowExA(0, "STATIC", "vantrel-measure", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void PrintDeviceList(std::FILE* out) {
  for (int i = 0; i < deviceCount; ++i) {
    std::fprintf(out, "%d  %s%s\n", i, deviceList[i].tszInstanceName,
                 ListedDeviceHasForceFeedback(i) ? "  (force feedback)" : "");
  }
}

// The list index of `wanted` (an index or a name), the first device with force feedback
// when empty; -1 with a reason when there is none.
int ChooseDevice(const std::string& wanted, std::string& reason) {
  if (wanted.empty()) {
    for (int i = 0; i < deviceCount; ++i) {
      if (ListedDeviceHasForceFeedback(i)) return i;
    }
    reason = "no device with force feedback";
    return -1;
  }
  char* end = nullptr;
  long index = std::strtol(wanted.c_str(), &end, 10);
  if (end != nullptr && *end == '\0' && wanted[0] >= '0' && wanted[0] <= '9') {
    if (index >= 0 && index < deviceCount) return static_cast<int>(index);
    reason = "no device " + wanted + " (there are " + std::to_string(deviceCount) + ")";
    return -1;
  }
  for (int i = 0; i < deviceCount; ++i) {
    if (wanted == deviceList[i].tszInstanceName || wanted == deviceList[i].tszProductName) return i;
  }
  reason = "no device named \"" + wanted + "\"";
  return -1;
}

struct Session {
  HWND window = nullptr;
  bool timerSet = false;

  ~Session() {
    // Whatever ended the run, the wheel is left without force.
    StopMeasurement();
    StopAllEffects();
    ShutdownDirectInput();
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    if (timerSet) timeEndPeriod(1);
    if (window != nullptr) DestroyWindow(window);
  }
};

// The page beside the run's log, and its main figures for the summary (or why there are none).
void AnalyseRun(RunRecord& run) {
  if (run.logPath.empty()) return;
  std::string reason;
  // One reading of the log serves the page and the summary.
  if (!analysis::WriteAnalysisPage(run.logPath.c_str(), reason, &run.figures)) run.figures = "no page: " + reason;
}

enum class RunEnd { Finished, Interrupted, DeviceLost };

// Runs one measurement to its end, collecting each run as it finishes.
RunEnd RunOne(ForceMode mode, const TestSettings& settings, std::vector<RunRecord>& runs, ProgressLine& progress) {
  StartMeasurement(mode, settings);
  uint32_t seenRuns = engineOutput.finishedRunSerial;
  for (;;) {
    PumpMessages();
    if (interrupted.load()) return RunEnd::Interrupted;
    ForceTick();
    if (engineOutput.finishedRunSerial != seenRuns) {
      seenRuns = engineOutput.finishedRunSerial;
      runs.push_back(RecordOf(engineOutput.lastFinishedRun));
      AnalyseRun(runs.back());
    }
    progress.Update(engineOutput.measurement);
    if (engineOutput.measurement.state != RunState::Running) return RunEnd::Finished;
    // A failing device is retried by the tick; one that is gone is not coming back.
    if (deviceLost && !OpenDeviceAttached()) return RunEnd::DeviceLost;
    if (testSettings.loopSleepMs > 0) Sleep(static_cast<DWORD>(testSettings.loopSleepMs));
  }
}

}  // namespace

int RunMeasureProgram(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  RunnerOptions options;
  ParseResult parsed = ParseRunnerOptions(argc, argv, options);
  if (parsed.ok && parsed.help) {
    std::fputs(RunnerUsage().c_str(), out);
    return runnerAllRan;
  }
  if (!parsed.ok) {
    std::fprintf(err, "vantrel-measure: %s\n%s", parsed.reason.c_str(), RunnerUsage().c_str());
    return runnerBadArguments;
  }
  EnginePolicies policies;
  if (!options.outDir.empty()) policies.logFolder = options.outDir.c_str();
  if (!SetEnginePolicies(policies)) {
    std::fprintf(err, "vantrel-measure: --out: the folder's path is too long\n%s", RunnerUsage().c_str());
    return runnerBadArguments;
  }

  interrupted.store(false);
  Session session;
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  SetProcessPriority(HIGH_PRIORITY_CLASS);
  session.timerSet = timeBeginPeriod(1) == TIMERR_NOERROR;
  session.window = CreateHiddenWindow();
  if (session.window == nullptr) {
    std::fprintf(err, "vantrel-measure: no window for DirectInput (error %u); under Wine, run it on a display (Xvfb will do)\n",
                 static_cast<unsigned>(GetLastError()));
    return runnerNoDirectInput;
  }

  DeviceListResult list = InitDirectInput();
  if (list.status == DeviceListStatus::NoDirectInput || list.status == DeviceListStatus::EnumerationFailed) {
    std::fprintf(err, "vantrel-measure: DirectInput could not list the devices (0x%08x)\n",
                 static_cast<unsigned>(list.code));
    return runnerNoDirectInput;
  }
  if (options.list) {
    PrintDeviceList(out);
    return runnerAllRan;
  }
  std::string reason;
  int index = list.status == DeviceListStatus::NoDevice ? -1 : ChooseDevice(options.device, reason);
  if (index < 0) {
    std::fprintf(err, "vantrel-measure: %s\n", reason.empty() ? "no device" : reason.c_str());
    return runnerNoDevice;
  }
  if (!ListedDeviceHasForceFeedback(index)) {
    std::fprintf(err, "vantrel-measure: \"%s\" has no force feedback\n", deviceList[index].tszInstanceName);
    return runnerNoDevice;
  }
  if (FAILED(SelectFFBDevice(session.window, index)) || g_pDevice == nullptr ||
      g_pEffect[effectSlotConstantForce] == nullptr || g_pEffect[effectSlotSpring] == nullptr) {
    std::fprintf(err, "vantrel-measure: \"%s\" could not be opened for force feedback\n",
                 deviceList[index].tszInstanceName);
    return runnerNoDevice;
  }
  std::fprintf(err, "vantrel-measure: %s\n", deviceList[index].tszInstanceName);

  std::vector<RunRecord> runs;
  ProgressLine progress(err);
  int exitCode = runnerAllRan;
  for (ForceMode mode : options.tests) {
    RunEnd end = RunOne(mode, options.settings, runs, progress);
    if (end == RunEnd::Finished) continue;
    const char* why = end == RunEnd::Interrupted ? "interrupted" : "device lost";
    runs.push_back(RecordOfUnfinished(engineOutput.measurement, why));
    // Forces off and the log closed with its rows before anything is printed.
    StopMeasurement();
    StopAllEffects();
    exitCode = end == RunEnd::Interrupted ? runnerInterrupted : runnerDeviceLost;
    std::fprintf(err, "vantrel-measure: %s during %s\n", why, TestName(mode));
    break;
  }
  PrintSummary(out, runs);
  return exitCode;
}

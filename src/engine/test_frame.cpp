#include "engine/test_frame.h"

#include <cstdarg>
#include <cstring>

#include "engine/engine_output.h"
#include "engine/engine_policies.h"
#include "engine/engine_state.h"
#include "engine/pid_controller.h"
#include "engine/process_priority.h"
#include "engine/test_log_file.h"
#include "platform/platform.h"
#include "settings/test_settings.h"

namespace {

constexpr TestRunState StartUpState() {
  TestRunState state{};
  state.lastPhase = -1;
  return state;
}

constexpr int32_t kickStep = 50;
constexpr int32_t kickMaximum = 2000;
constexpr uint32_t kickTimeoutMs = 2000;
constexpr uint32_t restMs = 299;

// How far the ramp may climb, for the minimum-force test's progress.
constexpr int32_t rampMaximum = 4000;

TestRunState* const allTests[] = {&minForceState, &stepLogState, &stepLog2State, &stepLog3State, &resolutionState};

bool CloseLog(TestRunState& state) {
  if (state.log == nullptr) return false;
  std::fclose(state.log);
  state.log = nullptr;
  return true;
}

void SetPriorityByPolicy(DWORD priorityClass) {
  if (CurrentEnginePolicies().priority == PriorityPolicy::RealTimeWhileLogging) SetProcessPriority(priorityClass);
}

int32_t Percent(int64_t done, int64_t whole) {
  if (whole <= 0 || done <= 0) return 0;
  return done >= whole ? 100 : static_cast<int32_t>(done * 100 / whole);
}

}  // namespace

TestRunState minForceState = StartUpState();
TestRunState stepLogState = StartUpState();
TestRunState stepLog2State = StartUpState();
TestRunState stepLog3State = StartUpState();
TestRunState resolutionState = StartUpState();

uint32_t BeginTestTick(TestRunState& state, const TickValues& t) {
  if (t.refreshedThisTick || state.startRequested) {
    state.phase = 0;
    state.startRequested = false;
  }
  state.phaseEntered = state.lastPhase != state.phase;
  if (state.phaseEntered) {
    state.phaseStartMs = t.tickTime;
    state.lastPhase = state.phase;
  }
  return t.tickTime - state.phaseStartMs;
}

float RawChangeDegrees(int64_t rawChange, const TickValues& t) {
  return static_cast<float>(rawChange) * static_cast<float>(testSettings.wheelAngle) / static_cast<float>(t.axisSpan);
}

void WriteLogRow(TestRunState& state, const char* format, ...) {
  if (state.log == nullptr) return;
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(state.log, format, arguments);
  va_end(arguments);
  ++engineOutput.measurement.rowsWritten;
}

void RequestForce(TickValues& t, int32_t force) {
  t.forceOut = force;
  effectOn[effectSlotConstantForce] = true;
}

void openTestLog(TestRunState& state, const char* namePattern, const char* header, const char* firstRow) {
  CloseLog(state);
  MeasurementProgress& progress = engineOutput.measurement;
  progress.mode = testSettings.forceMode;
  progress.state = RunState::Running;
  progress.run = testRunCount + 1;
  progress.runs = testSettings.testRepeat;
  progress.rowsWritten = 0;
  state.log = CreateTestLog(namePattern, progress.logPath);
  if (state.log != nullptr) {
    std::fputs(header, state.log);
    std::fputs("\r\n", state.log);
    if (firstRow != nullptr) {
      std::fputs(firstRow, state.log);
      std::fputs("\r\n", state.log);
      ++progress.rowsWritten;
    }
    SetPriorityByPolicy(REALTIME_PRIORITY_CLASS);
  }
  state.phase = 1;
}

bool RunKickPhase(TestRunState& state, TickValues& t, uint32_t elapsed) {
  if (state.phaseEntered) {
    state.kickLevel = 0;
    state.kickMoves = 0;
    state.kickLastRawX = t.lX;
  }
  if (t.lX != state.kickLastRawX) {
    state.kickLastRawX = t.lX;
    ++state.kickMoves;
  }
  if (state.kickLevel < kickMaximum) state.kickLevel += kickStep;
  RequestForce(t, -state.kickLevel);
  return elapsed >= kickTimeoutMs || state.kickMoves > 1;
}

bool RunCentrePhase(const TestRunState& state, TickValues& t) {
  int32_t force = 0;
  bool settled = PidSettle(t.frameDt, t.targetX, t.posX, state.phaseEntered || t.refreshedThisTick, t.tickTime, force);
  RequestForce(t, force);
  return settled;
}

bool RunRestPhase(TickValues& t, uint32_t elapsed) {
  RequestForce(t, 0);
  return elapsed >= restMs;
}

void finishTestRun(TestRunState& state) {
  CloseLog(state);
  MeasurementProgress& progress = engineOutput.measurement;
  FinishedRun& finished = engineOutput.lastFinishedRun;
  finished.mode = testSettings.forceMode;
  finished.run = testRunCount + 1;
  std::memcpy(finished.logPath, progress.logPath, sizeof(finished.logPath));
  finished.rowsWritten = progress.rowsWritten;
  finished.hasMinForceLevel = false;
  finished.minForceLevel = 0;
  ++engineOutput.finishedRunSerial;

  ++testRunCount;
  if (testRunCount < testSettings.testRepeat) {
    state.phase = 0;
    return;
  }
  SetPriorityByPolicy(HIGH_PRIORITY_CLASS);
  testSettings.forceMode = ForceMode::Disabled;
  progress.state = RunState::Finished;
  progress.percent = 100;
  // Not a user selection: the front end shows "Disabled" without clearing the run count or
  // requesting a refresh.
  ++engineOutput.modeResetSerial;
}

void CloseTestLogs() {
  bool anyClosed = false;
  for (TestRunState* state : allTests) anyClosed = CloseLog(*state) || anyClosed;
  if (anyClosed) SetPriorityByPolicy(HIGH_PRIORITY_CLASS);
}

TestRunState* TestStateOf(ForceMode mode) {
  switch (mode) {
    case ForceMode::MinForce: return &minForceState;
    case ForceMode::StepTest: return &stepLogState;
    case ForceMode::LinearForceTest: return &stepLog2State;
    case ForceMode::LinearTimeTest: return &stepLog3State;
    case ForceMode::ResolutionTest: return &resolutionState;
    default: return nullptr;
  }
}

void PublishMeasurementProgress(ForceMode mode, const TestRunState& state) {
  MeasurementProgress& progress = engineOutput.measurement;
  if (progress.state != RunState::Running) return;
  progress.run = testRunCount + 1;
  progress.phase = state.phase;
  progress.phaseName = MeasurementPhaseName(mode, state.phase);
  switch (mode) {
    case ForceMode::StepTest: progress.percent = Percent(state.phase, 8); break;
    case ForceMode::LinearForceTest:
    case ForceMode::LinearTimeTest: progress.percent = Percent(state.stepIndex, testSettings.testMaxCount); break;
    case ForceMode::ResolutionTest: progress.percent = Percent(state.phase, 5); break;
    case ForceMode::MinForce:
      progress.percent = state.phase >= 4 ? 100 : state.phase == 3 ? Percent(state.rampLevel, rampMaximum) : 0;
      break;
    default: break;
  }
}

void ResetTestStates() {
  for (TestRunState* state : allTests) {
    CloseLog(*state);
    *state = StartUpState();
  }
}

#include "engine/test_frame.h"

#include "app/control_panel.h"
#include "app/process_priority.h"
#include "app/test_settings.h"
#include "engine/engine_state.h"
#include "engine/pid_controller.h"
#include "engine/test_log_file.h"
#include "platform/platform.h"

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

TestRunState* const allTests[] = {&minForceState, &stepLogState, &stepLog2State, &stepLog3State, &resolutionState};

bool CloseLog(TestRunState& state) {
  if (state.log == nullptr) return false;
  std::fclose(state.log);
  state.log = nullptr;
  return true;
}

}  // namespace

TestRunState minForceState = StartUpState();
TestRunState stepLogState = StartUpState();
TestRunState stepLog2State = StartUpState();
TestRunState stepLog3State = StartUpState();
TestRunState resolutionState = StartUpState();

uint32_t BeginTestTick(TestRunState& state, const TickValues& t) {
  if (t.refreshedThisTick) state.phase = 0;
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

void RequestForce(TickValues& t, int32_t force) {
  t.forceOut = force;
  effectOn[effectSlotConstantForce] = true;
}

void openTestLog(TestRunState& state, const char* namePattern, const char* header, const char* firstRow) {
  CloseLog(state);
  state.log = CreateTestLog(namePattern);
  if (state.log != nullptr) {
    std::fputs(header, state.log);
    std::fputs("\r\n", state.log);
    if (firstRow != nullptr) {
      std::fputs(firstRow, state.log);
      std::fputs("\r\n", state.log);
    }
    SetProcessPriority(REALTIME_PRIORITY_CLASS);
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
  ++testRunCount;
  if (testRunCount < testSettings.testRepeat) {
    state.phase = 0;
    return;
  }
  SetProcessPriority(HIGH_PRIORITY_CLASS);
  testSettings.forceMode = 0;
  // Not a user selection: no notification, so the run count and the report stay.
  if (modeCombo != nullptr) SendMessageA(modeCombo, CB_SETCURSEL, 0, 0);
}

void CloseTestLogs() {
  bool anyClosed = false;
  for (TestRunState* state : allTests) anyClosed = CloseLog(*state) || anyClosed;
  if (anyClosed) SetProcessPriority(HIGH_PRIORITY_CLASS);
}

void ResetTestStates() {
  for (TestRunState* state : allTests) {
    CloseLog(*state);
    *state = StartUpState();
  }
}

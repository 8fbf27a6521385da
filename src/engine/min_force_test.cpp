#include "engine/min_force_test.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/engine_output.h"

namespace {

constexpr char minForcePattern[] = "log_mforce %Y-%m-%d %H-%M-%S.csv";
constexpr char minForceHeader[] = "time(ms), dt, force, posX, rawPosX, posXDeg";

constexpr int32_t rampStep = 50;
constexpr int32_t rampMaximum = 4000;
constexpr uint32_t rampLevelMs = 200;
// A third changed reading within one level is movement, not jitter.
constexpr int32_t movesEndingRamp = 2;
constexpr int32_t notMovedYet = -1;
// The ramp starts from a wheel at rest: one whose raw position has not changed for this
// long (as long as the usual rest), or after the cap, whatever it does.
constexpr uint32_t stillRestMs = 299;
constexpr uint32_t restCapMs = 5000;

constexpr int32_t phaseOpen = 0, phaseKick = 1, phaseRest = 2, phaseRamp = 3, phaseFinish = 4;

// A wheel still coasting (from the kick, or from the mode before the test) would move at
// level 0 and report a meaningless result: rest until it has stopped.
bool RunStillRest(TestRunState& state, TickValues& t, uint32_t elapsed) {
  if (state.phaseEntered || t.lX != state.restLastRawX) {
    state.restLastRawX = t.lX;
    state.restStillSinceMs = t.tickTime;
  }
  RequestForce(t, 0);
  return t.tickTime - state.restStillSinceMs >= stillRestMs || elapsed >= restCapMs;
}

void RunRamp(TestRunState& state, TickValues& t, uint32_t elapsed) {
  int32_t prevLevel = state.rampLevel;
  if (state.phaseEntered) {
    state.rampLastRawX = t.lX;
    state.rampLevel = 0;
    state.stepMoves = 0;
  } else if (elapsed > rampLevelMs) {
    state.rampLevel += rampStep;
    state.phaseStartMs = t.tickTime;
    state.stepMoves = 0;
    state.rampLastRawX = t.lX;
  }
  if (t.lX != state.rampLastRawX) {
    ++state.stepMoves;
    state.rampLastRawX = t.lX;
  }
  RequestForce(t, state.rampLevel);
  if (state.stepMoves > 0 && state.firstMoveLevel == notMovedYet) {
    state.firstMoveLevel = std::abs(prevLevel) - rampStep;
  }
  if (std::abs(state.rampLevel) >= rampMaximum || state.stepMoves > movesEndingRamp) state.phase = phaseFinish;
}

// The run's result: the status line's text, and the level beside the run just finished.
void PublishResult(const TestRunState& state) {
  char* text = engineOutput.statusText;
  std::memset(text, 0, statusTextRoom);
  std::snprintf(text, statusTextRoom, "Your maximum value for steeringFFBBaseOffset is %0.1f%% (%d)",
                static_cast<double>(static_cast<float>(state.firstMoveLevel) / 100.0f), state.firstMoveLevel);
  ++engineOutput.statusSerial;
  engineOutput.lastFinishedRun.hasMinForceLevel = true;
  engineOutput.lastFinishedRun.minForceLevel = state.firstMoveLevel;
}

}  // namespace

void runMinForceTest(TestRunState& state, TickValues& t) {
  uint32_t elapsed = BeginTestTick(state, t);
  switch (state.phase) {
    case phaseOpen:
      openTestLog(state, minForcePattern, minForceHeader);
      state.firstMoveLevel = notMovedYet;
      state.testStartMs = t.tickTime;
      // Not yet ramping: the last run's level must not show as this run's progress.
      state.rampLevel = 0;
      break;
    case phaseKick:
      if (RunKickPhase(state, t, elapsed)) state.phase = phaseRest;
      break;
    case phaseRest:
      if (RunStillRest(state, t, elapsed)) state.phase = phaseRamp;
      break;
    case phaseRamp:
      RunRamp(state, t, elapsed);
      break;
    case phaseFinish:
      finishTestRun(state);
      PublishResult(state);
      break;
    default:
      break;
  }
  if (state.lastPhase == phaseRamp) {
    WriteLogRow(state, "%d, %d, %d, %d, %d, %f\r\n", static_cast<int>(t.tickTime - state.testStartMs),
                 static_cast<int>(elapsed), -t.forceOut, t.posX, t.lX, static_cast<double>(t.wheelDeg));
  }
}

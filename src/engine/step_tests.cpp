#include "engine/step_tests.h"

#include <cstdint>
#include <cstdio>

#include "settings/test_settings.h"

namespace {

constexpr char stepLogPattern[] = "log %Y-%m-%d %H-%M-%S.csv";
constexpr char stepLogHeader[] = "time(ms), dt, force, posX, rawPosX, posXDeg, velX (rad/s)";
constexpr char stepLog2Pattern[] = "log2 %Y-%m-%d %H-%M-%S.csv";
constexpr char stepLog2Header[] = "force, startX, endX, deltaX, deltaXDeg";
constexpr char stepLog2FirstRow[] = "0, 0, 0, 0, 0";
constexpr char stepLog3Pattern[] = "log3 %Y-%m-%d %H-%M-%S.csv";
constexpr char stepLog3Header[] = "count, time (ms), startX, endX, deltaX, deltaXDeg";

constexpr uint32_t releaseMs = 799;
constexpr float radiansPerDegree = 0.017453292f;
// What a step requests for the rest of the tick that ends it.
constexpr int32_t stepEndForce = 1;

// The opening phases are the same in all three tests.
constexpr int32_t phaseOpen = 0, phaseKick = 1, phaseCentre = 2, phaseRest = 3;
// The step test goes on with its pulses and the release; the linear tests with one step.
constexpr int32_t phasePulseForward = 4, phasePulseBack = 5, phasePulseForwardAgain = 6, phaseRelease = 7,
                  phaseStepFinish = 8;
constexpr int32_t phaseLinearStep = 4, phaseLinearFinish = 5;

float StepVelocity(const TestRunState& state, const TickValues& t) {
  float degreesPerCount = static_cast<float>(testSettings.wheelAngle) / static_cast<float>(t.axisSpan);
  float deltaDeg = static_cast<float>(static_cast<int64_t>(t.lX) - state.prevRawX) * degreesPerCount;
  float deltaRad = deltaDeg * radiansPerDegree;
  uint32_t intervalMs = t.tickTime - state.prevSampleMs;
  if (intervalMs == 0) intervalMs = 1;
  return deltaRad / (static_cast<float>(intervalMs) * 0.001f);
}

bool Reached(uint32_t elapsed, int32_t limitMs) {
  return limitMs <= 0 || elapsed >= static_cast<uint32_t>(limitMs);
}

// The force of step stepIndex: testMaxCount equal steps up to forceX.
int32_t LinearStepForce(const TestRunState& state, const TickValues& t) {
  return static_cast<int32_t>((static_cast<int64_t>(state.stepIndex) + 1) * t.forceX / testSettings.testMaxCount);
}

void NextLinearStep(TestRunState& state, TickValues& t) {
  RequestForce(t, stepEndForce);
  ++state.stepIndex;
  state.phase = state.stepIndex < testSettings.testMaxCount ? phaseCentre : phaseLinearFinish;
}

// Phases 0 to 3 of the two linear tests; false for phases they run themselves.
bool RunLinearOpening(TestRunState& state, TickValues& t, uint32_t elapsed, const char* pattern, const char* header,
                      const char* firstRow) {
  switch (state.phase) {
    case phaseOpen:
      openTestLog(state, pattern, header, firstRow);
      state.stepIndex = 0;
      state.startPosX = 0;
      state.startRawX = 0;
      return true;
    case phaseKick:
      if (RunKickPhase(state, t, elapsed)) state.phase = phaseCentre;
      return true;
    case phaseCentre:
      if (RunCentrePhase(state, t)) state.phase = phaseRest;
      return true;
    case phaseRest:
      if (RunRestPhase(t, elapsed)) state.phase = phaseLinearStep;
      return true;
    default:
      return false;
  }
}

}  // namespace

void runStepLog(TestRunState& state, TickValues& t) {
  uint32_t elapsed = BeginTestTick(state, t);
  switch (state.phase) {
    case phaseOpen:
      openTestLog(state, stepLogPattern, stepLogHeader);
      state.testStartMs = t.tickTime;
      state.prevSampleMs = t.tickTime;
      break;
    case phaseKick:
      if (RunKickPhase(state, t, elapsed)) state.phase = phaseCentre;
      break;
    case phaseCentre:
      if (RunCentrePhase(state, t)) state.phase = phaseRest;
      break;
    case phaseRest:
      if (RunRestPhase(t, elapsed)) state.phase = phasePulseForward;
      break;
    case phasePulseForward:
      RequestForce(t, t.forceX);
      if (Reached(elapsed, testSettings.stepTime)) state.phase = phasePulseBack;
      break;
    case phasePulseBack:
      RequestForce(t, -t.forceX);
      if (Reached(elapsed, testSettings.stepTime)) state.phase = phasePulseForwardAgain;
      break;
    case phasePulseForwardAgain:
      RequestForce(t, t.forceX);
      if (Reached(elapsed, testSettings.stepTime)) state.phase = phaseRelease;
      break;
    case phaseRelease:
      RequestForce(t, 0);
      if (elapsed >= releaseMs) state.phase = phaseStepFinish;
      break;
    case phaseStepFinish:
      finishTestRun(state);
      break;
    default:
      break;
  }

  if (state.lastPhase >= phaseRest && state.lastPhase <= phaseRelease) {
    WriteLogRow(state, "%d, %d, %d, %d, %d, %f, %f\r\n", static_cast<int>(t.tickTime - state.testStartMs),
                 static_cast<int>(t.frameMs), -t.forceOut, t.posX, t.lX, static_cast<double>(t.wheelDeg),
                 static_cast<double>(StepVelocity(state, t)));
  }
  state.prevRawX = t.lX;
  state.prevSampleMs = t.tickTime;
}

void runStepLog2(TestRunState& state, TickValues& t) {
  uint32_t elapsed = BeginTestTick(state, t);
  if (RunLinearOpening(state, t, elapsed, stepLog2Pattern, stepLog2Header, stepLog2FirstRow)) return;
  if (state.phase == phaseLinearStep) {
    if (state.phaseEntered) {
      state.startPosX = t.posX;
      state.startRawX = t.lX;
    }
    int32_t force = LinearStepForce(state, t);
    RequestForce(t, force);
    if (Reached(elapsed, testSettings.stepTime)) {
      if (state.log != nullptr) {
        WriteLogRow(state, "%d, %d, %d, %d, %f\r\n", force, -state.startPosX, -t.posX,
                     -(t.posX - state.startPosX),
                     static_cast<double>(RawChangeDegrees(static_cast<int64_t>(state.startRawX) - t.lX, t)));
      }
      NextLinearStep(state, t);
    }
  } else if (state.phase == phaseLinearFinish) {
    finishTestRun(state);
  }
}

void runStepLog3(TestRunState& state, TickValues& t) {
  uint32_t elapsed = BeginTestTick(state, t);
  if (RunLinearOpening(state, t, elapsed, stepLog3Pattern, stepLog3Header, nullptr)) return;
  if (state.phase == phaseLinearStep) {
    if (state.phaseEntered) {
      state.startPosX = t.posX;
      state.startRawX = t.lX;
      uint32_t stepTime = testSettings.stepTime > 0 ? static_cast<uint32_t>(testSettings.stepTime) : 0;
      state.stepDurationMs = static_cast<uint32_t>((static_cast<uint64_t>(state.stepIndex) + 1) * stepTime /
                                                   static_cast<uint32_t>(testSettings.testMaxCount));
    }
    RequestForce(t, t.forceX);
    if (elapsed >= state.stepDurationMs) {
      if (state.log != nullptr) {
        WriteLogRow(state, "%d, %d, %d, %d, %d, %f\r\n", state.stepIndex, static_cast<int>(elapsed),
                     -state.startPosX, -t.posX, -(t.posX - state.startPosX),
                     static_cast<double>(RawChangeDegrees(static_cast<int64_t>(t.lX) - state.startRawX, t)));
      }
      NextLinearStep(state, t);
    }
  } else if (state.phase == phaseLinearFinish) {
    finishTestRun(state);
  }
}

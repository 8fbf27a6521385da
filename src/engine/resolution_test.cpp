#include "engine/resolution_test.h"

#include <cstdint>
#include <cstdio>


namespace {

constexpr char resolutionPattern[] = "logRes %Y-%m-%d %H-%M-%S.csv";
constexpr char resolutionHeader[] =
    "count, time (ms), deltaTime (ms), force, xPos, xPosRaw, xPosDeg, deltaX, deltaXDeg";

// The sweep ends once the wheel has crossed nine tenths of the way to the far end.
constexpr int32_t sweepEndPosition = -9000;
constexpr int32_t sweepEndForce = 1;

constexpr int32_t phaseOpen = 0, phaseKick = 1, phaseCentre = 2, phaseRest = 3, phaseSweep = 4, phaseFinish = 5;

void RunSweep(TestRunState& state, TickValues& t, uint32_t elapsed) {
  if (state.phaseEntered) {
    state.prevRawX = t.lX;
    state.prevRowMs = elapsed;
  }
  RequestForce(t, t.forceX);
  if (t.posX <= sweepEndPosition) {
    RequestForce(t, sweepEndForce);
    state.phase = phaseFinish;
    return;
  }
  if (state.log != nullptr) {
    int64_t deltaX = static_cast<int64_t>(t.lX) - state.prevRawX;
    // Degrees on the axis's own span, as the other logs count them.
    float deltaXDeg = RawChangeDegrees(deltaX, t);
    WriteLogRow(state, "%d, %d, %d, %d, %d, %d, %0.3f, %d, %0.3f\r\n", state.rowCount, static_cast<int>(elapsed),
                 static_cast<int>(elapsed - state.prevRowMs), t.forceX, t.posX, t.lX, static_cast<double>(t.wheelDeg),
                 static_cast<int>(deltaX), static_cast<double>(deltaXDeg));
  }
  state.prevRawX = t.lX;
  state.prevRowMs = elapsed;
  ++state.rowCount;
}

}  // namespace

void runResolutionTest(TestRunState& state, TickValues& t) {
  uint32_t elapsed = BeginTestTick(state, t);
  switch (state.phase) {
    case phaseOpen:
      openTestLog(state, resolutionPattern, resolutionHeader);
      state.rowCount = 0;
      state.prevRawX = t.lX;
      state.prevRowMs = elapsed;
      break;
    case phaseKick:
      if (RunKickPhase(state, t, elapsed)) state.phase = phaseCentre;
      break;
    case phaseCentre:
      if (RunCentrePhase(state, t)) state.phase = phaseRest;
      break;
    case phaseRest:
      if (RunRestPhase(t, elapsed)) state.phase = phaseSweep;
      break;
    case phaseSweep:
      RunSweep(state, t, elapsed);
      break;
    case phaseFinish:
      finishTestRun(state);
      break;
    default:
      break;
  }
}

#include "engine/sine_and_cycle.h"

#include <cmath>

#include "settings/test_settings.h"

double sinePhase = 0.0;
bool cycleForward = true;

namespace {

constexpr double hertzPerCoefficient = 0.005;
constexpr int32_t cycleTurnPosition = 9000;

}  // namespace

void runSineWave(TickValues& t) {
  double frequencyHz = testSettings.springCoefficient * hertzPerCoefficient;
  sinePhase += t.frameDt * frequencyHz * 3.14159265 * 2;
  double value = std::sin(sinePhase) * t.forceX + testSettings.springOffsetX;
  if (value > 10000.0) value = 10000.0;
  if (value < -10000.0) value = -10000.0;
  t.forceOut = static_cast<int32_t>(value);
  effectOn[effectSlotConstantForce] = true;
}

void runCycle(TickValues& t) {
  if (cycleForward && t.posX < -cycleTurnPosition) {
    cycleForward = false;
  } else if (!cycleForward && t.posX > cycleTurnPosition) {
    cycleForward = true;
  }
  t.forceOut = cycleForward ? t.forceX : -t.forceX;
  effectOn[effectSlotConstantForce] = true;
}

void ResetSineAndCycle() {
  sinePhase = 0.0;
  cycleForward = true;
}

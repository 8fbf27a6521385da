#include "engine/readouts.h"

#include "engine/effect_update.h"
#include "engine/engine_output.h"
#include "settings/test_settings.h"

namespace {

constexpr uint32_t readoutPeriodMs = 100;

// The step, linear and resolution tests hold the readouts still; the minimum-force test does not.
bool FreezesReadouts(ForceMode mode) { return IsMeasurementMode(mode) && mode != ForceMode::MinForce; }

}  // namespace

void PublishReadouts(const TickValues& t, int32_t dampingCoefficient) {
  const TestSettings& s = testSettings;
  if (t.tickTime - lastReadoutTime <= readoutPeriodMs || FreezesReadouts(s.forceMode)) return;
  lastReadoutTime = t.tickTime;

  ReadoutValues& r = engineOutput.readouts;
  r.forceMode = s.forceMode;
  r.posX = t.posX;
  r.posY = t.posY;
  r.lX = t.lX;
  r.lY = t.lY;
  r.forceX = t.forceX;
  r.forceOut = t.forceOut;
  r.forceY = t.forceY;
  r.forceOutY = t.forceOutY;
  r.targetX = t.targetX;
  r.targetY = t.targetY;
  r.springCoefficient = s.springCoefficient;
  r.springDeadBand = s.springDeadBand;
  r.springRange = s.springRange;
  r.damperSaturation = s.damperSaturation;
  r.damperCoefficient = s.damperCoefficient;
  r.damperOffset = s.damperOffset;
  r.damperDeadBand = s.damperDeadBand;
  r.dampingCoefficient = dampingCoefficient;
  r.frameDt = t.frameDt;
  r.effectUpdateMs = effectUpdateMs;
  ++engineOutput.readoutSerial;
}

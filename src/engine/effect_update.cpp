#include "engine/effect_update.h"

#include <cstring>

#include "device/device_open.h"
#include "diag/debug_trace.h"
#include "diag/result_code_name.h"
#include "engine/engine_state.h"
#include "engine/readouts.h"
#include "settings/test_settings.h"

bool effectWasOn[effectSlotCount] = {};
int32_t lastSentConstantForce = 0;
DICONDITION lastSentSpring[2] = {};
DICONDITION lastSentDamping[2] = {};
uint32_t lastReadoutTime = 0;
uint32_t effectUpdateMs = 0;
DIEFFECT effectParams = {};

namespace {

// Which cache a slot uses; the three damping slots share one.
enum class Cache { ConstantForce, Spring, Damping };
constexpr int cacheCount = 3;
// A cache whose block did not reach the device must not suppress the next send.
bool cacheValid[cacheCount] = {};
// After a re-acquire the device's running state is unknown: an Acquire that succeeds on a
// device that stayed acquired leaves its effects playing. Every slot then gets an explicit
// Start or Stop, as on a refresh.
bool restartAllSlots = false;

DWORD effectAxes[2] = {DIJOFS_X, DIJOFS_Y};
LONG effectDirection[2] = {1, 0};

Cache CacheOf(int slot) {
  if (slot == effectSlotConstantForce) return Cache::ConstantForce;
  if (slot == effectSlotSpring) return Cache::Spring;
  return Cache::Damping;
}

void FillEffectParams() {
  std::memset(&effectParams, 0, sizeof(effectParams));
  effectParams.dwSize = sizeof(DIEFFECT);
  effectParams.dwFlags = DIEFF_CARTESIAN | DIEFF_OBJECTOFFSETS;
  effectParams.dwDuration = INFINITE;
  effectParams.dwSamplePeriod = 0;
  effectParams.dwGain = 10000;
  effectParams.dwTriggerButton = DIEB_NOTRIGGER;
  effectParams.dwTriggerRepeatInterval = 0;
  effectParams.cAxes = ffAxisCount;
  effectParams.rgdwAxes = effectAxes;
  effectParams.rglDirection = effectDirection;
  effectParams.lpEnvelope = nullptr;
  effectParams.dwStartDelay = 0;
}

void SetCondition(DICONDITION& c, LONG offset, LONG coefficient, DWORD saturation, LONG deadBand) {
  c.lOffset = offset;
  c.lPositiveCoefficient = coefficient;
  c.lNegativeCoefficient = coefficient;
  c.dwPositiveSaturation = saturation;
  c.dwNegativeSaturation = saturation;
  c.lDeadBand = deadBand;
}

// Saturations are DWORDs: a negative force reads as DirectInput would read it.
DWORD AsSaturation(int32_t value) { return static_cast<DWORD>(value); }

}  // namespace

int32_t ApplyForceMap(int32_t force) {
  if (force > 10000) force = 10000;
  if (force < -10000) force = -10000;
  int32_t sign = force >= 0 ? 1 : -1;
  int32_t magnitude = force >= 0 ? force : -force;
  int32_t out = magnitude;
  const TestSettings& s = testSettings;
  for (int i = 0; i < s.forceMapCount; ++i) {
    const ForceMapPoint& point = s.forceMap[i];
    if (point.input == magnitude) {
      out = point.output;
      break;
    }
    if (i + 1 < s.forceMapCount) {
      const ForceMapPoint& next = s.forceMap[i + 1];
      if (point.input < magnitude && magnitude < next.input && point.input != next.input) {
        double fraction = (magnitude + 0.5 - point.input) / (next.input - point.input);
        out = static_cast<int32_t>(fraction * (next.output - point.output) + point.output);
      }
    }
  }
  return sign * out;
}

void UpdateEffects(TickValues& t) {
  const TestSettings& s = testSettings;
  int32_t dampingCoefficient = 0;
  if (s.damperType >= 1 && s.damperType <= 3) {
    effectOn[1 + s.damperType] = true;
    dampingCoefficient = s.damperCoefficient;
  }

  FillEffectParams();
  DWORD start = timeGetTime();
  for (int slot = 0; slot < effectSlotCount; ++slot) {
    IDirectInputEffect* effect = g_pEffect[slot];
    if (effect == nullptr) continue;
    bool switched = effectOn[slot] != effectWasOn[slot] || restartAllSlots;
    if (switched || t.refreshedThisTick) {
      // Start results are not examined: a failing device shows in SetParameters. A slot that
      // failed to stop, though, would push on while the program shows it stopped, and a stopped
      // slot gets no SetParameters to reveal it: retry through a re-acquire, which starts or
      // stops every slot again. An effect that is not on the device is stopped already.
      if (effectOn[slot]) {
        effect->Start(INFINITE, 0);
      } else {
        HRESULT hr = effect->Stop();
        if (FAILED(hr) && hr != static_cast<HRESULT>(DIERR_NOTDOWNLOADED)) {
          DebugTrace("g_pEffect[%d]->Stop() Failed (0x%08x) %s", slot, static_cast<unsigned>(hr), ResultCodeName(hr));
          deviceLost = true;
        }
      }
    }
    if (!effectOn[slot]) continue;

    DICONSTANTFORCE constantForce = {0};
    DICONDITION conditions[2];
    std::memset(conditions, 0, sizeof(conditions));
    Cache cache = CacheOf(slot);
    void* cached = nullptr;
    const void* block = nullptr;
    DWORD compareSize = 0;
    DWORD sendSize = 0;
    if (cache == Cache::ConstantForce) {
      int32_t m = t.forceOut;
      if (s.reverseConstantForce) m = -m;
      m = ApplyForceMap(m);
      t.forceOut = m;
      constantForce.lMagnitude = m;
      block = &constantForce;
      cached = &lastSentConstantForce;
      compareSize = sendSize = sizeof(DICONSTANTFORCE);
    } else {
      if (cache == Cache::Spring) {
        LONG offsetX = t.targetX;
        LONG offsetY = t.targetY;
        if (deviceVendorId == yAxisSpringVendorId) {
          offsetX = -offsetX;
          offsetY = -offsetY;
        }
        SetCondition(conditions[0], offsetX, s.springCoefficient, AsSaturation(t.forceOut), s.springDeadBand);
        SetCondition(conditions[1], offsetY, s.springCoefficient, AsSaturation(t.forceOutY), s.springDeadBand);
        cached = lastSentSpring;
      } else {
        for (DICONDITION& c : conditions) {
          SetCondition(c, s.damperOffset, dampingCoefficient, AsSaturation(s.damperSaturation), s.damperDeadBand);
        }
        cached = lastSentDamping;
      }
      block = conditions;
      compareSize = sizeof(conditions);
      sendSize = ffAxisCount * sizeof(DICONDITION);
    }

    int cacheIndex = static_cast<int>(cache);
    bool send = t.refreshedThisTick || s.alwaysUpdateForces || switched || !cacheValid[cacheIndex] ||
                std::memcmp(block, cached, compareSize) != 0;
    if (!send) continue;

    std::memcpy(cached, block, compareSize);
    cacheValid[cacheIndex] = true;
    effectParams.cbTypeSpecificParams = sendSize;
    effectParams.lpvTypeSpecificParams = cached;
    HRESULT hr = effect->SetParameters(&effectParams, DIEP_TYPESPECIFICPARAMS);
    if (FAILED(hr)) {
      DebugTrace("g_pEffect[%d] Failed to set parameter (0x%08x) %s", slot, static_cast<unsigned>(hr),
                 ResultCodeName(hr));
      deviceLost = true;
      cacheValid[cacheIndex] = false;
    }
  }
  effectUpdateMs = timeGetTime() - start;
  restartAllSlots = false;
  for (int slot = 0; slot < effectSlotCount; ++slot) effectWasOn[slot] = effectOn[slot];

  PublishReadouts(t, dampingCoefficient);
}

void ForgetSentEffects() {
  restartAllSlots = true;
  for (bool& valid : cacheValid) valid = false;
}

void ResetEffectUpdate() {
  for (bool& on : effectWasOn) on = false;
  restartAllSlots = false;
  lastSentConstantForce = 0;
  std::memset(lastSentSpring, 0, sizeof(lastSentSpring));
  std::memset(lastSentDamping, 0, sizeof(lastSentDamping));
  for (bool& valid : cacheValid) valid = false;
  lastReadoutTime = 0;
  effectUpdateMs = 0;
  std::memset(&effectParams, 0, sizeof(effectParams));
}

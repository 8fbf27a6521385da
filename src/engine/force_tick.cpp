#include "engine/force_tick.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "device/device_open.h"
#include "device/led_escape.h"
#include "diag/debug_trace.h"
#include "diag/result_code_name.h"
#include "engine/effect_update.h"
#include "engine/engine_output.h"
#include "engine/engine_policies.h"
#include "engine/engine_state.h"
#include "engine/force_modes.h"
#include "engine/pid_controller.h"
#include "engine/position_modes.h"
#include "engine/sine_and_cycle.h"
#include "engine/test_frame.h"
#include "engine/tick_values.h"
#include "settings/test_settings.h"

bool acquireTraceArmed = true;
bool reportRequested = true;
bool ledSweepActive = false;
float ledLevel = -1.0f;
int32_t testRunCount = 0;

TickValues tickValues{};
bool effectOn[effectSlotCount] = {};

uint32_t lastTickTime = 0;
float smoothedFrameDt = 0.001f;
int32_t tickCount = 0;
int32_t sinNoise = 0;
int32_t randNoise = 0;

namespace {

void (*reportBuilder)(void*) = nullptr;
void* reportBuilderContext = nullptr;

constexpr float frameSmoothing = 0.9f;
constexpr float frameDtFloor = 1e-7f;
constexpr DWORD acquireRetryPauseMs = 100;

// Normalised positions are held within this bound. A device reporting values far outside its
// range would otherwise saturate them at the int32 limits, where the modes' and logs'
// arithmetic (differences, negation, magnitudes) overflows.
constexpr double positionBound = 1000000.0;

int32_t BoundedPosition(double value) {
  if (!(value > -positionBound)) return static_cast<int32_t>(-positionBound);
  if (!(value < positionBound)) return static_cast<int32_t>(positionBound);
  return static_cast<int32_t>(value);
}

int32_t ClampTarget(int32_t target, int32_t rangeLimit) {
  if (target <= -rangeLimit) target = 1 - rangeLimit;
  if (target >= rangeLimit) target = rangeLimit - 1;
  return target;
}

void ReacquireIfLost() {
  if (!deviceLost) return;
  HRESULT hr = g_pDevice->Acquire();
  deviceLost = FAILED(hr);
  // Throttles the retries while the device stays unavailable.
  Sleep(acquireRetryPauseMs);
  if (!deviceLost) {
    acquireTraceArmed = true;
    // Whether the device stopped its effects is unknown (Acquire also succeeds on a device
    // that stayed acquired): start or stop every slot and send everything afresh.
    ForgetSentEffects();
    hr = g_pDevice->SendForceFeedbackCommand(DISFFC_SETACTUATORSON);
    if (FAILED(hr)) {
      DebugTrace("SendForceFeedbackCommand(DISFFC_SETACTUATORSON) Failed (0x%08x) %s", static_cast<unsigned>(hr),
                 ResultCodeName(hr));
    }
  } else if (acquireTraceArmed) {
    DebugTrace("g_pDevice->Acquire() Failled (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
    acquireTraceArmed = false;
  }
}

void ReadDevice(DIJOYSTATE& state) {
  if (deviceLost || g_pEffect[effectSlotSpring] == nullptr) return;
  HRESULT hr = g_pDevice->Poll();
  if (FAILED(hr)) {
    DebugTrace("g_pDevice->Poll() Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
    deviceLost = true;
    return;
  }
  hr = g_pDevice->GetDeviceState(sizeof(DIJOYSTATE), &state);
  if (FAILED(hr)) {
    DebugTrace("g_pDevice->GetDeviceState() Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
    deviceLost = true;
  }
}

void ReadAxisRange(TickValues& t) {
  DIPROPRANGE range;
  std::memset(&range, 0, sizeof(range));
  range.diph.dwSize = sizeof(DIPROPRANGE);
  range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
  range.diph.dwObj = DIJOFS_X;
  range.diph.dwHow = DIPH_BYOFFSET;
  HRESULT hr = g_pDevice->GetProperty(DIPROP_LOGICALRANGE, &range.diph);
  // An empty or inverted range would divide by zero or flip the wheel: treat it as unreadable.
  if (SUCCEEDED(hr) && range.lMax > range.lMin &&
      static_cast<int64_t>(range.lMax) - range.lMin <= INT32_MAX) {
    t.lMin = range.lMin;
    t.lMax = range.lMax;
    t.axisSpan = range.lMax - range.lMin;
    fallbackLogicalMin = range.lMin;
    return;
  }
  if (FAILED(hr) && hr != E_NOTIMPL) {
    DebugTrace("GetProperty(DIPROP_RANGE) Failed (0x%08x) %s", static_cast<unsigned>(hr), ResultCodeName(hr));
  }
  t.lMin = fallbackLogicalMin;
  t.axisSpan = normalisedSpan;
  t.lMax = static_cast<int32_t>(std::min<int64_t>(INT32_MAX, static_cast<int64_t>(t.lMin) + t.axisSpan));
}

void Normalise(TickValues& t) {
  double fromMinX = static_cast<double>(t.lX) - t.lMin;
  double fromMinY = static_cast<double>(t.lY) - t.lMin;
  t.posX = BoundedPosition(fromMinX * (20000.0 / t.axisSpan) - 10000.0);
  t.posY = BoundedPosition(fromMinY * (20000.0 / t.axisSpan) - 10000.0);
  double wheelAngle = testSettings.wheelAngle;
  t.wheelDeg = static_cast<float>(fromMinX * (wheelAngle / t.axisSpan) - wheelAngle * 0.5);
}

void MeasureFrameTime(TickValues& t) {
  t.tickTime = timeGetTime();
  t.frameMs = t.tickTime - lastTickTime;
  lastTickTime = t.tickTime;
  // The first tick and long stalls (a dragged window) count as one 20 ms frame.
  if (t.frameMs > 1000) t.frameMs = 20;
  smoothedFrameDt = smoothedFrameDt * frameSmoothing +
                    (1.0f - frameSmoothing) * (static_cast<float>(t.frameMs) / 1000.0f);
  if (smoothedFrameDt < frameDtFloor) smoothedFrameDt = frameDtFloor;
  t.frameDt = smoothedFrameDt;
}

void FormNoise() {
  ++tickCount;
  if (testSettings.addSin) {
    float phase = static_cast<float>(tickCount) * 3.14f / 100;
    sinNoise = static_cast<int32_t>(std::sin(phase) * 500);
  } else {
    sinNoise = 0;
  }
  if (tickCount % 3 == 0) randNoise = testSettings.addRand ? std::rand() % 300 - 150 : 0;
}

void FormTargetsAndMagnitudes(TickValues& t) {
  const TestSettings& s = testSettings;
  t.rangeLimit = s.springRange * 10000 / 100;
  t.targetX = ClampTarget(sinNoise + randNoise + s.springOffsetX, t.rangeLimit);
  t.targetY = ClampTarget(sinNoise + randNoise + s.springOffsetY, t.rangeLimit);

  t.randForce = s.addRandForce ? std::rand() % 3000 - 1500 : 0;
  t.forceX = s.springSaturationX + t.randForce;
  if (t.forceX < 1) t.forceX = 1;
  int32_t forceXCap = SaturationXMaximum(s.forceMode);
  if (t.forceX > forceXCap) t.forceX = forceXCap;
  t.forceY = s.springSaturationY + t.randForce;
  if (t.forceY < 1) t.forceY = 1;
  if (t.forceY > 10000) t.forceY = 10000;
  t.forceOut = 0;
  t.forceOutY = 0;
}

void StepLedSweep() {
  if (!ledSweepActive) return;
  ledLevel += 0.001f;
  if (ledLevel > 1.5f) {
    ledLevel = -1.0f;
    ledSweepActive = false;
  }
  SendLedEscape(g_pDevice, ledLevel, 0.0f, 1.0f);
}

}  // namespace

void ForceTick() {
  if (g_pDevice == nullptr) return;

  ReacquireIfLost();

  TickValues& t = tickValues;
  DIJOYSTATE state;
  std::memset(&state, 0, sizeof(state));
  ReadDevice(state);

  t.refreshedThisTick = false;
  if (reportRequested) {
    reportRequested = false;
    if (reportBuilder != nullptr) reportBuilder(reportBuilderContext);
    t.refreshedThisTick = true;
  }

  if (!deviceLost && g_pEffect[effectSlotSpring] != nullptr) {
    t.lX = state.lX;
    t.lY = state.lY;
    ReadAxisRange(t);
    Normalise(t);
    for (bool& on : effectOn) on = false;
    MeasureFrameTime(t);
    FormNoise();
    FormTargetsAndMagnitudes(t);
    RunForceMode(t);
    UpdateEffects(t);
  }

  StepLedSweep();
}

void SetReportBuilder(void (*build)(void* context), void* context) {
  reportBuilder = build;
  reportBuilderContext = context;
}

void ResetForceTick() {
  SetReportBuilder(nullptr, nullptr);
  SetEnginePolicies(EnginePolicies{});
  ResetEngineOutput();
  deviceLost = true;
  acquireTraceArmed = true;
  reportRequested = true;
  ledSweepActive = false;
  ledLevel = -1.0f;
  testRunCount = 0;
  fallbackLogicalMin = fallbackLogicalMinDefault;
  tickValues = TickValues{};
  for (bool& on : effectOn) on = false;
  lastTickTime = 0;
  smoothedFrameDt = 0.001f;
  tickCount = 0;
  sinNoise = 0;
  randNoise = 0;
  ResetEffectUpdate();
  ResetPidControllers();
  ResetPositionModes();
  ResetSineAndCycle();
  ResetTestStates();
}

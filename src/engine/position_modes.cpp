#include "engine/position_modes.h"

#include <cmath>
#include <cstdlib>

#include "engine/pid_controller.h"
#include "settings/test_settings.h"

int32_t shiftCount = 0;
bool inNotch = false;

namespace {

constexpr int32_t shifterCentreSaturation = 4000;
constexpr int32_t shifterNotchSaturation = 1000;
constexpr int32_t shifterNotchStart = 600;
constexpr int32_t shifterGearStart = 1000;
constexpr int32_t shifterGearOffset = 600;
constexpr int32_t shifterMaxGear = 4;

constexpr int32_t minimumCurveForce = 3000;

int32_t Bound(int32_t value, int32_t limit) {
  if (value > limit) return limit;
  if (value < -limit) return -limit;
  return value;
}

int32_t TruncToInt32(float value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0f) return INT32_MAX;
  if (value <= -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace

int32_t WheelForceCurve(int32_t target, int32_t position, int32_t limit) {
  if (limit <= 0) limit = 1;
  float d = static_cast<float>(static_cast<int64_t>(target) - position) / static_cast<float>(limit);
  float shaped = 2.5f * std::atan(5.0f * d);
  int32_t f = TruncToInt32(-10000.0f * std::sin(shaped) + 0.0f);
  if (testSettings.applyMinForce && 2.5f * std::atan(5.0f * std::fabs(d)) < 1.5f) {
    if (f > 0 && f < minimumCurveForce) f = minimumCurveForce;
    if (f < 0 && f > -minimumCurveForce) f = -minimumCurveForce;
  }
  return f;
}

ShifterSpring HPatternStep(int32_t position, int32_t magnitude) {
  ShifterSpring spring{shifterCentreSaturation, 0};
  if (position > shifterGearStart) {
    spring = {magnitude, shifterGearOffset};
  } else if (position > shifterNotchStart) {
    if (shiftCount < shifterMaxGear || inNotch) {
      spring.saturation = shifterNotchSaturation;
      if (!inNotch) ++shiftCount;
      inNotch = true;
    }
  } else if (position < -shifterGearStart) {
    spring = {magnitude, -shifterGearOffset};
  } else if (position < -shifterNotchStart) {
    if (shiftCount >= 1 || inNotch) {
      spring.saturation = shifterNotchSaturation;
      if (!inNotch) --shiftCount;
      inNotch = true;
    }
  } else if (position > -shifterNotchStart && position < shifterNotchStart) {
    inNotch = false;
  }
  return spring;
}

void RunSimpleSpring(TickValues& t) {
  t.forceOut = t.forceX;
  t.forceOutY = t.forceY;
  effectOn[effectSlotSpring] = true;
}

void RunForceSpring(TickValues& t) {
  t.forceOut = (t.posX - t.targetX < 0) ? -t.forceX : t.forceX;
  t.forceOutY = (t.posY - t.targetY < 0) ? -t.forceY : t.forceY;
  effectOn[effectSlotConstantForce] = true;
}

void RunForceSpringPid(TickValues& t) {
  t.forceOut = PidStep(t.frameDt, t.targetX, t.posX, t.forceX, t.refreshedThisTick, forceSpringPid);
  effectOn[effectSlotConstantForce] = true;
}

void RunHPatternShifter(TickValues& t) {
  ShifterSpring spring = HPatternStep(t.posX, t.forceX);
  t.forceOut = spring.saturation;
  t.targetX = spring.offset;
  effectOn[effectSlotSpring] = true;
}

void RunWheelMode(TickValues& t, ForceMode mode) {
  int32_t v = WheelForceCurve(t.targetX, t.posX, t.rangeLimit);
  float scale = static_cast<float>(t.forceX / 10000.0);
  v = TruncToInt32(static_cast<float>(v) * scale);
  v = Bound(v, 10000);
  v = v * testSettings.springCoefficient / 10000;
  int32_t sign = (t.targetX < t.posX) ? 1 : -1;
  if (sign * v < 0) {
    // Past the curve's zero crossing it pushes away from the target: aim at the limit.
    t.targetX = sign * t.rangeLimit;
    if (std::abs(t.posX) > std::abs(t.rangeLimit)) v = sign * 10000;
  }
  if (v == 0) v = 1;
  if (mode == ForceMode::WheelWithSpring) {
    t.forceOut = std::abs(v);
    effectOn[effectSlotSpring] = true;
  } else if (mode == ForceMode::WheelWithForce) {
    t.forceOut = v;
    effectOn[effectSlotConstantForce] = true;
  } else {
    t.forceOut = PidStep(t.frameDt, t.targetX, t.posX, std::abs(v), t.refreshedThisTick, wheelForcePid);
    effectOn[effectSlotConstantForce] = true;
  }
}

void ResetPositionModes() {
  shiftCount = 0;
  inNotch = false;
}

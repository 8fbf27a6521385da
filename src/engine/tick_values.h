// The values every tick computes fresh and hands to the modes and the effect update.
#pragma once

#include <cstdint>

#include "device/device_open.h"

// Span of the normalised position, -10000..+10000.
inline constexpr int32_t normalisedSpan = 20000;

struct TickValues {
  int32_t lX;
  int32_t lY;
  int32_t lMin;
  int32_t lMax;
  int32_t axisSpan;
  int32_t posX;
  int32_t posY;
  float wheelDeg;
  uint32_t tickTime;
  uint32_t frameMs;
  float frameDt;
  int32_t rangeLimit;
  int32_t targetX;
  int32_t targetY;
  int32_t randForce;
  int32_t forceX;
  int32_t forceY;
  int32_t forceOut;
  int32_t forceOutY;
  bool refreshedThisTick;
};

// The current tick's values (those of the last tick that read the device).
extern TickValues tickValues;
// Slots that are to run after this tick.
extern bool effectOn[effectSlotCount];

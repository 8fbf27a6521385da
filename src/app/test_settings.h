// Every control-panel setting the force engine and the device set-up read.
#pragma once

#include <cstdint>

struct ForceMapPoint {
  int32_t input;
  int32_t output;
};

// Ten pairs can gain a leading (0, 0) and a closing (10000, 10000): room for twelve,
// so no text can make the parse write past the table.
inline constexpr int forceMapRoom = 12;
inline constexpr int forceMapMaxPairs = 10;

struct TestSettings {
  // Combo boxes.
  int32_t forceMode;
  int32_t damperType;

  // Trackbars (offsets already shifted to -10000..10000).
  int32_t springOffsetX;
  int32_t springOffsetY;
  int32_t springSaturationX;
  int32_t springSaturationY;
  int32_t springCoefficient;
  int32_t springDeadBand;
  int32_t springRange;
  int32_t damperOffset;
  int32_t damperCoefficient;
  int32_t damperSaturation;
  int32_t damperDeadBand;

  // Check boxes.
  bool addSin;
  bool addRand;
  bool addRandForce;
  bool applyMinForce;
  bool reverseConstantForce;
  bool alwaysUpdateForces;
  bool killFFBOnFocusLoss;
  bool showAllDevices;

  // Edit boxes.
  float pidKp;
  float pidKi;
  float pidKd;
  float pidKdAvg;
  int32_t testRepeat;
  int32_t testMaxCount;
  int32_t stepTime;
  int32_t loopSleepMs;
  int32_t wheelAngle;

  // The force map; minForce is forceMap[0].output.
  ForceMapPoint forceMap[forceMapRoom];
  int32_t forceMapCount;
};

extern TestSettings testSettings;

// The record as every run starts: the program's fixed defaults.
TestSettings DefaultTestSettings();
void ResetTestSettings();

// The map becomes (0, value), (10000, 10000).
void SetMinForce(int32_t value);
// Rebuilds the map from "in:out,in:out,..." text; never fails and never leaves the table.
void ParseForceMap(const char* text);

// Saturation X may reach 30000 in the three wheel modes, 10000 otherwise.
int32_t SaturationXMaximum(int32_t forceMode);
// Lowers springSaturationX to the maximum of the current mode when it lies above.
void ApplySaturationXRange();

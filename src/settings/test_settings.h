// Every control-panel setting the force engine and the device set-up read, with the force
// modes they name. Below the engine and the device layer: any front end fills it.
#pragma once

#include <cstdint>

// The mode combo's entries, by their position in it.
enum class ForceMode : int32_t {
  Disabled = 0,
  SimpleSpring = 1,
  ForceSpring = 2,
  ForceSpringPid = 3,
  HPatternShifter = 4,
  WheelWithSpring = 5,
  WheelWithForce = 6,
  WheelWithForcePid = 7,
  SineWave = 8,
  Cycle = 9,
  MinForce = 10,
  StepTest = 11,
  LinearForceTest = 12,
  LinearTimeTest = 13,
  ResolutionTest = 14,
};
inline constexpr int forceModeCount = 15;

// The five measurements: they write a log per run and end by themselves in "Disabled".
constexpr bool IsMeasurementMode(ForceMode mode) { return mode >= ForceMode::MinForce && mode <= ForceMode::ResolutionTest; }
// The three wheel modes compute with magnitudes up to 30000.
constexpr bool IsWheelMode(ForceMode mode) { return mode >= ForceMode::WheelWithSpring && mode <= ForceMode::WheelWithForcePid; }

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
  ForceMode forceMode;
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
int32_t SaturationXMaximum(ForceMode forceMode);
// Lowers springSaturationX to the maximum of the current mode when it lies above.
void ApplySaturationXRange();

#include "settings/test_settings.h"

#include <climits>

TestSettings testSettings = DefaultTestSettings();

TestSettings DefaultTestSettings() {
  TestSettings s{};
  s.forceMode = ForceMode::Disabled;
  s.damperType = 0;
  s.springOffsetX = 0;
  s.springOffsetY = 0;
  s.springSaturationX = 10000;
  s.springSaturationY = 10000;
  s.springCoefficient = 10000;
  s.springDeadBand = 0;
  s.springRange = 100;
  s.damperOffset = 0;
  s.damperCoefficient = 5000;
  s.damperSaturation = 10000;
  s.damperDeadBand = 0;
  s.pidKp = 5.0f;
  s.pidKi = 0.0f;
  s.pidKd = 0.25f;
  s.pidKdAvg = 0.9f;
  s.testRepeat = 1;
  s.testMaxCount = 50;
  s.stepTime = 300;
  s.loopSleepMs = 1;
  s.wheelAngle = 900;
  s.forceMap[0] = {0, 0};
  s.forceMap[1] = {10000, 10000};
  s.forceMapCount = 2;
  return s;
}

void ResetTestSettings() { testSettings = DefaultTestSettings(); }

void SetMinForce(int32_t value) {
  testSettings.forceMap[0] = {0, value};
  testSettings.forceMap[1] = {10000, 10000};
  testSettings.forceMapCount = 2;
}

namespace {

bool IsScanfSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One "%d" conversion by scanf's rules: optional white space, an optional sign, then
// decimal digits. Out-of-range numbers saturate instead of invoking the C library's
// undefined overflow; they are clamped to 0..10000 afterwards anyway.
bool ScanInt(const char*& cursor, int32_t& value) {
  const char* p = cursor;
  while (IsScanfSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = (*p == '-');
    ++p;
  }
  if (*p < '0' || *p > '9') return false;
  long long magnitude = 0;
  while (*p >= '0' && *p <= '9') {
    if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (*p - '0');
    ++p;
  }
  if (negative) magnitude = -magnitude;
  if (magnitude > INT_MAX) magnitude = INT_MAX;
  if (magnitude < INT_MIN) magnitude = INT_MIN;
  value = static_cast<int32_t>(magnitude);
  cursor = p;
  return true;
}

int32_t ClampMapValue(int32_t value) {
  if (value < 0) return 0;
  if (value > 10000) return 10000;
  return value;
}

}  // namespace

void ParseForceMap(const char* text) {
  // The same matching as "%d:%d,%d:%d,...": a separator must follow its number directly.
  int32_t values[2 * forceMapMaxPairs];
  int converted = 0;
  const char* cursor = text != nullptr ? text : "";
  while (converted < 2 * forceMapMaxPairs) {
    if (converted > 0) {
      char separator = (converted % 2 == 1) ? ':' : ',';
      if (*cursor != separator) break;
      ++cursor;
    }
    if (!ScanInt(cursor, values[converted])) break;
    ++converted;
  }
  int pairs = converted / 2;

  ForceMapPoint* map = testSettings.forceMap;
  int count = 0;
  if (pairs == 0 || values[0] != 0) map[count++] = {0, 0};
  for (int i = 0; i < pairs; ++i) {
    ForceMapPoint point = {ClampMapValue(values[2 * i]), ClampMapValue(values[2 * i + 1])};
    if (i == 0 || point.input > map[count - 1].input) map[count++] = point;
  }
  if (map[count - 1].input < 10000) map[count++] = {10000, 10000};
  testSettings.forceMapCount = count;
}

int32_t SaturationXMaximum(ForceMode forceMode) { return IsWheelMode(forceMode) ? 30000 : 10000; }

void ApplySaturationXRange() {
  int32_t maximum = SaturationXMaximum(testSettings.forceMode);
  if (testSettings.springSaturationX > maximum) testSettings.springSaturationX = maximum;
}

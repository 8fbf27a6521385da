#include "engine/readouts.h"

#include <cstdio>

#include "app/control_ids.h"
#include "app/control_panel.h"
#include "app/test_settings.h"
#include "engine/effect_update.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t readoutPeriodMs = 100;
// The Offset readouts show the error in degrees of a 900-degree wheel, whatever "Wheel angle" says.
constexpr double offsetReadoutDegrees = 900.0;

bool IsMeasurementMode(int32_t mode) { return mode >= 11 && mode <= 14; }

void WriteText(HWND control, const char* text) {
  if (control != nullptr) SetWindowTextA(control, text);
}

void WriteLabel(int labelId, const char* text) { WriteText(ValueLabel(labelId), text); }

float OffsetErrorDegrees(int32_t position, int32_t target) {
  return static_cast<float>((static_cast<double>(position) - target) * offsetReadoutDegrees / 20000.0);
}

}  // namespace

void WriteReadouts(const TickValues& t, int32_t dampingCoefficient) {
  const TestSettings& s = testSettings;
  if (t.tickTime - lastReadoutTime <= readoutPeriodMs || IsMeasurementMode(s.forceMode)) return;
  lastReadoutTime = t.tickTime;

  char text[96];
  std::snprintf(text, sizeof(text), "(%d, %d) (%d, %d)", t.posX, t.posY, t.lX, t.lY);
  WriteText(positionReadout, text);

  if (s.forceMode >= 5 && s.forceMode <= 7) {
    std::snprintf(text, sizeof(text), "%d%% (%d)", static_cast<int32_t>(t.forceX * 100.0 / 10000.0), t.forceOut);
  } else {
    std::snprintf(text, sizeof(text), "%d (%d)", t.forceX, t.forceOut);
  }
  WriteLabel(IDC_SATURATION_X_VALUE, text);

  std::snprintf(text, sizeof(text), "%d (%d)", t.forceY, t.forceOutY);
  WriteLabel(IDC_SATURATION_Y_VALUE, text);

  if (s.forceMode == 8) {
    std::snprintf(text, sizeof(text), "%0.2f", static_cast<double>(static_cast<float>(s.springCoefficient) * 0.005f));
  } else {
    std::snprintf(text, sizeof(text), "%d", s.springCoefficient);
  }
  WriteLabel(IDC_COEFFICIENT_VALUE, text);

  std::snprintf(text, sizeof(text), "%d (%0.2f)", t.targetX, static_cast<double>(OffsetErrorDegrees(t.posX, t.targetX)));
  WriteLabel(IDC_OFFSET_X_VALUE, text);
  std::snprintf(text, sizeof(text), "%d (%0.2f)", t.targetY, static_cast<double>(OffsetErrorDegrees(t.posY, t.targetY)));
  WriteLabel(IDC_OFFSET_Y_VALUE, text);

  std::snprintf(text, sizeof(text), "%d", s.springDeadBand);
  WriteLabel(IDC_DEADBAND_VALUE, text);
  std::snprintf(text, sizeof(text), "%d", s.springRange);
  WriteLabel(IDC_RANGE_VALUE, text);
  std::snprintf(text, sizeof(text), "%d", s.damperSaturation);
  WriteLabel(IDC_DAMPER_SATURATION_VALUE, text);
  std::snprintf(text, sizeof(text), "%d (%d)", s.damperCoefficient, dampingCoefficient);
  WriteLabel(IDC_DAMPER_COEFFICIENT_VALUE, text);
  std::snprintf(text, sizeof(text), "%d", s.damperOffset);
  WriteLabel(IDC_DAMPER_OFFSET_VALUE, text);
  std::snprintf(text, sizeof(text), "%d", s.damperDeadBand);
  WriteLabel(IDC_DAMPER_DEADBAND_VALUE, text);

  std::snprintf(text, sizeof(text), "%0.2f ms / %d ms", static_cast<double>(t.frameDt * 1000.0f),
                static_cast<int>(effectUpdateMs));
  WriteText(sleepReadout, text);
}

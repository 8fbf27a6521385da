#include "app/engine_view.h"

#include <cstdio>

#include "app/control_ids.h"
#include "app/control_panel.h"
#include "engine/engine_output.h"

namespace {

// The Offset readouts show the error in degrees of a 900-degree wheel, whatever "Wheel angle" says.
constexpr double offsetReadoutDegrees = 900.0;

uint32_t renderedReadouts = 0;
uint32_t renderedStatus = 0;
uint32_t renderedModeReset = 0;

void WriteText(HWND control, const char* text) {
  if (control != nullptr) SetWindowTextA(control, text);
}

void WriteLabel(int labelId, const char* text) { WriteText(ValueLabel(labelId), text); }

float OffsetErrorDegrees(int32_t position, int32_t target) {
  return static_cast<float>((static_cast<double>(position) - target) * offsetReadoutDegrees / 20000.0);
}

void RenderReadouts(const ReadoutValues& r) {
  char text[96];
  std::snprintf(text, sizeof(text), "(%d, %d) (%d, %d)", r.posX, r.posY, r.lX, r.lY);
  WriteText(positionReadout, text);

  if (IsWheelMode(r.forceMode)) {
    std::snprintf(text, sizeof(text), "%d%% (%d)", static_cast<int32_t>(r.forceX * 100.0 / 10000.0), r.forceOut);
  } else {
    std::snprintf(text, sizeof(text), "%d (%d)", r.forceX, r.forceOut);
  }
  WriteLabel(IDC_SATURATION_X_VALUE, text);

  std::snprintf(text, sizeof(text), "%d (%d)", r.forceY, r.forceOutY);
  WriteLabel(IDC_SATURATION_Y_VALUE, text);

  if (r.forceMode == ForceMode::SineWave) {
    std::snprintf(text, sizeof(text), "%0.2f", static_cast<double>(static_cast<float>(r.springCoefficient) * 0.005f));
  } else {
    std::snprintf(text, sizeof(text), "%d", r.springCoefficient);
  }
  WriteLabel(IDC_COEFFICIENT_VALUE, text);

  std::snprintf(text, sizeof(text), "%d (%0.2f)", r.targetX, static_cast<double>(OffsetErrorDegrees(r.posX, r.targetX)));
  WriteLabel(IDC_OFFSET_X_VALUE, text);
  std::snprintf(text, sizeof(text), "%d (%0.2f)", r.targetY, static_cast<double>(OffsetErrorDegrees(r.posY, r.targetY)));
  WriteLabel(IDC_OFFSET_Y_VALUE, text);

  std::snprintf(text, sizeof(text), "%d", r.springDeadBand);
  WriteLabel(IDC_DEADBAND_VALUE, text);
  std::snprintf(text, sizeof(text), "%d", r.springRange);
  WriteLabel(IDC_RANGE_VALUE, text);
  std::snprintf(text, sizeof(text), "%d", r.damperSaturation);
  WriteLabel(IDC_DAMPER_SATURATION_VALUE, text);
  std::snprintf(text, sizeof(text), "%d (%d)", r.damperCoefficient, r.dampingCoefficient);
  WriteLabel(IDC_DAMPER_COEFFICIENT_VALUE, text);
  std::snprintf(text, sizeof(text), "%d", r.damperOffset);
  WriteLabel(IDC_DAMPER_OFFSET_VALUE, text);
  std::snprintf(text, sizeof(text), "%d", r.damperDeadBand);
  WriteLabel(IDC_DAMPER_DEADBAND_VALUE, text);

  std::snprintf(text, sizeof(text), "%0.2f ms / %d ms", static_cast<double>(r.frameDt * 1000.0f),
                static_cast<int>(r.effectUpdateMs));
  WriteText(sleepReadout, text);
}

}  // namespace

void RenderEngineOutput() {
  const EngineOutput& out = engineOutput;
  if (out.readoutSerial != renderedReadouts) {
    renderedReadouts = out.readoutSerial;
    RenderReadouts(out.readouts);
  }
  if (out.statusSerial != renderedStatus) {
    renderedStatus = out.statusSerial;
    WriteText(statusLine, out.statusText);
  }
  if (out.modeResetSerial != renderedModeReset) {
    renderedModeReset = out.modeResetSerial;
    // Not a user selection: no notification, so the run count and the report stay.
    if (modeCombo != nullptr) SendMessageA(modeCombo, CB_SETCURSEL, 0, 0);
  }
}

void ResetEngineView() {
  renderedReadouts = engineOutput.readoutSerial;
  renderedStatus = engineOutput.statusSerial;
  renderedModeReset = engineOutput.modeResetSerial;
}

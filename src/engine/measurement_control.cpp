#include "engine/measurement_control.h"

#include "engine/engine_output.h"
#include "engine/engine_state.h"
#include "engine/test_frame.h"

bool StartMeasurement(ForceMode mode, const TestSettings& settings) {
  TestRunState* state = TestStateOf(mode);
  if (state == nullptr) return false;
  if (&settings != &testSettings) testSettings = settings;
  testSettings.forceMode = mode;
  ApplySaturationXRange();
  testRunCount = 0;
  state->startRequested = true;
  MeasurementProgress& progress = engineOutput.measurement;
  progress.mode = mode;
  progress.state = RunState::Running;
  progress.run = 1;
  progress.runs = testSettings.testRepeat;
  progress.phase = 0;
  progress.phaseName = MeasurementPhaseName(mode, 0);
  progress.percent = 0;
  progress.logPath[0] = '\0';
  progress.rowsWritten = 0;
  return true;
}

void StopMeasurement() {
  CloseTestLogs();
  if (IsMeasurementMode(testSettings.forceMode)) testSettings.forceMode = ForceMode::Disabled;
  if (engineOutput.measurement.state == RunState::Running) engineOutput.measurement.state = RunState::Stopped;
}

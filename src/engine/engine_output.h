// What the engine publishes for a front end to show: the live readouts, the progress of a
// measurement, each run's result and the status text. The tick fills it; the dialog turns
// it into control texts and the console runner prints it. Nothing here touches a window.
// Each part that changes at a moment of its own carries a serial number, bumped on every
// change, so a front end renders what is new since it last looked.
#pragma once

#include <cstdint>

#include "engine/test_log_file.h"
#include "settings/test_settings.h"

// The values behind the readouts, as computed by the tick that refreshed them.
struct ReadoutValues {
  ForceMode forceMode;
  int32_t posX, posY, lX, lY;
  int32_t forceX, forceOut;
  int32_t forceY, forceOutY;
  int32_t targetX, targetY;
  int32_t springCoefficient, springDeadBand, springRange;
  int32_t damperSaturation, damperCoefficient, damperOffset, damperDeadBand;
  int32_t dampingCoefficient;  // the coefficient sent to the damping slot this tick
  float frameDt;               // seconds
  uint32_t effectUpdateMs;
};

enum class RunState : int32_t {
  Idle,      // no measurement started yet
  Running,   // a run is in progress (or about to begin at the next tick)
  Finished,  // the last run ended and the mode went back to "Disabled"
  Stopped,   // stopped before its end (another mode, Ctrl+C, the device gone)
};

struct MeasurementProgress {
  ForceMode mode;      // the measurement running or last run; Disabled before the first
  RunState state;
  int32_t run;         // 1-based: the run in progress, or the last one
  int32_t runs;        // runs asked for ("Repeat")
  int32_t phase;
  const char* phaseName;
  int32_t percent;     // of the current run, 0..100
  char logPath[testLogPathRoom];  // the current run's log; "" while it has none
  int32_t rowsWritten;            // lines after the header in that log
};

struct FinishedRun {
  ForceMode mode;
  int32_t run;  // 1-based
  char logPath[testLogPathRoom];
  int32_t rowsWritten;
  bool hasMinForceLevel;
  int32_t minForceLevel;  // the minimum-force test's result, -1 when the wheel never moved
};

inline constexpr int statusTextRoom = 500;

struct EngineOutput {
  uint32_t readoutSerial;
  ReadoutValues readouts;

  MeasurementProgress measurement;

  uint32_t finishedRunSerial;
  FinishedRun lastFinishedRun;

  uint32_t statusSerial;
  char statusText[statusTextRoom];

  // A measurement's last run ended and set the mode back to "Disabled" by itself: not a
  // user's choice, so a front end shows it without treating it as one.
  uint32_t modeResetSerial;
};

extern EngineOutput engineOutput;

const char* MeasurementPhaseName(ForceMode mode, int32_t phase);
void ResetEngineOutput();

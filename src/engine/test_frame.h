// The frame the five measurement tests share: the phase clock, the run's log, the kick,
// centre and rest phases, and the end of a run with its repeat count.
#pragma once

#include <cstdint>
#include <cstdio>

#include "engine/tick_values.h"
#include "platform/platform.h"
#include "settings/test_settings.h"

struct TestRunState {
  int32_t phase;
  // StartMeasurement asked for a new first run: phase 0 at the next tick, as after a refresh.
  bool startRequested;
  int32_t lastPhase;  // the phase in force at the start of the latest tick; -1 at start-up
  uint32_t phaseStartMs;
  // The current phase began on this tick: its entry actions run. Not "elapsed is 0": with
  // several ticks in one millisecond that would repeat them.
  bool phaseEntered;
  std::FILE* log;
  int32_t kickLevel;
  int32_t kickMoves;
  int32_t kickLastRawX;
  // Step test and minimum-force test.
  uint32_t testStartMs;
  // Step test and resolution test.
  int32_t prevRawX;
  // Step test.
  uint32_t prevSampleMs;
  // Linear force and linear time tests.
  int32_t stepIndex;
  int32_t startPosX;
  int32_t startRawX;
  uint32_t stepDurationMs;
  // Resolution test.
  int32_t rowCount;
  uint32_t prevRowMs;
  // Minimum-force test.
  int32_t rampLevel;
  int32_t rampLastRawX;
  int32_t stepMoves;
  int32_t firstMoveLevel;
  // Minimum-force test's rest: the raw position last seen and when it last changed.
  int32_t restLastRawX;
  uint32_t restStillSinceMs;
};

// Frame steps 1 and 2 of every test tick: a refresh restarts the run, and a phase that has
// just begun starts its clock and is marked entered. Returns the phase clock's elapsed time.
uint32_t BeginTestTick(TestRunState& state, const TickValues& t);

// Degrees of wheel travel over a raw change of the X axis, on the axis's own span.
float RawChangeDegrees(int64_t rawChange, const TickValues& t);

// Writes one row to the run's log (nothing without one) and counts it.
void WriteLogRow(TestRunState& state, const char* format, ...) VANTREL_PRINTF_FORMAT(2, 3);

// Requests a constant force for this tick.
void RequestForce(TickValues& t, int32_t force);

// Phase 0: closes the previous log, creates the new one, writes its header (and a first
// row when given), raises the priority while it is open, and moves on to phase 1.
void openTestLog(TestRunState& state, const char* namePattern, const char* header, const char* firstRow = nullptr);
// Pushes the wheel with a growing negative force; true when the phase is over.
bool RunKickPhase(TestRunState& state, TickValues& t, uint32_t elapsed);
// Brings the wheel to the target position; true once it has settled.
bool RunCentrePhase(const TestRunState& state, TickValues& t);
// Holds zero force; true after 299 ms.
bool RunRestPhase(TickValues& t, uint32_t elapsed);
// Closes the log and counts the run; starts the next one or, after the last, returns the
// mode to "Disabled".
void finishTestRun(TestRunState& state);

// Closes every test's log (the rows so far are kept) and drops the raised priority: the
// device the run measured is going away, or the program is ending.
void CloseTestLogs();

// The state of a measurement mode's test; null for the other modes.
TestRunState* TestStateOf(ForceMode mode);
// After a measurement's tick: its phase and how far its run has come, for the front ends.
void PublishMeasurementProgress(ForceMode mode, const TestRunState& state);

// One state per test mode, for the whole run.
extern TestRunState minForceState;
extern TestRunState stepLogState;
extern TestRunState stepLog2State;
extern TestRunState stepLog3State;
extern TestRunState resolutionState;

// Closes the logs and puts every test back to its start-up state.
void ResetTestStates();

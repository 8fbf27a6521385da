// A long session of a restless user on the real program: every mode and test in turn,
// the wheel unplugged and plugged back, refreshes, reopens, and random DirectInput
// failures, on the virtual clock. It reports what a leak or a lost log would show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SoakReport {
  int exitCode = -2;
  bool leftRunning = false;
  uint64_t ticks = 0;        // passes of the main loop (its sleeps)
  uint64_t actions = 0;      // user actions and injected faults
  uint64_t logsWritten = 0;  // log files in the documents folder at the end
  uint64_t pagesWritten = 0; // analysis pages beside them (one per run that ended)
  // Checkpoints taken every so often while the program runs.
  int maxLiveDirectInput = 0;
  int maxLiveDevices = 0;
  int maxLiveEffects = 0;
  int openFilesAtFirstCheckpoint = 0;
  int maxOpenFiles = 0;
  // Heap in use (bytes) at the second checkpoint and the most at any later one; 0 when the
  // allocator cannot tell (under the address sanitizer, whose leak check covers it).
  uint64_t heapAtSecondCheckpoint = 0;
  uint64_t maxHeapLater = 0;
  // Left after the program ended.
  int liveObjectsAfterExit = 0;
  int openFilesAfterExit = 0;
  int openFilesBefore = 0;
  std::vector<std::string> unclosedLogs;  // logs whose last line does not end in CR LF
  // Ticks after which the wheel must feel no torque from the program: the two before ran with
  // "Disabled" and no damping type, untouched by the user and by injected faults.
  uint64_t disabledTicksChecked = 0;
  uint64_t forceLeftOn = 0;  // of those, ticks after which it still felt some
  std::string firstForceLeftOn;
};

// Runs the program for at least `ticks` passes of its main loop (one tick each). The same
// seed, the same session.
SoakReport RunSoak(uint64_t ticks, uint32_t seed);

// A user at a running program: the real WinMain runs on the host stand-ins and the virtual
// clock, and the session's steps run one at a time at the moments the program looks for
// input and finds none, which is when a real user's input arrives. Steps act through the
// driver, as a user would; the loop, the dialog procedure and the tick handle what they do.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

class UserSession {
 public:
  using Step = std::function<void(HWND dialog)>;

  // Runs at the next idle moment.
  UserSession& Then(Step step);
  // Lets the program run for this much virtual time before the next step.
  UserSession& Wait(uint32_t milliseconds);
  // Lets the program run until the condition holds at an idle moment, or for at most
  // maxMs of virtual time (then timedOut() tells).
  UserSession& WaitUntil(std::function<bool(HWND dialog)> condition, uint32_t maxMs);
  // Runs at every idle moment (once per pass of the main loop that finds no input), before
  // any step due then: for checks that watch the program tick by tick.
  UserSession& EveryIdle(Step observer);
  // Advances the virtual clock by 1 ms every `idleMoments` idle moments, for a loop that
  // does not sleep ("Sleep (ms)" 0): several ticks then share one millisecond.
  UserSession& AdvanceClockEvery(uint32_t idleMoments);
  // Runs the steps, then closes the window the way the close box does when the program
  // has not ended by itself within a minute of the last step. Returns WinMain's result.
  int Run();

  HWND dialog() const { return dialog_; }
  // The program was still running a minute after the last step, or never let the clock move.
  bool leftRunning() const { return leftRunning_; }
  // A WaitUntil ran out of time before its condition held.
  bool timedOut() const { return timedOut_; }
  // Sleep calls the loop made, with the number of messages retrieved before each (kept
  // unless recordSleeps(false) was called before Run: a long session would grow it).
  const std::vector<uint64_t>& messagesBeforeEachSleep() const { return messagesBeforeSleep_; }
  void recordSleeps(bool record) { recordSleeps_ = record; }
  uint64_t sleepCount() const { return sleeps_; }

 private:
  struct Entry {
    Step step;
    uint32_t waitMs;
    std::function<bool(HWND)> until;
  };
  static void OnIdle(void* context);
  static void OnSleep(DWORD milliseconds, void* context);
  void Idle();
  void Close();

  std::vector<Entry> entries_;
  Step everyIdle_;
  uint32_t clockStepEvery_ = 0;
  uint32_t idleSinceClockStep_ = 0;
  size_t next_ = 0;
  bool waiting_ = false;
  bool lingering_ = false;
  uint32_t waitUntil_ = 0;
  uint64_t idleCalls_ = 0;  // since the clock last moved
  uint32_t lastIdleMs_ = 0;
  HWND dialog_ = nullptr;
  bool leftRunning_ = false;
  bool closing_ = false;
  bool timedOut_ = false;
  std::vector<uint64_t> messagesBeforeSleep_;
  bool recordSleeps_ = true;
  uint64_t sleeps_ = 0;
};

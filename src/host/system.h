// Host stand-ins for process, thread, timer and shell calls. The clock is real
// (monotonic milliseconds) or virtual: in virtual mode Sleep advances time at once,
// so scenario tests that cover seconds of wheel time run in milliseconds.
#pragma once

#include <cstdint>

#include "host/win32_base.h"

#define HIGH_PRIORITY_CLASS 0x00000080
#define REALTIME_PRIORITY_CLASS 0x00000100
#define NORMAL_PRIORITY_CLASS 0x00000020
#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97
typedef UINT MMRESULT;

DWORD WINAPI timeGetTime();
MMRESULT WINAPI timeBeginPeriod(UINT period);
MMRESULT WINAPI timeEndPeriod(UINT period);
void WINAPI Sleep(DWORD milliseconds);
HANDLE WINAPI GetCurrentProcess();
HANDLE WINAPI GetCurrentThread();
BOOL WINAPI SetPriorityClass(HANDLE process, DWORD priorityClass);
DWORD WINAPI GetPriorityClass(HANDLE process);
DWORD_PTR WINAPI SetThreadAffinityMask(HANDLE thread, DWORD_PTR mask);
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);

namespace host {

// Switches between the real monotonic clock and a virtual one starting at startMs.
void UseVirtualClock(uint32_t startMs = 0);
void UseRealClock();
bool ClockIsVirtual();
// Moves the virtual clock forward without a Sleep call (no effect on the real clock).
void AdvanceVirtualClock(uint32_t milliseconds);

struct SystemCalls {
  uint32_t sleepCalls;
  uint64_t sleptMilliseconds;
  uint32_t lastSleepMs;
  uint32_t priorityClass;          // last class set, 0 before any call
  uint32_t priorityClassChanges;   // SetPriorityClass calls
  uint64_t affinityMask;           // last mask set, 0 before any call
  uint32_t affinityCalls;
  int32_t timerPeriodDepth;        // timeBeginPeriod minus timeEndPeriod calls
  uint32_t timeBeginPeriodCalls;
  uint32_t timeEndPeriodCalls;
};
const SystemCalls& RecordedSystemCalls();
// Clears the record (and the sleep hook) and makes the listed calls fail (returning 0 or
// TIMERR_NOCANDO).
void ResetSystemCalls();
void FailSetThreadAffinityMask(bool fail);
void FailTimeBeginPeriod(bool fail);
// Called by Sleep after it has advanced the clock (or slept), with what it was asked for:
// scenario tests act there as time passes. Null clears it.
void SetSleepHook(void (*hook)(DWORD milliseconds, void* context), void* context);

}  // namespace host

#include "host/system.h"

#include <chrono>
#include <thread>

namespace {

bool virtualClock = false;
uint32_t virtualNowMs = 0;
host::SystemCalls calls{};
bool failAffinity = false;
bool failTimeBeginPeriod = false;
void (*sleepHook)(DWORD, void*) = nullptr;
void* sleepContext = nullptr;

// Distinct non-null pseudo handles, like Windows' -1 and -2.
HANDLE const currentProcess = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
HANDLE const currentThread = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2));
int moduleAnchor;

uint32_t RealNowMs() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

DWORD WINAPI timeGetTime() { return virtualClock ? virtualNowMs : RealNowMs(); }

MMRESULT WINAPI timeBeginPeriod(UINT period) {
  ++calls.timeBeginPeriodCalls;
  if (failTimeBeginPeriod || period == 0) return TIMERR_NOCANDO;
  ++calls.timerPeriodDepth;
  return TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT period) {
  ++calls.timeEndPeriodCalls;
  if (period == 0) return TIMERR_NOCANDO;
  --calls.timerPeriodDepth;
  return TIMERR_NOERROR;
}

void WINAPI Sleep(DWORD milliseconds) {
  ++calls.sleepCalls;
  calls.sleptMilliseconds += milliseconds;
  calls.lastSleepMs = milliseconds;
  if (virtualClock) {
    virtualNowMs += milliseconds;
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
  if (sleepHook != nullptr) sleepHook(milliseconds, sleepContext);
}

HANDLE WINAPI GetCurrentProcess() { return currentProcess; }
HANDLE WINAPI GetCurrentThread() { return currentThread; }

BOOL WINAPI SetPriorityClass(HANDLE process, DWORD priorityClass) {
  if (process != currentProcess) return FALSE;
  calls.priorityClass = priorityClass;
  ++calls.priorityClassChanges;
  return TRUE;
}

DWORD WINAPI GetPriorityClass(HANDLE process) {
  if (process != currentProcess) return 0;
  return calls.priorityClass != 0 ? calls.priorityClass : NORMAL_PRIORITY_CLASS;
}

DWORD_PTR WINAPI SetThreadAffinityMask(HANDLE thread, DWORD_PTR mask) {
  ++calls.affinityCalls;
  if (failAffinity || thread != currentThread || mask == 0) return 0;
  DWORD_PTR previous = calls.affinityMask != 0 ? calls.affinityMask : 0x3;
  calls.affinityMask = mask;
  return previous;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
  // Only the program's own module is known here.
  if (moduleName != nullptr) return nullptr;
  return reinterpret_cast<HMODULE>(&moduleAnchor);
}

namespace host {

void UseVirtualClock(uint32_t startMs) {
  virtualClock = true;
  virtualNowMs = startMs;
}

void UseRealClock() { virtualClock = false; }

bool ClockIsVirtual() { return virtualClock; }

void AdvanceVirtualClock(uint32_t milliseconds) {
  if (virtualClock) virtualNowMs += milliseconds;
}

const SystemCalls& RecordedSystemCalls() { return calls; }

void ResetSystemCalls() {
  calls = SystemCalls{};
  failAffinity = false;
  failTimeBeginPeriod = false;
  sleepHook = nullptr;
  sleepContext = nullptr;
}

void FailSetThreadAffinityMask(bool fail) { failAffinity = fail; }
void FailTimeBeginPeriod(bool fail) { failTimeBeginPeriod = fail; }

void SetSleepHook(void (*hook)(DWORD milliseconds, void* context), void* context) {
  sleepHook = hook;
  sleepContext = context;
}

}  // namespace host

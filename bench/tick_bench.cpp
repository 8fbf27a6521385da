// The force tick's cost per mode on the stand-in device and the virtual wheel, and the heap
// allocations it makes (counted by the replaced global operator new linked into this binary).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "device/device_open.h"
#include "device/direct_input.h"
#include "engine/engine_state.h"
#include "engine/force_tick.h"
#include "engine/test_frame.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device_registry.h"
#include "host/window/host_window.h"
#include "settings/test_settings.h"
#include "support/counting_allocator.h"

namespace {

void OpenVirtualWheel(int mode) {
  ShutdownDirectInput();
  ResetTestSettings();
  ResetForceTick();
  host::ResetDirectInput();
  host::ResetWindowSystem();
  host::SetCallLogEnabled(false);
  host::UseVirtualClock(5000000);
  host::AttachDevice(host::VirtualWheelDescription());
  testSettings.forceMode = static_cast<ForceMode>(mode);
  testSettings.damperType = 1;
  // Exclusive cooperation needs a window, as on Windows.
  HWND window = host::CreateHostDialog(nullptr);
  InitDirectInput();
  SelectFFBDevice(window, 0);
  if (g_pDevice == nullptr || g_pEffect[effectSlotSpring] == nullptr) std::abort();
  for (int i = 0; i < 100; ++i) {  // past acquisition and the first refresh
    host::AdvanceVirtualClock(1);
    ForceTick();
  }
}

// One whole tick per millisecond of wheel time: the program, the stand-in and the wheel's
// integration of that millisecond.
void BM_ForceTick(benchmark::State& state) {
  OpenVirtualWheel(static_cast<int>(state.range(0)));
  uint64_t allocationsBefore = test_support::AllocationCount();
  int64_t ticks = 0;
  for (auto _ : state) {
    host::AdvanceVirtualClock(1);
    ForceTick();
    ++ticks;
  }
  state.counters["allocs/tick"] =
      static_cast<double>(test_support::AllocationCount() - allocationsBefore) / static_cast<double>(ticks);
  ShutdownDirectInput();
}
BENCHMARK(BM_ForceTick)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond);

// The measurement tests, each repeated without end into a folder of the benchmark's own:
// their ticks write a log row each, and every run (a few seconds of wheel time) opens a
// new log. The counter sees operator new only: the C runtime's FILE of each new log comes
// from malloc, once per run, outside it.
void BM_MeasurementTick(benchmark::State& state) {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / "vantrel-bench-logs";
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::string folderText = folder.string();
  host::SetDocumentsFolder(folderText.c_str());
  OpenVirtualWheel(static_cast<int>(state.range(0)));
  testSettings.testRepeat = 1000000000;
  reportRequested = true;  // what a selection in the mode combo does
  uint64_t allocationsBefore = test_support::AllocationCount();
  int64_t ticks = 0;
  for (auto _ : state) {
    host::AdvanceVirtualClock(1);
    ForceTick();
    ++ticks;
  }
  uint64_t allocations = test_support::AllocationCount() - allocationsBefore;
  state.counters["ticks/run"] = static_cast<double>(ticks) / static_cast<double>(testRunCount + 1);
  state.counters["allocs/tick"] = static_cast<double>(allocations) / static_cast<double>(ticks);
  ShutdownDirectInput();
  ResetTestStates();
  host::SetDocumentsFolder(nullptr);
  fs::remove_all(folder);
}
BENCHMARK(BM_MeasurementTick)->DenseRange(10, 14)->Unit(benchmark::kMicrosecond);

// The device's share of a tick: the reads every tick makes and one parameter send, straight
// to the stand-in, with the wheel integrating the same millisecond.
void BM_StandInAndWheelPerTick(benchmark::State& state) {
  OpenVirtualWheel(1);
  DIJOYSTATE joystick;
  DIPROPRANGE range;
  std::memset(&range, 0, sizeof(range));
  range.diph.dwSize = sizeof(DIPROPRANGE);
  range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
  range.diph.dwObj = DIJOFS_X;
  range.diph.dwHow = DIPH_BYOFFSET;
  for (auto _ : state) {
    host::AdvanceVirtualClock(1);
    g_pDevice->Poll();
    g_pDevice->GetDeviceState(sizeof(joystick), &joystick);
    g_pDevice->GetProperty(DIPROP_LOGICALRANGE, &range.diph);
    benchmark::DoNotOptimize(joystick.lX);
  }
  ShutdownDirectInput();
}
BENCHMARK(BM_StandInAndWheelPerTick)->Unit(benchmark::kMicrosecond);

}  // namespace

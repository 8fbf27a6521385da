// The force tick's cost per mode on the stand-in device and the virtual wheel, and the heap
// allocations it makes (counted by the replaced global operator new linked into this binary).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "app/test_settings.h"
#include "device/device_open.h"
#include "device/direct_input.h"
#include "engine/force_tick.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device_registry.h"
#include "host/window/host_window.h"
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
  testSettings.forceMode = mode;
  testSettings.damperType = 1;
  // Exclusive cooperation needs a window, as on Windows.
  HWND window = host::CreateHostDialog(nullptr);
  InitDirectInput(window);
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

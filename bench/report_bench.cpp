// Rebuilding the device report: every DirectInput call the report makes, on the stand-in,
// into the host tree view, for the virtual wheel and for a controller with 64 objects.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "app/control_ids.h"
#include "app/control_panel.h"
#include "device/device_open.h"
#include "device/direct_input.h"
#include "engine/force_tick.h"
#include "host/dinput/call_log.h"
#include "host/dinput/device_registry.h"
#include "host/window/host_window.h"
#include "report/device_report.h"
#include "settings/test_settings.h"

namespace {

void OpenDevice(const host::DeviceDescription& description) {
  ShutdownDirectInput();
  ResetTestSettings();
  ResetForceTick();
  host::ResetDirectInput();
  host::ResetWindowSystem();
  host::SetCallLogEnabled(false);
  host::AttachDevice(description);
  HWND window = host::CreateHostDialog(nullptr);
  reportTreeWindow = host::AddHostControl(window, IDC_REPORT_TREE, host::ControlClass::TreeView);
  InitDirectInput();
  SelectFFBDevice(window, 0);
  if (g_pDevice == nullptr) std::abort();
}

void RunRebuilds(benchmark::State& state) {
  for (auto _ : state) BuildDeviceReport(reportTreeWindow);
  state.counters["lines"] =
      static_cast<double>(SendMessageA(reportTreeWindow, TVM_GETCOUNT, 0, 0));
  ShutdownDirectInput();
  reportTreeWindow = nullptr;
}

void BM_ReportRebuild_VirtualWheel(benchmark::State& state) {
  OpenDevice(host::VirtualWheelDescription());
  RunRebuilds(state);
}
BENCHMARK(BM_ReportRebuild_VirtualWheel)->Unit(benchmark::kMillisecond);

// 8 axes (two of them actuators), 52 buttons and 4 POVs.
void BM_ReportRebuild_64Objects(benchmark::State& state) {
  OpenDevice(host::GameControllerDescription("Bench Controller", 0x1209, 0x0004, 2, 8, 52, 4));
  RunRebuilds(state);
}
BENCHMARK(BM_ReportRebuild_64Objects)->Unit(benchmark::kMillisecond);

}  // namespace

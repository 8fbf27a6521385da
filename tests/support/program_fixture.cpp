#include "support/program_fixture.h"

#include <cstdio>

#include "app/control_panel.h"
#include "app/dialog_proc.h"
#include "app/program_exit.h"
#include "app/test_settings.h"
#include "device/device_open.h"
#include "device/direct_input.h"
#include "diag/result_code_name.h"
#include "engine/force_tick.h"
#include "host/debug_output.h"
#include "host/dinput/call_log.h"

void ProgramTest::SetUp() {
  ShutdownDirectInput();
  deviceCount = 0;
  ffAxisCount = 0;
  deviceVendorId = 0;
  programEnding = false;
  deviceNotification = nullptr;
  ResetControlPanel();
  ResetTestSettings();
  ResetForceTick();
  host::ResetDirectInput();
  host::ResetWindowSystem();
  host::ResetSystemCalls();
  host::ResetShellFolders();
  // A machine that has been up for a while, as timeGetTime reports it on a real one.
  host::UseVirtualClock(5000000);
  host::ClearDebugOutput();
  dialog = host::CreateHostDialog(nullptr);
  deviceCombo = host::AddHostControl(dialog, 1022, host::ControlClass::ComboBox);
}

void ProgramTest::TearDown() { ShutdownDirectInput(); }

std::vector<std::string> ProgramTest::TraceLines() {
  std::vector<std::string> lines;
  for (size_t i = 0; i < host::DebugOutputCallCount(); ++i) {
    std::string_view call = host::DebugOutputCall(i);
    if (call != "\n") lines.emplace_back(call);
  }
  return lines;
}

host::DeviceId ProgramTest::AttachWheel() { return host::AttachDevice(host::VirtualWheelDescription()); }

void ProgramTest::OpenFirstDevice() {
  ASSERT_EQ(InitDirectInput(dialog), S_OK);
  SelectFFBDevice(dialog, 0);
  ASSERT_NE(g_pDevice, nullptr);
}

std::string CodeText(HRESULT code) {
  char text[32];
  std::snprintf(text, sizeof(text), "(0x%08x) ", static_cast<unsigned>(code));
  return std::string(text) + ResultCodeName(code);
}

#include "support/program_fixture.h"

#include <cstdio>

#include "device/device_open.h"
#include "device/direct_input.h"
#include "diag/result_code_name.h"
#include "host/debug_output.h"
#include "host/dinput/call_log.h"
#include "support/program_state.h"

void ProgramTest::SetUp() {
  ResetProgramState();
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
  ASSERT_EQ(InitDirectInput().status, DeviceListStatus::Ok);
  SelectFFBDevice(dialog, 0);
  ASSERT_NE(g_pDevice, nullptr);
}

std::string CodeText(HRESULT code) {
  char text[32];
  std::snprintf(text, sizeof(text), "(0x%08x) ", static_cast<unsigned>(code));
  return std::string(text) + ResultCodeName(code);
}

#include "support/program_state.h"

#include "app/control_panel.h"
#include "app/dialog_proc.h"
#include "app/program_exit.h"
#include "device/device_open.h"
#include "device/direct_input.h"
#include "engine/force_tick.h"
#include "host/debug_output.h"
#include "host/dinput/device_registry.h"
#include "host/window/host_window.h"
#include "settings/test_settings.h"

void ResetProgramState() {
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
  host::ResetConsoleHandlers();
  // A machine that has been up for a while, as timeGetTime reports it on a real one.
  host::UseVirtualClock(5000000);
  host::ClearDebugOutput();
}

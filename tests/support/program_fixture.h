// A known program state for every scenario: defaults, no DirectInput object, no devices,
// an empty trace, the virtual clock, and a host dialog holding the device combo.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/dinput/device_registry.h"
#include "platform/platform.h"

class ProgramTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Trace lines written since the last clear, without the separate line ends.
  static std::vector<std::string> TraceLines();
  // Attaches the virtual wheel with its defaults (or the given description).
  static host::DeviceId AttachWheel();
  // Creates DirectInput, enumerates and opens entry 0, as the dialog's initialisation does.
  void OpenFirstDevice();

  HWND dialog = nullptr;
  HWND deviceCombo = nullptr;
};

// The result code as a failure trace prints it: "(0x%08x) " and its name.
std::string CodeText(HRESULT code);

// Scenarios of the measurement tests: the real program on the virtual clock with a
// documents folder of the test's own, started from the mode combo as a user starts them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/dinput/device_registry.h"
#include "sim/wheel_parameters.h"
#include "support/log_folder.h"
#include "support/program_fixture.h"
#include "support/user_session.h"

class MeasurementTest : public ProgramTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The virtual wheel with these physics.
  static host::DeviceId AttachWheelWith(const sim::WheelParameters& wheel);
  // Types the value into the edit box and commits it with Enter.
  static void Enter(HWND dialog, int id, const std::string& text);
  // The mode combo shows "Disabled" again: the test has ended its last run.
  static bool ShowsDisabled(HWND dialog);

  // Lets the program start, runs `setup`, selects mode `mode` and waits (at most maxMs of
  // virtual time) for the test to return the combo to "Disabled"; then `after` runs and the
  // window is closed. Fails the test when the mode did not come back in time.
  void RunToDisabled(int mode, const std::function<void(HWND)>& setup, uint32_t maxMs = 120000,
                     const std::function<void(HWND)>& after = nullptr);

  // A second start within one test: the program and the stand-ins as at SetUp, no devices,
  // and an empty log folder of its own.
  void StartAfresh();

  // The lines of the only log whose name starts with prefix (fails when there is not one).
  std::vector<std::string> OnlyLog(const std::string& prefix);

  std::unique_ptr<LogFolder> folder;
};

// Fields of a CSV line as numbers.
std::vector<double> CsvNumbers(const std::string& line);

// The real program on the virtual clock and a virtual wheel built with known physics: a
// measurement is run from the mode combo as a user runs it, and its log is read back by the
// analysis.
#pragma once

#include <functional>
#include <string>

#include "analysis/measurement_log.h"
#include "sim/wheel_parameters.h"
#include "support/measurement_fixture.h"

namespace analysis_test {

inline constexpr int minForceMode = 10;
inline constexpr int stepMode = 11;
inline constexpr int linearForceMode = 12;
inline constexpr int linearTimeMode = 13;
inline constexpr int resolutionMode = 14;

// The name every log of this mode starts with.
const char* LogPrefix(int mode);

class AnalysisScenario : public MeasurementTest {
 protected:
  // Starts from a fresh program and documents folder, attaches the wheel, runs the mode to
  // its end (setup first, in the dialog) and reads its one log; the path is kept in logPath.
  analysis::MeasurementLog RunAndRead(int mode, const sim::WheelParameters& wheel,
                                      const std::function<void(HWND)>& setup = nullptr);
  std::string logPath;
};

// Force units to N m of the wheel's motor, and back.
double TorqueOfForce(const sim::WheelParameters& wheel, double force);

}  // namespace analysis_test

#include "analysis/analysis_scenario.h"

#include <gtest/gtest.h>

#include "analysis/log_reader.h"

namespace analysis_test {

const char* LogPrefix(int mode) {
  switch (mode) {
    case minForceMode: return "log_mforce ";
    case stepMode: return "log ";
    case linearForceMode: return "log2 ";
    case linearTimeMode: return "log3 ";
    case resolutionMode: return "logRes ";
  }
  return "";
}

analysis::MeasurementLog AnalysisScenario::RunAndRead(int mode, const sim::WheelParameters& wheel,
                                                      const std::function<void(HWND)>& setup) {
  TearDown();
  SetUp();
  AttachWheelWith(wheel);
  RunToDisabled(mode, setup, 900000);
  analysis::MeasurementLog log;
  std::vector<std::string> names = folder->Files(LogPrefix(mode));
  EXPECT_EQ(names.size(), 1u) << "logs of mode " << mode;
  if (names.size() != 1) return log;
  logPath = folder->path() + "/" + names[0];
  std::string reason;
  EXPECT_TRUE(analysis::ReadLogFile(logPath, log, reason)) << reason;
  return log;
}

double TorqueOfForce(const sim::WheelParameters& wheel, double force) {
  return sim::TorqueFraction(wheel, force) * wheel.maxMotorTorque;
}

}  // namespace analysis_test

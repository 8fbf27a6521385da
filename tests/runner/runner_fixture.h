// vantrel-measure run in this process on the host stand-ins, the virtual clock and a log
// folder of the test's own: what it printed on each stream and the code it returned.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/measurement_fixture.h"

struct RunnerResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class RunnerTest : public MeasurementTest {
 protected:
  void TearDown() override;
  // Runs vantrel-measure with these arguments (the program name is added). `everySleep`, when
  // given, runs at every Sleep the program makes, with the virtual time slept so far.
  RunnerResult RunRunner(const std::vector<std::string>& arguments,
                         const std::function<void(uint64_t sleptMs)>& everySleep = nullptr);
};

// vantrel-measure's command line: which tests to run, on which device, with which settings.
#pragma once

#include <string>
#include <vector>

#include "settings/test_settings.h"

struct RunnerOptions {
  bool list = false;
  std::vector<ForceMode> tests;     // in the order they run
  std::string device;               // a name or a list index; empty: the first with force feedback
  TestSettings settings = DefaultTestSettings();
  std::string outDir;               // empty: the documents folder
};

struct ParseResult {
  bool ok = false;
  bool help = false;   // --help: the usage, nothing run
  std::string reason;  // one line, when not ok
};

ParseResult ParseRunnerOptions(int argc, const char* const* argv, RunnerOptions& options);
std::string RunnerUsage();
// The command-line name of a test ("step", "linear-force", ...).
const char* TestName(ForceMode mode);

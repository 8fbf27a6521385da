// vantrel-measure: the five measurements from a command line, on the same engine as the
// dialog, with a progress line on the error stream and a summary table on the output.
#pragma once

#include <cstdio>

// Exit codes.
inline constexpr int runnerAllRan = 0;
inline constexpr int runnerNoDirectInput = 1;
inline constexpr int runnerBadArguments = 2;
inline constexpr int runnerNoDevice = 3;
inline constexpr int runnerDeviceLost = 4;
inline constexpr int runnerInterrupted = 130;

// The whole program: parses argv, runs, prints, and returns the exit code.
int RunMeasureProgram(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

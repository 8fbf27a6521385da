// How soon the wheel answers a force, read from a step test's log: the time from the first row
// that logs the first pulse's force (the force goes out in that row's tick) to the first row
// whose raw position differs from that row's (the wheel was at rest before the pulse).
#pragma once

#include <optional>
#include <string>
#include <vector>

// The log's lines without their CR LF, header first; nothing when the log has no pulse or the
// wheel never moved after it.
std::optional<long> FirstPulseLatencyMs(const std::vector<std::string>& lines);

// Runs the step test `runs` times in the program's open dialog and prints each run's latency
// and their spread; 0 when every run gave one.
int MeasureStepLatency(int runs);

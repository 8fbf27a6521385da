// Reading the stand-in's call log the way device-traffic tests need it.
#pragma once

#include <string>
#include <vector>

#include "host/dinput/call_log.h"

// Records from `first` on, optionally only those of one method.
std::vector<host::CallRecord> CallsSince(size_t first);
std::vector<host::CallRecord> CallsOf(host::Method method, size_t first = 0);
// "Method" names in call order, from `first` on, leaving out reference counting.
std::vector<std::string> MethodNamesSince(size_t first);

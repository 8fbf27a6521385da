// A linear time log far longer than the program writes by default (Max Count up to 70,000):
// a wheel at full force for steps of 1 ms, 2 ms, ... whose speed levels off, in the program's
// format. For the analysis's worst case in the benchmark and the browser check.
#pragma once

#include <string>

std::string LongLinearTimeLog(int rows);

// The analysis page beside every measurement log, written when its run ends: after the tick
// that ended it, by the front end, so the tick itself never reads a log back.
#pragma once

#include <string>

// Writes the page of the run the engine reported finished since the last call, if any, and
// if it has a log. False with a one-line reason when the page could not be written.
bool WritePageOfFinishedRun(std::string& reason);
// Forgets which run was seen last: the next call looks from the engine's present run on.
void ResetRunPages();

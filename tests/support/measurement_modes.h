// The five measurements as a table for parameterised scenarios: the name vantrel-measure gives
// each, its entry in the mode combo, and the start of its logs' names.
#pragma once

#include <ostream>
#include <string>

#include <gtest/gtest.h>

struct MeasurementMode {
  const char* name;  // as vantrel-measure names it
  int mode;          // the mode combo's entry
  const char* logPrefix;
};

inline void PrintTo(const MeasurementMode& mode, std::ostream* out) { *out << mode.name; }

inline const MeasurementMode allMeasurements[] = {
    {.name = "min-force", .mode = 10, .logPrefix = "log_mforce "},
    {.name = "step", .mode = 11, .logPrefix = "log "},
    {.name = "linear-force", .mode = 12, .logPrefix = "log2 "},
    {.name = "linear-time", .mode = 13, .logPrefix = "log3 "},
    {.name = "resolution", .mode = 14, .logPrefix = "logRes "},
};

// A case name from the measurement's name ("linear-force" becomes "linear_force").
struct NamedByMeasurement {
  std::string operator()(const testing::TestParamInfo<MeasurementMode>& info) const {
    std::string id = info.param.name;
    for (char& c : id) c = (c == '-') ? '_' : c;
    return id;
  }
};

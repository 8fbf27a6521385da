// Readable names for the cases of a parameterised test. gtest takes only letters, digits
// and underscores in a name, and without a generator it numbers the cases, which ctest then
// shows as a dump of the parameter's bytes.
#pragma once

#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace test_support {

// A description as one identifier: "spring right of centre pulls left" becomes
// "SpringRightOfCentrePullsLeft", "constant force -5000" "ConstantForceMinus5000",
// "0.99 of static" "0_99OfStatic"; numbers that would run together keep an underscore.
std::string CaseName(std::string_view description);

// The name generator for a table whose rows describe themselves in a `what` field.
struct NamedByWhat {
  template <class Case>
  std::string operator()(const testing::TestParamInfo<Case>& info) const {
    return CaseName(info.param.what);
  }
};

}  // namespace test_support

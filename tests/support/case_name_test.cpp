#include "support/case_name.h"

#include <gtest/gtest.h>

namespace {

TEST(CaseName, MakesOneIdentifierOfADescription) {
  struct Row {
    const char* description;
    const char* name;
  };
  const Row rows[] = {
      {"spring right of centre pulls left", "SpringRightOfCentrePullsLeft"},
      {"constant force -5000", "ConstantForceMinus5000"},
      {"constant force +8000", "ConstantForcePlus8000"},
      {"0.99 of static", "0_99OfStatic"},
      {"5000:3000", "5000_3000"},
      {"force feedback, unplugged too", "ForceFeedbackUnpluggedToo"},
      {"9.5% (950)", "9_5Percent950"},
      {"positive from -X", "PositiveFromMinusX"},
      {"positive from +X+Y", "PositiveFromPlusXPlusY"},
      {"zero full-scale velocity", "ZeroFullScaleVelocity"},
      {"from the dead band's upper edge", "FromTheDeadBandsUpperEdge"},
      {"", "Empty"},
      {" ,;", "Empty"},
  };
  for (const Row& row : rows) EXPECT_EQ(test_support::CaseName(row.description), row.name) << row.description;
}

}  // namespace

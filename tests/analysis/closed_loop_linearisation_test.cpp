// Closing the loop: the force map derived from a linear force run, typed into the program's
// Force Map box, makes the next run on the same wheel come out linear.
#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "analysis/analysis_scenario.h"
#include "analysis/linearisation.h"
#include "analysis/numeric.h"
#include "analysis/response_figures.h"
#include "app/control_ids.h"
#include "settings/test_settings.h"

namespace analysis_test {
namespace {

using ClosedLoopLinearisationTest = AnalysisScenario;

analysis::ResponseFigures LinearForceFigures(const analysis::MeasurementLog& log) {
  analysis::ResponseFigures figures;
  std::string reason;
  EXPECT_TRUE(analysis::AnalyseLinearForceLog(log, figures, reason)) << reason;
  return figures;
}

// The program's own parser takes the map as it is: the same pairs, in order, none added.
void ExpectParsedUnchanged(const analysis::Linearisation& map) {
  ResetTestSettings();
  ParseForceMap(map.forceMap.c_str());
  ASSERT_EQ(testSettings.forceMapCount, static_cast<int>(map.pairs.size())) << map.forceMap;
  for (size_t i = 0; i < map.pairs.size(); ++i) {
    EXPECT_EQ(testSettings.forceMap[i].input, map.pairs[i].input) << map.forceMap;
    EXPECT_EQ(testSettings.forceMap[i].output, map.pairs[i].output) << map.forceMap;
  }
}

TEST_F(ClosedLoopLinearisationTest, TheMappedRunComesOutLinear) {
  struct Case {
    const char* what;
    double torqueDeadZone;
    double exponent;
    analysis::LinearisationMode mode;
    bool curved;  // a curve above the dead zone: at least 10 % off the straight line unmapped
  };
  // The threshold with the map, 5 % of the full response: the map is read off a curve sampled
  // every 200 force units (2 % of full scale) and cut to ten pairs, and where the curve is
  // steepest one step of force moves the response by up to 4 % of its full value; at the
  // first levels that move, break-away friction makes the travel uneven as well. These wheels
  // are 11 % and 17 % off the line without the map.
  constexpr double linearWithMap = 0.05;
  const Case cases[] = {
      {"dead zone 1500, soft curve", 1500.0, 1.8, analysis::LinearisationMode::Full, true},
      {"dead zone 1000, strong curve", 1000.0, 0.6, analysis::LinearisationMode::Full, true},
      {"dead zone 2000, linear above", 2000.0, 1.0, analysis::LinearisationMode::DeadZone, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::WheelParameters wheel;
    wheel.torqueDeadZone = c.torqueDeadZone;
    wheel.torqueCurveExponent = c.exponent;
    const analysis::ResponseFigures before = LinearForceFigures(RunAndRead(linearForceMode, wheel));
    analysis::Linearisation map;
    std::string reason;
    ASSERT_TRUE(analysis::Linearise(before, c.mode, map, reason)) << reason;
    EXPECT_LE(map.pairs.size(), 10u);
    ExpectParsedUnchanged(map);

    const analysis::ResponseFigures after = LinearForceFigures(RunAndRead(
        linearForceMode, wheel, [&](HWND dialog) { MeasurementTest::Enter(dialog, IDC_FORCE_MAP, map.forceMap); }));
    // What the program made of the typed text is the map itself.
    ASSERT_EQ(testSettings.forceMapCount, static_cast<int>(map.pairs.size()));
    for (size_t i = 0; i < map.pairs.size(); ++i) {
      EXPECT_EQ(testSettings.forceMap[i].input, map.pairs[i].input);
      EXPECT_EQ(testSettings.forceMap[i].output, map.pairs[i].output);
    }
    std::printf("closed loop, %-30s (%s): dead zone %5.0f -> %5.0f, linearity error %5.1f %% -> %4.1f %%; map %s\n",
                c.what, analysis::ModeName(c.mode), before.deadZone, after.deadZone, before.linearityError * 100,
                after.linearityError * 100, map.forceMap.c_str());
    if (c.curved) {
      EXPECT_GE(before.linearityError, 0.10);
    }
    EXPECT_LE(after.linearityError, linearWithMap);
    EXPECT_GE(before.deadZone, 1000.0);
    // The dead zone is gone: the first step already moves the wheel, or the second.
    EXPECT_LE(after.deadZone, 400.0);
  }
}

}  // namespace
}  // namespace analysis_test

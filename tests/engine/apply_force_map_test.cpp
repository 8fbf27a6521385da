#include <cstdint>

#include <gtest/gtest.h>

#include "engine/effect_update.h"
#include "settings/test_settings.h"

namespace {

TEST(ApplyForceMap, MapsMagnitudesAndKeepsTheSign) {
  struct Case {
    const char* map;  // nullptr: "Min force" 500
    int32_t force;
    int32_t sent;
  };
  const Case cases[] = {
      {"0:0,10000:10000", 1234, 1234},  {"0:0,10000:10000", -9999, -9999}, {"0:0,10000:10000", 0, 0},
      {nullptr, 1, 501},                {nullptr, -1, -501},               {nullptr, 0, 500},
      {nullptr, 10000, 10000},          {nullptr, 20000, 10000},           {nullptr, -20000, -10000},
      {"0:0,5000:8000,10000:10000", 2500, 4000},
      {"0:0,5000:8000,10000:10000", 5000, 8000},
      {"0:0,5000:8000,10000:10000", 7500, 9000},
      {"0:0,5000:8000,10000:10000", -7500, -9000},
      // Two entries at input 0: the first match wins.
      {"-5:100", 0, 0},
  };
  for (const Case& c : cases) {
    ResetTestSettings();
    if (c.map == nullptr) {
      SetMinForce(500);
    } else {
      ParseForceMap(c.map);
    }
    EXPECT_EQ(ApplyForceMap(c.force), c.sent) << (c.map ? c.map : "min force 500") << " force " << c.force;
  }
}

}  // namespace

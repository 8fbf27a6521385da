#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/test_settings.h"
#include "support/case_name.h"

namespace {

std::vector<ForceMapPoint> CurrentMap() {
  return std::vector<ForceMapPoint>(testSettings.forceMap, testSettings.forceMap + testSettings.forceMapCount);
}

std::string Describe(const std::vector<ForceMapPoint>& map) {
  std::string text;
  for (const ForceMapPoint& p : map) text += "(" + std::to_string(p.input) + ", " + std::to_string(p.output) + ") ";
  return text;
}

struct ParseCase {
  const char* what;
  const char* text;
  std::vector<ForceMapPoint> expected;
};

void PrintTo(const ParseCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class ParseForceMapTest : public testing::TestWithParam<ParseCase> {
 protected:
  void SetUp() override { ResetTestSettings(); }
};

TEST_P(ParseForceMapTest, BuildsTheExpectedTable) {
  const ParseCase& c = GetParam();
  ParseForceMap(c.text);
  EXPECT_EQ(Describe(CurrentMap()), Describe(c.expected)) << "text \"" << c.text << "\"";
  EXPECT_EQ(testSettings.forceMap[0].output, c.expected[0].output) << "minForce";
}

const ParseCase parseCases[] = {
    {"one pair between the ends", "5000:3000", {{0, 0}, {5000, 3000}, {10000, 10000}}},
    {"its own first point", "0:500,8000:9000", {{0, 500}, {8000, 9000}, {10000, 10000}}},
    {"a falling input ends the map", "0:0,5000:2000,4000:3000", {{0, 0}, {5000, 2000}, {10000, 10000}}},
    {"an input beyond full scale is the end", "20000:5000", {{0, 0}, {10000, 5000}}},
    {"a negative input reads as zero", "-5:100", {{0, 0}, {0, 100}, {10000, 10000}}},
    {"not a number", "3000:x", {{0, 0}, {10000, 10000}}},
    {"empty", "", {{0, 0}, {10000, 10000}}},
    {"blanks only", "   ", {{0, 0}, {10000, 10000}}},
    // White space may stand before a number, but a separator must follow its number directly.
    {"blanks before numbers", " 0: 700, 9000: 9500", {{0, 700}, {9000, 9500}, {10000, 10000}}},
    {"a blank before a colon", "0 :700", {{0, 0}, {10000, 10000}}},
    {"a blank before a comma", "0:700 ,9000:9500", {{0, 700}, {10000, 10000}}},
    {"plus signs", "+0:+300", {{0, 300}, {10000, 10000}}},
    // Outputs clamp into 0..10000.
    {"outputs clamp", "0:-50,5000:70000", {{0, 0}, {5000, 10000}, {10000, 10000}}},
    // Numbers beyond 32 bits saturate before clamping.
    {"huge numbers saturate", "0:99999999999999999999,99999999999999999999:1", {{0, 10000}, {10000, 1}}},
    {"a huge negative input", "-99999999999999999999:5", {{0, 0}, {0, 5}, {10000, 10000}}},
    {"a half pair is dropped", "0:100,5000", {{0, 100}, {10000, 10000}}},
    // Ten pairs with a non-zero first input and a last input below 10000: twelve entries.
    {"ten pairs make twelve entries", "1:1,2:2,3:3,4:4,5:5,6:6,7:7,8:8,9:9,10:10",
     {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}, {9, 9}, {10, 10}, {10000, 10000}}},
    {"only ten pairs are read", "0:0,1:1,2:2,3:3,4:4,5:5,6:6,7:7,8:8,9:9,10:10,11:11",
     {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}, {9, 9}, {10000, 10000}}},
};

INSTANTIATE_TEST_SUITE_P(Texts, ParseForceMapTest, testing::ValuesIn(parseCases), test_support::NamedByWhat());

TEST(SetMinForce, ReplacesTheWholeMap) {
  ResetTestSettings();
  ParseForceMap("0:0,2000:4000,6000:7000");
  SetMinForce(500);
  EXPECT_EQ(Describe(CurrentMap()), Describe({{0, 500}, {10000, 10000}}));
}

// Whatever the text, the map keeps its shape and the parse stays inside the table.
TEST(ParseForceMapInvariants, HoldForRandomTexts) {
  std::mt19937 random(20261210);
  const std::string alphabet = "0123456789::,,,-+ \t9x\xc3\xa9\xff";
  for (int round = 0; round < 20000; ++round) {
    ResetTestSettings();
    std::string text;
    size_t length = random() % 300;
    for (size_t i = 0; i < length; ++i) {
      if (random() % 5 == 0) {
        text += std::to_string(static_cast<int64_t>(random()) * (random() % 2 ? 1 : -1) * (random() % 100000));
      } else {
        text += alphabet[random() % alphabet.size()];
      }
    }
    ParseForceMap(text.c_str());
    const int count = testSettings.forceMapCount;
    ASSERT_GE(count, 2) << text;
    ASSERT_LE(count, forceMapRoom) << text;
    ASSERT_EQ(testSettings.forceMap[0].input, 0) << text;
    ASSERT_EQ(testSettings.forceMap[count - 1].input, 10000) << text;
    for (int i = 0; i < count; ++i) {
      const ForceMapPoint& p = testSettings.forceMap[i];
      ASSERT_TRUE(p.input >= 0 && p.input <= 10000 && p.output >= 0 && p.output <= 10000) << text;
      if (i > 0) {
        ASSERT_GE(p.input, testSettings.forceMap[i - 1].input) << text;
      }
    }
  }
}

}  // namespace

// vantrel-measure's command line: every bad argument ends with exit code 2, a one-line reason
// and the usage, before anything starts; thousands of random argument lists never crash it.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/runner/runner_options.h"
#include "host/system.h"
#include "runner/runner_fixture.h"

namespace {

struct BadArguments {
  const char* name;
  std::vector<std::string> arguments;
  const char* reason;
};

void PrintTo(const BadArguments& c, std::ostream* out) { *out << c.name; }

class BadArgumentsTest : public RunnerTest, public testing::WithParamInterface<BadArguments> {};

TEST_P(BadArgumentsTest, EndsWithTwoAReasonAndTheUsageBeforeAnythingStarts) {
  const BadArguments& c = GetParam();
  AttachWheel();
  RunnerResult result = RunRunner(c.arguments);
  EXPECT_EQ(result.exitCode, 2);
  std::string firstLine = result.err.substr(0, result.err.find('\n'));
  EXPECT_EQ(firstLine, std::string("vantrel-measure: ") + c.reason);
  EXPECT_NE(result.err.find("Usage:"), std::string::npos) << result.err;
  EXPECT_TRUE(result.out.empty()) << result.out;
  EXPECT_EQ(host::RecordedSystemCalls().priorityClassChanges, 0u) << "the run started";
  EXPECT_TRUE(folder->Files().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, BadArgumentsTest,
    testing::Values(
        BadArguments{.name = "Nothing", .arguments = {}, .reason = "no test named (or --list)"},
        BadArguments{.name = "UnknownTest", .arguments = {"steps"}, .reason = "unknown test \"steps\""},
        BadArguments{.name = "UnknownOption", .arguments = {"--speed", "3", "step"},
                     .reason = "Option 'speed' does not exist"},
        BadArguments{.name = "NotANumber", .arguments = {"--force", "strong", "step"},
                     .reason = "--force: \"strong\" is not a whole number"},
        BadArguments{.name = "TrailingGarbage", .arguments = {"--repeat", "3x", "step"},
                     .reason = "--repeat: \"3x\" is not a whole number"},
        BadArguments{.name = "BelowTheRange", .arguments = {"--force=0", "step"}, .reason = "--force: 0 lies outside 1..10000"},
        BadArguments{.name = "AboveTheRange", .arguments = {"--sleep", "5000", "step"},
                     .reason = "--sleep: 5000 lies outside 0..1000"},
        BadArguments{.name = "Overflowing", .arguments = {"--step-time", "99999999999999999999", "step"},
                     .reason = "--step-time: \"99999999999999999999\" is not a whole number"},
        BadArguments{.name = "MissingValue", .arguments = {"step", "--device"},
                     .reason = "Option 'device' is missing an argument"},
        BadArguments{.name = "ForceMapNotPairs", .arguments = {"--force-map", "0:0,5000", "step"},
                     .reason = "--force-map: \"5000\" is not a pair \"in:out\""},
        BadArguments{.name = "ForceMapFalling", .arguments = {"--force-map", "0:0,6000:5000,5000:6000", "step"},
                     .reason = "--force-map: inputs must rise (\"5000:6000\")"},
        BadArguments{.name = "ForceMapOutOfRange", .arguments = {"--force-map", "0:0,10001:10000", "step"},
                     .reason = "--force-map: \"10001:10000\" lies outside 0..10000"},
        BadArguments{.name = "OutIntoNoFolder", .arguments = {"--out", "/nonexistent-vantrel-folder", "step"},
                     .reason = "--out: no folder \"/nonexistent-vantrel-folder\""},
        BadArguments{.name = "ListWithTests", .arguments = {"--list", "step"},
                     .reason = "--list runs no test; name tests or --list, not both"}),
    [](const testing::TestParamInfo<BadArguments>& info) { return std::string(info.param.name); });

TEST(RunnerOptions, ReadableNamesSetTheDialogsSettings) {
  RunnerOptions options;
  const char* argv[] = {"vantrel-measure", "--force", "5000", "--max-count", "7", "--step-time", "250",
                        "--repeat", "3", "--wheel-angle", "1080", "--sleep", "0", "--force-map", "0:500,10000:9000",
                        "--out", "/tmp", "--device", "1", "min-force", "step"};
  ParseResult result = ParseRunnerOptions(static_cast<int>(std::size(argv)), argv, options);
  ASSERT_TRUE(result.ok) << result.reason;
  EXPECT_EQ(options.settings.springSaturationX, 5000);
  EXPECT_EQ(options.settings.testMaxCount, 7);
  EXPECT_EQ(options.settings.stepTime, 250);
  EXPECT_EQ(options.settings.testRepeat, 3);
  EXPECT_EQ(options.settings.wheelAngle, 1080);
  EXPECT_EQ(options.settings.loopSleepMs, 0);
  ASSERT_EQ(options.settings.forceMapCount, 2);
  EXPECT_EQ(options.settings.forceMap[0].output, 500);
  EXPECT_EQ(options.settings.forceMap[1].output, 9000);
  EXPECT_EQ(options.outDir, "/tmp");
  EXPECT_EQ(options.device, "1");
  EXPECT_EQ(options.tests, (std::vector<ForceMode>{ForceMode::MinForce, ForceMode::StepTest}));
}

// Random argument lists from the words the program knows and ones it does not: those it
// refuses end with 2 and a reason; none crashes (the sanitizer build runs this too).
TEST_F(RunnerTest, RandomArgumentListsNeverCrash) {
  AttachWheel();
  const std::vector<std::string> words = {
      "--force", "--max-count", "--step-time", "--repeat", "--wheel-angle", "--sleep", "--force-map", "--out",
      "--device", "--list", "--help", "-h", "--", "-", "--force=", "--repeat=-1", "step", "linear-force",
      "linear-time", "resolution", "min-force", "all", "0", "1", "-1", "10000", "10001", "2147483648", "1e3", "0x10",
      " 5", "5 ", "", "0:0", "0:0,10000:10000", "5000:", ":", ",", "x", "\xff\xfe", "--force-map=0:0,1:1,2:2,3:3,4:4,5:5,6:6,7:7,8:8,9:9,10:10"};
  std::mt19937 random(20261211);
  int refused = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::string> arguments;
    int count = std::uniform_int_distribution<int>(0, 6)(random);
    for (int i = 0; i < count; ++i) {
      if (std::uniform_int_distribution<int>(0, 9)(random) == 0) {
        std::string noise;
        int length = std::uniform_int_distribution<int>(0, 12)(random);
        for (int j = 0; j < length; ++j) noise += static_cast<char>(std::uniform_int_distribution<int>(1, 255)(random));
        arguments.push_back(noise);
      } else {
        arguments.push_back(words[std::uniform_int_distribution<size_t>(0, words.size() - 1)(random)]);
      }
    }
    std::vector<const char*> argv{"vantrel-measure"};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    RunnerOptions options;
    ParseResult parsed = ParseRunnerOptions(static_cast<int>(argv.size()), argv.data(), options);
    // Lists that would run measurements are not run here: the parse is what is fuzzed.
    if (parsed.ok) continue;
    ++refused;
    RunnerResult result = RunRunner(arguments);
    ASSERT_EQ(result.exitCode, 2) << "round " << round;
    ASSERT_EQ(result.err.rfind("vantrel-measure: ", 0), 0u) << "round " << round;
  }
  // Most random lists are refused; the loop above did the work it claims.
  EXPECT_GT(refused, 1000);
}

}  // namespace

#include "app/runner/runner_options.h"

#include <cerrno>
#include <cstdlib>
#include <cxxopts.hpp>
#include <exception>
#include <filesystem>
#include <system_error>

namespace {

struct TestEntry {
  const char* name;
  ForceMode mode;
};
// In the order "all" runs them: the minimum-force ramp first, from a wheel at rest in the
// middle, and the resolution sweep last, since it leaves the wheel against its end stop,
// where the ramp (which pushes the same way) could never move it.
constexpr TestEntry testEntries[] = {
    {"min-force", ForceMode::MinForce},
    {"step", ForceMode::StepTest},
    {"linear-force", ForceMode::LinearForceTest},
    {"linear-time", ForceMode::LinearTimeTest},
    {"resolution", ForceMode::ResolutionTest},
};

struct IntOption {
  const char* name;
  const char* help;
  long minimum;
  long maximum;
  int32_t TestSettings::*field;
};
// The dialog's boxes under readable names, with the ranges a run can use.
constexpr IntOption intOptions[] = {
    {"force", "constant force of the tests, 1..10000 (\"Saturation X\")", 1, 10000, &TestSettings::springSaturationX},
    {"max-count", "steps of the linear tests, 1..1000 (\"Max Count\")", 1, 1000, &TestSettings::testMaxCount},
    {"step-time", "ms per pulse or step, 1..60000 (\"Step Time\")", 1, 60000, &TestSettings::stepTime},
    {"repeat", "runs of each test, 1..1000 (\"Repeat\")", 1, 1000, &TestSettings::testRepeat},
    {"wheel-angle", "degrees of the wheel's full travel, 4..3600 (\"Wheel angle\")", 4, 3600, &TestSettings::wheelAngle},
    {"sleep", "ms slept after every tick, 0..1000 (\"Sleep (ms)\")", 0, 1000, &TestSettings::loopSleepMs},
};

cxxopts::Options MakeParser() {
  cxxopts::Options parser("vantrel-measure", "Runs Vantrel's measurements on a force-feedback wheel, without the dialog.");
  parser.custom_help("[options]");
  parser.positional_help("TEST... (min-force, step, linear-force, linear-time, resolution, or all of them in this order)");
  parser.add_options()("h,help", "this text")("list", "list the devices and which have force feedback")(
      "device", "NAME or INDEX of --list (default: the first with force feedback)", cxxopts::value<std::string>())(
      "out", "folder for the logs (default: the documents folder)", cxxopts::value<std::string>())(
      "force-map", "\"in:out,...\" up to ten pairs, 0..10000, inputs rising (\"Force Map\")",
      cxxopts::value<std::string>());
  for (const IntOption& option : intOptions) parser.add_options()(option.name, option.help, cxxopts::value<std::string>());
  parser.add_options()("tests", "", cxxopts::value<std::vector<std::string>>());
  parser.parse_positional({"tests"});
  return parser;
}

// A whole decimal number, nothing before or after it.
bool ParseWhole(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == nullptr || *end != '\0' || !(text[0] == '-' || (text[0] >= '0' && text[0] <= '9'))) {
    return false;
  }
  value = parsed;
  return true;
}

// "in:out,in:out,...": at most ten pairs of 0..10000 with rising inputs. The dialog's box takes
// any text and reads what it can; a script gets told.
bool CheckForceMap(const std::string& text, std::string& reason) {
  size_t at = 0;
  int pairs = 0;
  long lastInput = -1;
  while (at <= text.size()) {
    size_t comma = text.find(',', at);
    std::string pair = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
    size_t colon = pair.find(':');
    long input = 0;
    long output = 0;
    if (colon == std::string::npos || !ParseWhole(pair.substr(0, colon), input) ||
        !ParseWhole(pair.substr(colon + 1), output)) {
      reason = "--force-map: \"" + pair + "\" is not a pair \"in:out\"";
      return false;
    }
    if (input < 0 || input > 10000 || output < 0 || output > 10000) {
      reason = "--force-map: \"" + pair + "\" lies outside 0..10000";
      return false;
    }
    if (input <= lastInput) {
      reason = "--force-map: inputs must rise (\"" + pair + "\")";
      return false;
    }
    lastInput = input;
    if (++pairs > forceMapMaxPairs) {
      reason = "--force-map: more than ten pairs";
      return false;
    }
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  return true;
}

ParseResult Fail(const std::string& reason) {
  ParseResult result;
  result.reason = reason;
  return result;
}

}  // namespace

const char* TestName(ForceMode mode) {
  for (const TestEntry& entry : testEntries) {
    if (entry.mode == mode) return entry.name;
  }
  return "?";
}

std::string RunnerUsage() { return MakeParser().help(); }

ParseResult ParseRunnerOptions(int argc, const char* const* argv, RunnerOptions& options) {
  cxxopts::Options parser = MakeParser();
  try {
    cxxopts::ParseResult parsed = parser.parse(argc, argv);
    if (parsed.count("help") > 0) {
      ParseResult result;
      result.ok = true;
      result.help = true;
      return result;
    }
    options.list = parsed.count("list") > 0;
    if (parsed.count("device") > 0) {
      options.device = parsed["device"].as<std::string>();
      if (options.device.empty()) return Fail("--device: empty name");
    }
    if (parsed.count("out") > 0) {
      options.outDir = parsed["out"].as<std::string>();
      if (options.outDir.empty()) return Fail("--out: empty folder");
      // Runs that cannot write their logs would measure for nothing.
      std::error_code error;
      if (!std::filesystem::is_directory(options.outDir, error)) return Fail("--out: no folder \"" + options.outDir + "\"");
    }
    for (const IntOption& option : intOptions) {
      if (parsed.count(option.name) == 0) continue;
      std::string text = parsed[option.name].as<std::string>();
      long value = 0;
      if (!ParseWhole(text, value)) return Fail(std::string("--") + option.name + ": \"" + text + "\" is not a whole number");
      if (value < option.minimum || value > option.maximum) {
        return Fail(std::string("--") + option.name + ": " + text + " lies outside " + std::to_string(option.minimum) +
                    ".." + std::to_string(option.maximum));
      }
      options.settings.*option.field = static_cast<int32_t>(value);
    }
    if (parsed.count("force-map") > 0) {
      std::string map = parsed["force-map"].as<std::string>();
      std::string reason;
      if (!CheckForceMap(map, reason)) return Fail(reason);
      TestSettings saved = testSettings;
      testSettings = options.settings;
      ParseForceMap(map.c_str());
      options.settings = testSettings;
      testSettings = saved;
    }
    std::vector<std::string> names;
    if (parsed.count("tests") > 0) names = parsed["tests"].as<std::vector<std::string>>();
    for (const std::string& name : names) {
      if (name == "all") {
        for (const TestEntry& entry : testEntries) options.tests.push_back(entry.mode);
        continue;
      }
      bool known = false;
      for (const TestEntry& entry : testEntries) {
        if (name == entry.name) {
          options.tests.push_back(entry.mode);
          known = true;
        }
      }
      if (!known) return Fail("unknown test \"" + name + "\"");
    }
    if (!options.list && options.tests.empty()) return Fail("no test named (or --list)");
    if (options.list && !options.tests.empty()) return Fail("--list runs no test; name tests or --list, not both");
  } catch (const std::exception& error) {
    // The library's words for an unknown option or a missing value, with plain quotes on
    // every system (it uses typographic ones outside Windows).
    std::string reason = error.what();
    for (const char* quote : {"\xE2\x80\x98", "\xE2\x80\x99"}) {
      for (size_t at = reason.find(quote); at != std::string::npos; at = reason.find(quote, at)) {
        reason.replace(at, 3, "'");
      }
    }
    return Fail(reason);
  }
  ParseResult result;
  result.ok = true;
  return result;
}

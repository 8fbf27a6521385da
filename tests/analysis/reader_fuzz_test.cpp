// Thousands of mutated logs through the whole analysis: reading, figures, force map, lookup
// table, JSON and page. Nothing may crash (the host-asan build runs this under the address and
// undefined-behaviour sanitizers), a refused file always has its reason, and every force map
// made stays one the program's box takes.
#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/analysis_page.h"
#include "analysis/analysis_scenario.h"
#include "analysis/figures_json.h"
#include "analysis/linearisation.h"
#include "analysis/log_analysis.h"
#include "analysis/log_reader.h"
#include "support/log_folder.h"

namespace analysis_test {
namespace {

constexpr int mutantsPerLog = 700;
// Long logs are cut to this many lines as seeds: the mutations matter, not the length.
constexpr size_t seedLines = 400;

std::string Cut(const std::string& text) {
  size_t at = 0;
  for (size_t line = 0; line < seedLines && at != std::string::npos; ++line) {
    at = text.find('\n', at);
    if (at != std::string::npos) ++at;
  }
  return at == std::string::npos ? text : text.substr(0, at);
}

std::string Mutated(const std::string& seed, std::mt19937& random) {
  std::string text = seed;
  const char* pieces[] = {",", ", ", "\r\n", "\n", "-", ".", "0", "9", "99999999999999999999", "nan", "inf",
                          "-2147483648", "1e308", " ", "\xEF\xBB\xBF", "\0"};
  std::uniform_int_distribution<int> kind(0, 7);
  const int edits = 1 + static_cast<int>(random() % 4);
  for (int e = 0; e < edits && !text.empty(); ++e) {
    const size_t at = random() % text.size();
    switch (kind(random)) {
      case 0: text[at] = static_cast<char>(random() % 256); break;
      case 1: text.erase(at, 1 + random() % 20); break;
      case 2: text.insert(at, pieces[random() % std::size(pieces)]); break;
      case 3: text.resize(at); break;  // cut, as by an unplug
      case 4: {  // a line repeated
        const size_t start = text.rfind('\n', at);
        const size_t end = text.find('\n', at);
        const size_t from = start == std::string::npos ? 0 : start + 1;
        text.insert(from, text.substr(from, (end == std::string::npos ? text.size() : end + 1) - from));
        break;
      }
      case 5: {  // a number replaced by a far-off one: a glitched row
        const size_t digit = text.find_first_of("0123456789", at);
        if (digit != std::string::npos) text.insert(digit, std::to_string(static_cast<int>(random() % 200000) - 100000));
        break;
      }
      case 6: text.insert(at, std::string(random() % 3000, '7')); break;
      case 7: {  // lines swapped in order
        const size_t other = random() % text.size();
        std::swap(text[at], text[other]);
        break;
      }
    }
  }
  return text;
}

void ExpectMapTheBoxTakes(const analysis::Linearisation& map) {
  ASSERT_FALSE(map.pairs.empty());
  EXPECT_LE(map.pairs.size(), 10u);
  EXPECT_EQ(map.pairs.front().input, 0);
  EXPECT_EQ(map.pairs.back().input, 10000);
  for (size_t i = 0; i < map.pairs.size(); ++i) {
    EXPECT_GE(map.pairs[i].output, 0);
    EXPECT_LE(map.pairs[i].output, 10000);
    if (i > 0) {
      EXPECT_GT(map.pairs[i].input, map.pairs[i - 1].input);
    }
  }
}

using ReaderFuzzTest = AnalysisScenario;

TEST_F(ReaderFuzzTest, MutatedLogsNeverCrashTheAnalysis) {
  std::vector<std::string> seeds;
  for (int mode : {stepMode, linearForceMode, linearTimeMode, resolutionMode, minForceMode}) {
    RunAndRead(mode, sim::WheelParameters{});
    seeds.push_back(Cut(folder->Read(folder->Files(LogPrefix(mode)).at(0))));
  }
  std::mt19937 random(20240305);
  int analysed = 0, refused = 0;
  for (const std::string& seed : seeds) {
    for (int i = 0; i < mutantsPerLog; ++i) {
      const std::string text = Mutated(seed, random);
      analysis::MeasurementLog log;
      std::string reason;
      if (!analysis::ParseLog(text, "mutant.csv", log, reason)) {
        EXPECT_EQ(reason.rfind("mutant.csv", 0), 0u) << reason;
        ++refused;
        continue;
      }
      analysis::LogAnalysis result;
      for (analysis::LinearisationMode mode : {analysis::LinearisationMode::Full, analysis::LinearisationMode::DeadZone}) {
        if (!analysis::AnalyseLog(log, mode, result, reason)) {
          EXPECT_EQ(reason.rfind("mutant.csv", 0), 0u) << reason;
          ++refused;
          continue;
        }
        ++analysed;
        if (result.linearisation) {
          ExpectMapTheBoxTakes(*result.linearisation);
          const std::string lut = analysis::LutText(*result.linearisation);
          EXPECT_EQ(std::count(lut.begin(), lut.end(), '\n'), analysis::lutLineCount);
        }
        EXPECT_FALSE(analysis::FiguresJson(result).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).empty());
        EXPECT_FALSE(analysis::MainFigures(result).empty());
        // Pages are the slowest part: every tenth analysed mutant gets one.
        if (analysed % 10 == 0) {
          EXPECT_NE(analysis::PageHtml(result).find("vantrel-data"), std::string::npos);
        }
      }
    }
  }
  std::printf("mutated logs: %d analysed, %d refused with a reason\n", analysed, refused);
  EXPECT_GT(analysed, 1000);
  EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace analysis_test

#include "analyze_cli/analyze_command.h"

#include <cxxopts.hpp>
#include <fstream>
#include <iomanip>
#include <map>
#include <memory>
#include <optional>

#include <nlohmann/json.hpp>

#include "analysis/analysis_page.h"
#include "analysis/figures_json.h"
#include "analysis/linearisation.h"
#include "analysis/log_analysis.h"
#include "analysis/numeric.h"
#include "analysis/torque_curve.h"

namespace analyze_cli {

namespace {

using namespace analysis;

struct Options {
  std::vector<std::string> files;
  bool json = false;
  bool html = true;
  std::string lut;
  LinearisationMode mode = LinearisationMode::Full;
  bool accelerationMethod = false;
};

cxxopts::Options Parser() {
  cxxopts::Options parser("vantrel-analyze",
                          "Figures, an HTML page and a linearisation for each measurement log of Vantrel.");
  parser.custom_help("[--json] [--no-html] [--lut FILE] [--mode deadzone|full] [--method motion|acceleration]");
  parser.positional_help("FILE...");
  parser.add_options()
      ("json", "one JSON object per file (one per line) instead of the table")
      ("html", "write FILE's page beside it, FILE with .html for .csv (the default)")
      ("no-html", "write no pages")
      ("lut", "write the linearisation as a lookup table of input|output lines", cxxopts::value<std::string>(), "FILE")
      ("mode", "deadzone: lift forces over the dead zone only; full: also straighten the curve",
       cxxopts::value<std::string>()->default_value("full"))
      ("method", "motion: from the one linear-force log; acceleration: from step logs at three or more "
                 "force levels",
       cxxopts::value<std::string>()->default_value("motion"))
      ("h,help", "this text")
      ("files", "", cxxopts::value<std::vector<std::string>>());
  parser.parse_positional({"files"});
  return parser;
}

// False (with a message in err) when the arguments can't be used.
bool ParseOptions(const std::vector<std::string>& arguments, Options& options, bool& help, std::ostream& out,
                  std::ostream& err) {
  cxxopts::Options parser = Parser();
  std::vector<const char*> argv{"vantrel-analyze"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  try {
    cxxopts::ParseResult result = parser.parse(static_cast<int>(argv.size()), argv.data());
    if (result.count("help")) {
      out << parser.help();
      help = true;
      return true;
    }
    if (result.count("files")) options.files = result["files"].as<std::vector<std::string>>();
    options.json = result.count("json") > 0;
    options.html = result.count("no-html") == 0;
    if (result.count("lut")) options.lut = result["lut"].as<std::string>();
    if (!ParseLinearisationMode(result["mode"].as<std::string>(), options.mode)) {
      err << "vantrel-analyze: --mode takes deadzone or full, not \"" << result["mode"].as<std::string>() << "\"\n";
      return false;
    }
    const std::string method = result["method"].as<std::string>();
    if (method != "motion" && method != "acceleration") {
      err << "vantrel-analyze: --method takes motion or acceleration, not \"" << method << "\"\n";
      return false;
    }
    options.accelerationMethod = method == "acceleration";
  } catch (const cxxopts::exceptions::exception& e) {
    err << "vantrel-analyze: " << e.what() << "\n";
    return false;
  }
  if (options.files.empty()) {
    err << "vantrel-analyze: no log named (vantrel-analyze --help)\n";
    return false;
  }
  return true;
}

void PrintTable(const LogAnalysis& a, const std::string& page, std::ostream& out) {
  out << "== " << a.log.file << " (" << KindTitle(a.log.kind) << ", " << a.log.rows() << " rows)\n";
  for (const FigureLine& line : FigureLines(a)) {
    out << "  " << std::left << std::setw(26) << line.name << line.value;
    if (!line.unit.empty()) out << " " << line.unit;
    out << "\n";
  }
  if (!page.empty()) out << "  " << std::left << std::setw(26) << "page" << page << "\n";
}

void PrintTorqueCurve(const TorqueCurve& curve, const std::optional<Linearisation>& map, std::ostream& out) {
  out << "== torque curve from the step logs' initial accelerations\n";
  out << "  " << std::left << std::setw(12) << "force" << std::setw(22) << "acceleration (rad/s^2)"
      << "share of largest\n";
  for (size_t i = 0; i < curve.points.size(); ++i) {
    out << "  " << std::left << std::setw(12) << FormatFigure(curve.points[i].force, 0) << std::setw(22)
        << FormatFigure(curve.points[i].acceleration, 1) << FormatFigure(curve.response.normalised[i], 3) << "\n";
  }
  out << "  " << std::left << std::setw(26) << "dead zone" << FormatFigure(curve.response.deadZone, 0)
      << " force units\n";
  out << "  " << std::left << std::setw(26) << "linearity error" << FormatFigure(curve.response.linearityError * 100, 1)
      << " %\n";
  if (map) out << "  " << std::left << std::setw(26) << ("force map (" + std::string(ModeName(map->mode)) + ")") << map->forceMap << "\n";
}

nlohmann::json TorqueCurveJson(const TorqueCurve& curve, const std::optional<Linearisation>& map) {
  nlohmann::json points = nlohmann::json::array();
  for (size_t i = 0; i < curve.points.size(); ++i) {
    points.push_back({{"force", curve.points[i].force},
                      {"acceleration", curve.points[i].acceleration},
                      {"normalised", curve.response.normalised[i]},
                      {"files", curve.points[i].file}});
  }
  nlohmann::json j = {{"kind", "torque-curve"}, {"points", points}};
  j["deadZone"] = IsNone(curve.response.deadZone) ? nlohmann::json(nullptr) : nlohmann::json(curve.response.deadZone);
  j["forceMap"] = map ? nlohmann::json(map->forceMap) : nlohmann::json(nullptr);
  return j;
}

}  // namespace

int RunAnalyzeCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  Options options;
  bool help = false;
  if (!ParseOptions(arguments, options, help, out, err)) return exitBadArguments;
  if (help) return exitAnalysed;

  int failed = 0;
  std::vector<std::unique_ptr<LogAnalysis>> linearForce;
  std::vector<std::pair<std::string, StepFigures>> steps;
  for (const std::string& file : options.files) {
    auto analysis = std::make_unique<LogAnalysis>();
    std::string reason;
    bool analysed = AnalyseLogFile(file, options.mode, *analysis, reason);
    std::string page;
    if (analysed && options.html) {
      page = PagePathFor(file);
      if (!WritePage(*analysis, page, reason)) analysed = false;
    }
    if (!analysed) {
      ++failed;
      err << reason << "\n";
      if (options.json) out << nlohmann::json{{"file", file}, {"kind", nullptr}, {"error", reason}}.dump() << "\n";
      continue;
    }
    if (options.json) {
      nlohmann::json j = FiguresJson(*analysis);
      if (!page.empty()) j["page"] = page;
      out << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    } else {
      PrintTable(*analysis, page, out);
    }
    if (analysis->step) steps.emplace_back(file, *analysis->step);
    if (analysis->log.kind == LogKind::LinearForce) linearForce.push_back(std::move(analysis));
  }

  // Step logs at several levels make a torque curve of their own.
  std::optional<TorqueCurve> curve;
  std::optional<Linearisation> curveMap;
  std::string curveProblem = "no step logs";
  if (!steps.empty()) {
    TorqueCurve made;
    if (TorqueCurveFromStepLogs(steps, made, curveProblem)) {
      curve = made;
      Linearisation map;
      if (Linearise(curve->response, options.mode, map, curveProblem)) curveMap = map;
    }
    if (curve) {
      if (options.json) out << TorqueCurveJson(*curve, curveMap).dump() << "\n";
      else PrintTorqueCurve(*curve, curveMap, out);
    }
  }

  if (!options.lut.empty()) {
    const Linearisation* source = nullptr;
    if (options.accelerationMethod) {
      if (!curveMap) {
        err << "vantrel-analyze: --lut: no torque curve from step logs: " << curveProblem << "\n";
        return exitNotAnalysed;
      }
      source = &*curveMap;
    } else {
      if (linearForce.size() > 1) {
        err << "vantrel-analyze: --lut takes one linear-force log, " << linearForce.size() << " were given\n";
        return exitBadArguments;
      }
      if (linearForce.empty() || !linearForce.front()->linearisation) {
        err << "vantrel-analyze: --lut: "
            << (linearForce.empty() ? "no linear-force log was analysed" : linearForce.front()->linearisationProblem)
            << "\n";
        return exitNotAnalysed;
      }
      source = &*linearForce.front()->linearisation;
    }
    std::ofstream lut(options.lut, std::ios::binary);
    lut << LutText(*source);
    lut.close();
    if (!lut) {
      err << "vantrel-analyze: " << options.lut << ": cannot be written\n";
      return exitNotAnalysed;
    }
  }
  return failed > 0 ? exitNotAnalysed : exitAnalysed;
}

}  // namespace analyze_cli

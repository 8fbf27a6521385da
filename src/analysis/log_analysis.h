// One log read and analysed: its figures by kind, and for a linear-force log its
// linearisation.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/linearisation.h"
#include "analysis/measurement_log.h"
#include "analysis/min_force_figures.h"
#include "analysis/resolution_figures.h"
#include "analysis/response_figures.h"
#include "analysis/step_figures.h"

namespace analysis {

struct LogAnalysis {
  MeasurementLog log;
  std::optional<StepFigures> step;
  std::optional<ResponseFigures> response;  // linear force or linear time
  std::optional<ResolutionFigures> resolution;
  std::optional<MinForceFigures> minForce;
  std::optional<Linearisation> linearisation;  // linear force, when the wheel moved
  std::string linearisationProblem;            // why there is none
};

// False with a one-line reason naming the file and the line.
bool AnalyseLog(MeasurementLog log, LinearisationMode mode, LogAnalysis& analysis, std::string& reason);
bool AnalyseLogFile(const std::string& path, LinearisationMode mode, LogAnalysis& analysis, std::string& reason);

// A figure as a person reads it: "dead zone", "800", "force units".
struct FigureLine {
  std::string name;
  std::string value;
  std::string unit;
};
std::vector<FigureLine> FigureLines(const LogAnalysis& analysis);

// The main figures in one short line, e.g. "linear force test: dead zone 800 force units,
// linearity error 2.1 %, no knee".
std::string MainFigures(const LogAnalysis& analysis);

// A number with `decimals` decimals, or "-" for none.
std::string FormatFigure(double value, int decimals);

}  // namespace analysis

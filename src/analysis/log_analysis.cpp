#include "analysis/log_analysis.h"

#include <cmath>
#include <cstdio>

#include "analysis/log_reader.h"
#include "analysis/numeric.h"

namespace analysis {

bool AnalyseLog(MeasurementLog log, LinearisationMode mode, LogAnalysis& analysis, std::string& reason) {
  analysis = LogAnalysis{};
  bool analysed = false;
  switch (log.kind) {
    case LogKind::Step:
      analysed = AnalyseStepLog(log, analysis.step.emplace(), reason);
      break;
    case LogKind::LinearForce:
      analysed = AnalyseLinearForceLog(log, analysis.response.emplace(), reason);
      if (analysed) {
        Linearisation linearisation;
        if (Linearise(*analysis.response, mode, linearisation, analysis.linearisationProblem)) {
          analysis.linearisation = linearisation;
        }
      }
      break;
    case LogKind::LinearTime:
      analysed = AnalyseLinearTimeLog(log, analysis.response.emplace(), reason);
      break;
    case LogKind::Resolution:
      analysed = AnalyseResolutionLog(log, analysis.resolution.emplace(), reason);
      break;
    case LogKind::MinForce:
      analysed = AnalyseMinForceLog(log, analysis.minForce.emplace(), reason);
      break;
  }
  analysis.log = std::move(log);
  return analysed;
}

bool AnalyseLogFile(const std::string& path, LinearisationMode mode, LogAnalysis& analysis, std::string& reason) {
  MeasurementLog log;
  if (!ReadLogFile(path, log, reason)) return false;
  return AnalyseLog(std::move(log), mode, analysis, reason);
}

std::string FormatFigure(double value, int decimals) {
  if (IsNone(value)) return "-";
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

namespace {

void StepLines(const StepFigures& f, std::vector<FigureLine>& lines) {
  if (const ForceStep* pulse = f.FirstPulse()) {
    lines.push_back({"pulse force", FormatFigure(std::abs(pulse->force), 0), "force units"});
    lines.push_back({"latency", FormatFigure(pulse->latencyMs, 1), "ms"});
    lines.push_back({"first move", FormatFigure(pulse->firstMoveMs, 0), "ms"});
    lines.push_back({"initial acceleration", FormatFigure(pulse->initialAcceleration, 1), "rad/s^2"});
  }
  double peak = 0.0;
  for (const ForceStep& step : f.steps) peak = std::max(peak, step.peakSpeed);
  lines.push_back({"peak speed", FormatFigure(peak, 0), "deg/s"});
  if (const ForceStep* reversal = f.FirstReversal()) {
    lines.push_back({"reversal time", FormatFigure(reversal->reversalMs, 1), "ms"});
    lines.push_back({"reversal latency", FormatFigure(reversal->latencyMs, 1), "ms"});
  }
  lines.push_back({"sensor noise", FormatFigure(f.noiseRaw, 0), "raw"});
}

void ResponseLines(const ResponseFigures& f, bool force, std::vector<FigureLine>& lines) {
  const char* unit = f.levelUnit;
  lines.push_back({"steps", std::to_string(f.points.size()), ""});
  lines.push_back({"dead zone", FormatFigure(f.deadZone, 0), unit});
  if (force && !IsNone(f.deadZone)) lines.push_back({"dead zone share", FormatFigure(f.deadZone / 100.0, 1), "%"});
  lines.push_back({"full response", FormatFigure(f.maxResponse, 1), "deg"});
  lines.push_back({"linearity error", FormatFigure(f.linearityError * 100.0, 1), "%"});
  lines.push_back({"largest at", FormatFigure(f.linearityErrorAt, 0), unit});
  lines.push_back({"knee", IsNone(f.knee) ? "none" : FormatFigure(f.knee, 0), IsNone(f.knee) ? "" : unit});
  if (f.outliers > 0) lines.push_back({"outlier rows left out", std::to_string(f.outliers), ""});
}

}  // namespace

std::vector<FigureLine> FigureLines(const LogAnalysis& a) {
  std::vector<FigureLine> lines;
  if (a.step) StepLines(*a.step, lines);
  if (a.response) ResponseLines(*a.response, a.log.kind == LogKind::LinearForce, lines);
  if (a.linearisation) {
    lines.push_back({"force map (" + std::string(ModeName(a.linearisation->mode)) + ")", a.linearisation->forceMap, ""});
  } else if (a.log.kind == LogKind::LinearForce) {
    lines.push_back({"force map", "none: " + a.linearisationProblem, ""});
  }
  if (a.resolution) {
    const ResolutionFigures& f = *a.resolution;
    lines.push_back({"smallest step", FormatFigure(f.stepDegrees, 4), "deg"});
    lines.push_back({"smallest step", FormatFigure(f.stepRaw, 2), "raw"});
    lines.push_back({"counts per revolution", FormatFigure(f.countsPerRevolution, 0), ""});
    lines.push_back({"distinct readings", std::to_string(f.distinctReadings), ""});
    lines.push_back({"swept", FormatFigure(f.sweptDegrees, 1), "deg"});
  }
  if (a.minForce) {
    const MinForceFigures& f = *a.minForce;
    lines.push_back({"break-away", FormatFigure(f.breakAway, 0), "force units"});
    lines.push_back({"break-away share", FormatFigure(f.breakAway / 100.0, 1), "%"});
    lines.push_back({"largest force held", FormatFigure(f.largestHeld, 0), "force units"});
    lines.push_back({"sensor noise", FormatFigure(f.noiseRaw, 0), "raw"});
  }
  for (const std::string& note : a.log.notes) lines.push_back({"note", note, ""});
  return lines;
}

std::string MainFigures(const LogAnalysis& a) {
  std::string text = KindTitle(a.log.kind);
  text += ": ";
  if (a.step) {
    const ForceStep* pulse = a.step->FirstPulse();
    double peak = 0.0;
    for (const ForceStep& step : a.step->steps) peak = std::max(peak, step.peakSpeed);
    text += "latency " + FormatFigure(pulse->latencyMs, 1) + " ms, initial acceleration " +
            FormatFigure(pulse->initialAcceleration, 1) + " rad/s^2, peak speed " + FormatFigure(peak, 0) + " deg/s";
    if (const ForceStep* reversal = a.step->FirstReversal()) {
      text += ", reversal " + FormatFigure(reversal->reversalMs, 1) + " ms";
    }
  } else if (a.response) {
    const ResponseFigures& f = *a.response;
    text += "dead zone " + FormatFigure(f.deadZone, 0) + " " + f.levelUnit + ", linearity error " +
            FormatFigure(f.linearityError * 100.0, 1) + " %, " +
            (IsNone(f.knee) ? std::string("no knee") : "knee at " + FormatFigure(f.knee, 0) + " " + f.levelUnit);
    if (a.linearisation) text += ", force map " + a.linearisation->forceMap;
  } else if (a.resolution) {
    text += "smallest step " + FormatFigure(a.resolution->stepDegrees, 4) + " deg (" +
            FormatFigure(a.resolution->countsPerRevolution, 0) + " counts per revolution)";
  } else if (a.minForce) {
    text += "break-away at " + FormatFigure(a.minForce->breakAway, 0) + " force units, largest held " +
            FormatFigure(a.minForce->largestHeld, 0);
  }
  return text;
}

}  // namespace analysis

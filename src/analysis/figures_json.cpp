#include "analysis/figures_json.h"

#include "analysis/numeric.h"

namespace analysis {

namespace {

nlohmann::json Number(double value) { return IsNone(value) ? nlohmann::json(nullptr) : nlohmann::json(value); }

nlohmann::json StepJson(const StepFigures& f) {
  nlohmann::json steps = nlohmann::json::array();
  for (const ForceStep& s : f.steps) {
    steps.push_back({{"force", s.force},
                     {"startMs", s.startMs},
                     {"endMs", s.endMs},
                     {"moved", s.moved},
                     {"latencyMs", Number(s.latencyMs)},
                     {"firstMoveMs", Number(s.firstMoveMs)},
                     {"initialAcceleration", Number(s.initialAcceleration)},
                     {"peakSpeed", Number(s.peakSpeed)},
                     {"reversalMs", Number(s.reversalMs)}});
  }
  nlohmann::json j = {{"noiseRaw", f.noiseRaw}, {"steps", steps}};
  const ForceStep* pulse = f.FirstPulse();
  j["latencyMs"] = Number(pulse->latencyMs);
  j["initialAcceleration"] = Number(pulse->initialAcceleration);
  double peak = 0.0;
  for (const ForceStep& s : f.steps) peak = std::max(peak, s.peakSpeed);
  j["peakSpeed"] = peak;
  const ForceStep* reversal = f.FirstReversal();
  j["reversalMs"] = reversal ? Number(reversal->reversalMs) : nlohmann::json(nullptr);
  return j;
}

nlohmann::json ResponseJson(const ResponseFigures& f) {
  return {{"levelUnit", f.levelUnit},
          {"steps", f.points.size()},
          {"deadZone", Number(f.deadZone)},
          {"holdLevel", f.holdLevel},
          {"fullLevel", f.fullLevel},
          {"maxResponse", f.maxResponse},
          {"linearityError", Number(f.linearityError)},
          {"linearityErrorAt", Number(f.linearityErrorAt)},
          {"knee", Number(f.knee)},
          {"outliers", f.outliers}};
}

}  // namespace

nlohmann::json FiguresJson(const LogAnalysis& a) {
  nlohmann::json j = {{"file", a.log.file}, {"kind", KindName(a.log.kind)}, {"rows", a.log.rows()}};
  j["notes"] = a.log.notes;
  if (a.step) j["figures"] = StepJson(*a.step);
  if (a.response) {
    j["figures"] = ResponseJson(*a.response);
    if (a.log.kind == LogKind::LinearForce) j["deadZone"] = Number(a.response->deadZone);
  }
  if (a.log.kind == LogKind::LinearForce) {
    if (a.linearisation) {
      j["forceMap"] = a.linearisation->forceMap;
      j["forceMapMode"] = ModeName(a.linearisation->mode);
    } else {
      j["forceMap"] = nullptr;
      j["forceMapProblem"] = a.linearisationProblem;
    }
  }
  if (a.resolution) {
    const ResolutionFigures& f = *a.resolution;
    j["figures"] = {{"stepRaw", f.stepRaw},
                    {"stepDegrees", f.stepDegrees},
                    {"countsPerRevolution", f.countsPerRevolution},
                    {"degreesPerRaw", f.degreesPerRaw},
                    {"smallestChangeRaw", f.smallestChangeRaw},
                    {"distinctReadings", f.distinctReadings},
                    {"sweptDegrees", f.sweptDegrees}};
  }
  if (a.minForce) {
    const MinForceFigures& f = *a.minForce;
    j["figures"] = {{"breakAway", Number(f.breakAway)},
                    {"largestHeld", Number(f.largestHeld)},
                    {"noiseRaw", f.noiseRaw},
                    {"levels", f.levels.size()}};
  }
  return j;
}

}  // namespace analysis

// Figures of the linear force and linear time tests: how far the wheel turns for each level
// (a force held for a fixed time, or full force held for a growing time).
#pragma once

#include <string>
#include <vector>

#include "analysis/measurement_log.h"

namespace analysis {

// A level's response that differs from what its neighbours say by more than this share of the
// full response, while they agree with each other, is a glitch (a start position read wrong).
inline constexpr double outlierShare = 0.10;
// The knee: from there on the response grows at less than this share of its average rate.
inline constexpr double kneeSlopeShare = 0.25;

struct ResponsePoint {
  double level = 0.0;     // force units, or ms
  double response = 0.0;  // degrees turned, along the force
  bool outlier = false;   // left out of every figure
  bool moves = false;     // beyond a count's jitter
  int line = 0;           // in the log
};

struct ResponseFigures {
  const char* levelUnit = "force units";
  std::vector<ResponsePoint> points;  // in order of level; the log's "0, 0, 0, 0, 0" row is not one
  double jitterDegrees = 0.0;  // a response up to this is an encoder count's jitter, not motion
  // The lowest level from which on every level moves; none when the wheel never moves for good.
  double deadZone;
  // The highest level below the dead zone (0 when the first level moves already).
  double holdLevel = 0.0;
  double fullLevel = 0.0;     // the highest level
  double maxResponse = 0.0;   // degrees
  std::vector<double> normalised;  // response / maxResponse, per point
  // The largest distance of the normalised response from the straight line that runs from
  // (deadZone, 0) to (fullLevel, its normalised response), as a share of the full response;
  // and the level where it is largest.
  double linearityError;
  double linearityErrorAt;
  // Where the response stops growing; none when it grows to the end.
  double knee;
  int outliers = 0;
};

// From points already read; points must have level > 0. False with a reason when no point is
// left.
bool AnalyseResponse(std::vector<ResponsePoint> points, const std::string& where, ResponseFigures& figures,
                     std::string& reason);
bool AnalyseLinearForceLog(const MeasurementLog& log, ResponseFigures& figures, std::string& reason);
bool AnalyseLinearTimeLog(const MeasurementLog& log, ResponseFigures& figures, std::string& reason);

// The normalised response at a level, read off the clean points (0 up to the hold level).
double ResponseAt(const ResponseFigures& figures, double level);

}  // namespace analysis

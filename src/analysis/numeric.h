// Small numeric tools the figures share.
#pragma once

#include <limits>
#include <optional>
#include <span>
#include <vector>

namespace analysis {

// y = c0 + c1 x + c2 x^2, least squares.
struct Quadratic {
  double c0 = 0.0;
  double c1 = 0.0;
  double c2 = 0.0;
  double At(double x) const { return c0 + (c1 + c2 * x) * x; }
  double SlopeAt(double x) const { return c1 + 2.0 * c2 * x; }
};

// Nothing when there are fewer than three points or all x are (nearly) equal.
std::optional<Quadratic> FitQuadratic(std::span<const double> x, std::span<const double> y);

// The median of the values (the mean of the middle two for an even count); 0 when empty.
double Median(std::vector<double> values);

// The non-decreasing sequence nearest to y in least squares (pool adjacent violators).
std::vector<double> IsotonicIncreasing(std::span<const double> y);

// Linear interpolation in a table of increasing x, held at the ends.
double Interpolate(std::span<const double> x, std::span<const double> y, double at);

// "Not a number": a figure that could not be measured.
inline constexpr double none = std::numeric_limits<double>::quiet_NaN();
bool IsNone(double value);

}  // namespace analysis

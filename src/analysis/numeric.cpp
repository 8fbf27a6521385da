#include "analysis/numeric.h"

#include <algorithm>
#include <cmath>

namespace analysis {

std::optional<Quadratic> FitQuadratic(std::span<const double> x, std::span<const double> y) {
  const size_t n = std::min(x.size(), y.size());
  if (n < 3) return std::nullopt;
  // Centred and scaled x keeps the normal equations well conditioned.
  double mean = 0.0;
  for (size_t i = 0; i < n; ++i) mean += x[i];
  mean /= static_cast<double>(n);
  double scale = 0.0;
  for (size_t i = 0; i < n; ++i) scale = std::max(scale, std::abs(x[i] - mean));
  if (!(scale > 1e-12)) return std::nullopt;
  double s[5] = {0, 0, 0, 0, 0};
  double t[3] = {0, 0, 0};
  for (size_t i = 0; i < n; ++i) {
    const double u = (x[i] - mean) / scale;
    double power = 1.0;
    for (int k = 0; k < 5; ++k) {
      s[k] += power;
      if (k < 3) t[k] += power * y[i];
      power *= u;
    }
  }
  // Solve [s0 s1 s2; s1 s2 s3; s2 s3 s4] a = t by Cramer's rule.
  auto det3 = [](double a, double b, double c, double d, double e, double f, double g, double h, double i) {
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
  };
  const double d = det3(s[0], s[1], s[2], s[1], s[2], s[3], s[2], s[3], s[4]);
  if (!(std::abs(d) > 1e-12)) return std::nullopt;
  const double a0 = det3(t[0], s[1], s[2], t[1], s[2], s[3], t[2], s[3], s[4]) / d;
  const double a1 = det3(s[0], t[0], s[2], s[1], t[1], s[3], s[2], t[2], s[4]) / d;
  const double a2 = det3(s[0], s[1], t[0], s[1], s[2], t[1], s[2], s[3], t[2]) / d;
  // Back to x: u = (x - mean) / scale.
  Quadratic q;
  q.c2 = a2 / (scale * scale);
  q.c1 = a1 / scale - 2.0 * q.c2 * mean;
  q.c0 = a0 - a1 * mean / scale + q.c2 * mean * mean;
  return q;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  const size_t middle = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<long>(middle), values.end());
  double upper = values[middle];
  if (values.size() % 2 == 1) return upper;
  double lower = *std::max_element(values.begin(), values.begin() + static_cast<long>(middle));
  return (lower + upper) / 2.0;
}

std::vector<double> IsotonicIncreasing(std::span<const double> y) {
  struct Block {
    double sum;
    double count;
  };
  std::vector<Block> blocks;
  for (double value : y) {
    blocks.push_back({value, 1.0});
    while (blocks.size() > 1) {
      Block& last = blocks.back();
      Block& before = blocks[blocks.size() - 2];
      if (before.sum / before.count <= last.sum / last.count) break;
      before.sum += last.sum;
      before.count += last.count;
      blocks.pop_back();
    }
  }
  std::vector<double> result;
  result.reserve(y.size());
  for (const Block& block : blocks) result.insert(result.end(), static_cast<size_t>(block.count), block.sum / block.count);
  return result;
}

double Interpolate(std::span<const double> x, std::span<const double> y, double at) {
  const size_t n = std::min(x.size(), y.size());
  if (n == 0) return none;
  if (at <= x[0]) return y[0];
  if (at >= x[n - 1]) return y[n - 1];
  size_t upper = static_cast<size_t>(std::upper_bound(x.begin(), x.begin() + static_cast<long>(n), at) - x.begin());
  const size_t lower = upper - 1;
  const double span = x[upper] - x[lower];
  if (!(span > 0.0)) return y[upper];
  return y[lower] + (y[upper] - y[lower]) * (at - x[lower]) / span;
}

bool IsNone(double value) { return std::isnan(value); }

}  // namespace analysis

#include "sim/noise_source.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

// SplitMix64's published first outputs for seed 0.
TEST(NoiseSourceTest, IsSplitMix64) {
  sim::NoiseSource noise(0);
  EXPECT_EQ(noise.NextBits(), 0xE220A8397B1DCDAFull);
  EXPECT_EQ(noise.NextBits(), 0x6E789E6AA1B965F4ull);
  EXPECT_EQ(noise.NextBits(), 0x06C45D188009454Full);
}

TEST(NoiseSourceTest, NormalDrawsHaveUnitSpreadAndStayBounded) {
  sim::NoiseSource noise(12345);
  const int n = 200000;
  double sum = 0.0;
  double squares = 0.0;
  double fourth = 0.0;
  for (int i = 0; i < n; ++i) {
    const double x = noise.NextStandardNormal();
    ASSERT_LE(std::abs(x), 6.0);
    sum += x;
    squares += x * x;
    fourth += x * x * x * x;
  }
  const double mean = sum / n;
  const double variance = squares / n - mean * mean;
  EXPECT_NEAR(mean, 0.0, 0.01);
  EXPECT_NEAR(variance, 1.0, 0.01);
  // A normal variable's fourth moment is 3; the twelve-uniform sum's is 2.9.
  EXPECT_NEAR(fourth / n, 2.9, 0.05);
}

TEST(NoiseSourceTest, UniformDrawsFillTheUnitInterval) {
  sim::NoiseSource noise(7);
  int buckets[10] = {};
  for (int i = 0; i < 100000; ++i) {
    const double u = noise.NextUniform();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
    ++buckets[static_cast<int>(u * 10)];
  }
  for (const int b : buckets) EXPECT_NEAR(b, 10000, 400);
}

}  // namespace

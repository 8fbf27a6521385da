// What the host reads: encoder counts, sensor noise and the logical axis.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <ostream>
#include <vector>

#include <gtest/gtest.h>

#include "sim/virtual_wheel.h"
#include "support/case_name.h"
#include "wheel_test_support.h"

namespace {

using sim::VirtualWheel;
using sim::WheelParameters;
using simtest::FreeWheel;
using simtest::RecordError;

constexpr double step4096 = 2.0 * std::numbers::pi / 4096.0;

// Sweeping slowly across the centre, the count moves one count at a time and always reads
// the step the angle lies in, rounded toward negative infinity.
TEST(EncoderTest, QuantisesTheAngleInStepsOfOneCount) {
  VirtualWheel wheel(FreeWheel());
  ASSERT_DOUBLE_EQ(wheel.EncoderStep(), step4096);
  wheel.Reset(-0.3, 0.5);
  int64_t previous = wheel.EncoderCount();
  const int64_t first = previous;
  int changes = 0;
  while (wheel.Angle() < 0.3) {
    wheel.Advance(wheel.Parameters().subStepSeconds);
    const int64_t count = wheel.EncoderCount();
    ASSERT_EQ(count, static_cast<int64_t>(std::floor(wheel.Angle() / step4096)));
    ASSERT_TRUE(count == previous || count == previous + 1) << previous << " -> " << count;
    const double measured = wheel.MeasuredAngle();
    ASSERT_EQ(measured, static_cast<double>(count) * wheel.EncoderStep());
    ASSERT_LE(measured, wheel.Angle() + 1e-12);
    ASSERT_GT(measured + step4096, wheel.Angle());
    changes += count != previous;
    previous = count;
  }
  EXPECT_EQ(changes, previous - first);
  EXPECT_GE(changes, static_cast<int>(0.6 / step4096) - 1);
}

TEST(EncoderTest, RoundsTowardNegativeInfinity) {
  struct Case {
    double angle;
    int64_t count;
  };
  VirtualWheel wheel(FreeWheel());
  for (const Case& c : {Case{0.0, 0}, Case{1e-9, 0}, Case{-1e-9, -1},
                        Case{0.999 * step4096, 0}, Case{1.001 * step4096, 1},
                        Case{-0.999 * step4096, -1}, Case{-1.001 * step4096, -2},
                        Case{1000.5 * step4096, 1000}, Case{-1000.5 * step4096, -1001}}) {
    wheel.Reset(c.angle);
    EXPECT_EQ(wheel.EncoderCount(), c.count) << c.angle;
  }
}

TEST(EncoderTest, ResolutionIsAParameter) {
  WheelParameters p = FreeWheel();
  p.encoderCountsPerRevolution = 360;  // one degree per count
  VirtualWheel wheel(p);
  wheel.Reset(sim::DegreesToRadians(10.5));
  EXPECT_EQ(wheel.EncoderCount(), 10);
  EXPECT_NEAR(wheel.MeasuredAngle(), sim::DegreesToRadians(10.0), 1e-12);
  wheel.Reset(sim::DegreesToRadians(-10.5));
  EXPECT_EQ(wheel.EncoderCount(), -11);
}

// --- Noise -----------------------------------------------------------------------------

std::vector<int64_t> CountsAtRest(const WheelParameters& p, double angle, int samples) {
  VirtualWheel wheel(p);
  wheel.Reset(angle);
  std::vector<int64_t> counts;
  for (int i = 0; i < samples; ++i) {
    wheel.Advance(p.subStepSeconds);
    counts.push_back(wheel.EncoderCount());
  }
  return counts;
}

// At rest in the middle of count 100, noise of sigma counts spreads the reading around 100
// with the noise's spread plus the quantiser's (1/12 count^2).
TEST(EncoderNoiseTest, HasTheSetStandardDeviation) {
  for (const double sigma : {0.5, 1.5, 4.0}) {
    WheelParameters p;  // default friction keeps the rim still
    p.autoCenterEnabled = false;
    p.encoderNoiseCounts = sigma;
    const std::vector<int64_t> counts = CountsAtRest(p, 100.5 * step4096, 40000);
    double sum = 0.0;
    double squares = 0.0;
    for (const int64_t c : counts) {
      sum += static_cast<double>(c);
      squares += static_cast<double>(c) * static_cast<double>(c);
    }
    const double mean = sum / counts.size();
    const double deviation = std::sqrt(squares / counts.size() - mean * mean);
    const double expected = std::sqrt(sigma * sigma + 1.0 / 12.0);
    const double error = std::abs(deviation - expected) / expected;
    RecordError("deviation_relative_error_sigma_" + std::to_string(sigma), error);
    EXPECT_NEAR(mean, 100.0, 0.05) << "sigma " << sigma;
    EXPECT_LT(error, 0.03) << "sigma " << sigma << ": deviation " << deviation;
  }
}

TEST(EncoderNoiseTest, SameSeedSameReadingsAndTheRimIsUntouched) {
  WheelParameters p;
  p.encoderNoiseCounts = 2.0;
  const double angle = 0.2;
  const std::vector<int64_t> first = CountsAtRest(p, angle, 2000);
  EXPECT_EQ(CountsAtRest(p, angle, 2000), first);

  WheelParameters other = p;
  other.noiseSeed = p.noiseSeed + 1;
  EXPECT_NE(CountsAtRest(other, angle, 2000), first);

  // Reset starts the sequence over.
  VirtualWheel wheel(p);
  wheel.Reset(angle);
  wheel.Advance(0.05);
  wheel.Reset(angle);
  wheel.Advance(p.subStepSeconds);
  EXPECT_EQ(wheel.EncoderCount(), first[0]);

  // Noise is in the sensor only: the same push moves a noisy and a quiet rim alike.
  WheelParameters quiet = p;
  quiet.encoderNoiseCounts = 0.0;
  VirtualWheel noisy(p);
  VirtualWheel calm(quiet);
  noisy.SetHandTorque(0.5);
  calm.SetHandTorque(0.5);
  noisy.Advance(0.7);
  calm.Advance(0.7);
  EXPECT_EQ(noisy.Angle(), calm.Angle());
  EXPECT_EQ(calm.EncoderCount(), static_cast<int64_t>(std::floor(calm.Angle() / step4096)));
}

// --- Logical axis ----------------------------------------------------------------------

struct AxisCase {
  const char* what;
  double counts;  // wheel angle in encoder steps
  int32_t logicalMin;
  int32_t logicalMax;
  int32_t value;
};

void PrintTo(const AxisCase& c, std::ostream* out) { *out << c.what; }

class AxisValueTest : public testing::TestWithParam<AxisCase> {};

// 900 degrees are 10240 counts, so +-half range is +-5120.
TEST_P(AxisValueTest, MapsTheMeasuredAngleLinearlyAndRoundsDown) {
  const AxisCase& c = GetParam();
  VirtualWheel wheel(FreeWheel());
  wheel.Reset(c.counts * step4096);
  EXPECT_EQ(wheel.AxisValue(c.logicalMin, c.logicalMax), c.value) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AxisValueTest,
    testing::Values(AxisCase{"left stop", -5120.0, 0, 65535, 0},
                    AxisCase{"right stop", 5120.0, 0, 65535, 65535},
                    AxisCase{"centre", 0.0, 0, 65535, 32767},
                    AxisCase{"centre, signed axis", 0.0, -32768, 32767, -1},
                    AxisCase{"centre, symmetric axis", 0.0, -10000, 10000, 0},
                    AxisCase{"three quarters", 2560.5, 0, 65535, 49151},
                    AxisCase{"half right, symmetric", 2560.5, -10000, 10000, 5000},
                    AxisCase{"half left, symmetric", -2559.5, -10000, 10000, -5000},
                    AxisCase{"one count short of the stop", 5119.5, 0, 65535, 65528},
                    AxisCase{"left stop, inverted axis", -5120.0, 65535, 0, 65535},
                    AxisCase{"right stop, inverted axis", 5120.0, 65535, 0, 0},
                    AxisCase{"centre, inverted axis", 0.0, 65535, 0, 32767},
                    AxisCase{"left stop, full int32 range", -5120.0, INT32_MIN, INT32_MAX,
                             INT32_MIN},
                    AxisCase{"right stop, full int32 range", 5120.0, INT32_MIN, INT32_MAX,
                             INT32_MAX}),
    test_support::NamedByWhat());

TEST(AxisNoiseTest, NoiseAtTheStopStaysInsideTheAxis) {
  WheelParameters p;
  p.encoderNoiseCounts = 20.0;
  VirtualWheel wheel(p);
  wheel.SetHandTorque(10.0);
  wheel.Advance(0.5);
  int32_t highest = 0;
  for (int i = 0; i < 2000; ++i) {
    wheel.Advance(p.subStepSeconds);
    const int32_t value = wheel.AxisValue(0, 1023);
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 1023);
    highest = std::max(highest, value);
  }
  EXPECT_EQ(highest, 1023);
}

}  // namespace

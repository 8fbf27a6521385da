// The driver's own pow() against the C library's, over what the wheel's torque curve asks of it
// (fractions 0..1 to exponents 0.2..5) and beyond.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "pid_wheel/kernel_math.h"

namespace {

// exp(y ln x) carries ln x's rounding times y into the result: the tolerance grows with |y|.
TEST(KernelMath, PowMatchesTheLibraryToAFewUlps) {
  for (double base : {1e-300, 1e-12, 0.001, 0.0123, 0.1, 0.25, 0.5, 0.7071, 0.9, 0.999999, 1.5, 2.0, 10.0, 1e10}) {
    for (double exponent : {0.2, 0.5, 0.6, 1.0, 1.6, 1.8, 2.0, 3.3, 5.0, -1.0, -2.5}) {
      double expected = std::pow(base, exponent);
      if (!std::isfinite(expected) || expected == 0.0) continue;
      double y = std::abs(exponent * std::log(base));
      EXPECT_NEAR(pid_wheel::Pow(base, exponent), expected, std::abs(expected) * 4e-16 * (8.0 + 8.0 * y))
          << base << " ^ " << exponent;
    }
  }
}

TEST(KernelMath, PowAtTheEdges) {
  EXPECT_EQ(pid_wheel::Pow(0.0, 1.6), 0.0);
  EXPECT_EQ(pid_wheel::Pow(0.37, 0.0), 1.0);
  EXPECT_EQ(pid_wheel::Pow(1.0, 7.5), 1.0);
  EXPECT_TRUE(std::isnan(pid_wheel::Pow(-0.5, 1.6)));
  EXPECT_EQ(pid_wheel::Pow(1e-300, 5.0), 0.0);  // below the smallest double
  EXPECT_EQ(pid_wheel::Pow(0.0, -1.0), std::numeric_limits<double>::infinity());
  // A subnormal base is still read right.
  EXPECT_NEAR(pid_wheel::Pow(4e-320, 0.5), std::sqrt(4e-320), 1e-170);
}

}  // namespace

// pow() for code that links no C runtime: the HID wheel's driver runs the simulated wheel in
// the kernel, which exports no maths library, and the wheel's torque curve raises a fraction
// to a power. Plain arithmetic on the double's bits; the host tests hold it against std::pow.
#pragma once

#include <cstdint>
#include <cstring>

namespace pid_wheel {

namespace math_detail {

inline constexpr double ln2 = 0.69314718055994530942;

inline uint64_t Bits(double x) {
  uint64_t bits;
  std::memcpy(&bits, &x, sizeof(bits));
  return bits;
}

inline double FromBits(uint64_t bits) {
  double x;
  std::memcpy(&x, &bits, sizeof(x));
  return x;
}

// ln(x) for a finite x > 0.
inline double Log(double x) {
  int exponent = 0;
  // Subnormals first become normal numbers.
  if (x < 0x1p-1022) {
    x *= 0x1p54;
    exponent -= 54;
  }
  uint64_t bits = Bits(x);
  exponent += static_cast<int>((bits >> 52) & 0x7FF) - 1023;
  double m = FromBits((bits & 0x000FFFFFFFFFFFFFull) | 0x3FF0000000000000ull);  // 1 <= m < 2
  if (m > 1.4142135623730951) {
    m *= 0.5;
    ++exponent;
  }
  // ln(m) = 2 atanh(s), s = (m - 1) / (m + 1), |s| < 0.172.
  double s = (m - 1.0) / (m + 1.0);
  double s2 = s * s;
  double term = s;
  double sum = 0.0;
  for (int k = 1; k < 40; k += 2) {
    sum += term / k;
    term *= s2;
  }
  return exponent * ln2 + 2.0 * sum;
}

// e^y for a finite y; 0 below the smallest normal result, +infinity above the largest.
inline double Exp(double y) {
  if (y < -708.0) return 0.0;
  if (y > 709.0) return FromBits(0x7FF0000000000000ull);
  double nearest = y / ln2;
  int n = static_cast<int>(nearest < 0 ? nearest - 0.5 : nearest + 0.5);
  double r = y - n * ln2;  // |r| <= ln2 / 2
  double term = 1.0;
  double sum = 1.0;
  for (int k = 1; k < 30; ++k) {
    term *= r / k;
    sum += term;
  }
  // Times 2^n, in two halves so that neither leaves the range of a normal double.
  int half = n / 2;
  double first = FromBits(static_cast<uint64_t>(half + 1023) << 52);
  double second = FromBits(static_cast<uint64_t>(n - half + 1023) << 52);
  return sum * first * second;
}

}  // namespace math_detail

// base^exponent for base >= 0 (what the wheel needs); 1 for exponent 0, 0 for base 0 with a
// positive exponent, NaN for a negative base.
inline double Pow(double base, double exponent) {
  if (exponent == 0.0) return 1.0;
  if (base == 0.0) return exponent > 0.0 ? 0.0 : math_detail::FromBits(0x7FF0000000000000ull);
  if (!(base > 0.0)) return math_detail::FromBits(0x7FF8000000000000ull);
  if (base == 1.0) return 1.0;
  return math_detail::Exp(exponent * math_detail::Log(base));
}

}  // namespace pid_wheel

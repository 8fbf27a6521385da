// Seeded pseudo-random numbers for sensor noise: the same seed gives the same sequence on
// every compiler and platform, since only integer and basic floating-point arithmetic is used.
#pragma once

#include <cstdint>

namespace sim {

class NoiseSource {
 public:
  explicit NoiseSource(uint64_t seed = 0) : state_(seed) {}

  // SplitMix64.
  uint64_t NextBits();
  // Uniform in [0, 1), 53 bits.
  double NextUniform();
  // Mean 0, standard deviation 1: the sum of twelve uniforms less six. Close to normal
  // within the +-6 it is bounded by, and free of log/cos whose last bits differ between
  // C libraries.
  double NextStandardNormal();

 private:
  uint64_t state_;
};

}  // namespace sim

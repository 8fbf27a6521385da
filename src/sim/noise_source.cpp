#include "sim/noise_source.h"

namespace sim {

uint64_t NoiseSource::NextBits() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double NoiseSource::NextUniform() {
  return static_cast<double>(NextBits() >> 11) * 0x1.0p-53;
}

double NoiseSource::NextStandardNormal() {
  double sum = 0.0;
  for (int i = 0; i < 12; ++i) sum += NextUniform();
  return sum - 6.0;
}

}  // namespace sim

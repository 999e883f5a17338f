#pragma once
// Deterministic noise for the sample sheet: the same picture on every run and every machine with the
// same fonts and JPEG library. Nothing here draws from a global random state.

#include <cstdint>

namespace sample_sheet {

// A well-mixed 32-bit hash of a lattice point and a seed.
std::uint32_t Hash(int x, int y, std::uint32_t seed);

// Uniform in [0, 1) from the hash.
double Lattice(int x, int y, std::uint32_t seed);

// Smooth value noise in [0, 1]: lattice values at whole coordinates, quintic interpolation between
// them, so the field and its slope are continuous and contour lines drawn from it stay smooth.
double ValueNoise(double x, double y, std::uint32_t seed);

// Octaves of ValueNoise, each of twice the frequency and half the weight; in [0, 1].
double Fractal(double x, double y, std::uint32_t seed, int octaves);

// A small sequential generator (SplitMix64) for placing things: seeded once, drawn in a fixed order.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  double uniform(double low, double high);  // [low, high)

 private:
  std::uint64_t state_;
};

}  // namespace sample_sheet

#include "noise.h"

#include <cmath>

namespace sample_sheet {

std::uint32_t Hash(int x, int y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9E3779B1u;
  h ^= static_cast<std::uint32_t>(x) * 0x85EBCA77u;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE3Du;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double Lattice(int x, int y, std::uint32_t seed) { return Hash(x, y, seed) / 4294967296.0; }

namespace {
double Quintic(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }
double Mix(double a, double b, double t) { return a + (b - a) * t; }
}  // namespace

double ValueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const int ix = static_cast<int>(fx);
  const int iy = static_cast<int>(fy);
  const double tx = Quintic(x - fx);
  const double ty = Quintic(y - fy);
  const double top = Mix(Lattice(ix, iy, seed), Lattice(ix + 1, iy, seed), tx);
  const double bottom = Mix(Lattice(ix, iy + 1, seed), Lattice(ix + 1, iy + 1, seed), tx);
  return Mix(top, bottom, ty);
}

double Fractal(double x, double y, std::uint32_t seed, int octaves) {
  double sum = 0;
  double weight = 1;
  double total = 0;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += weight * ValueNoise(x, y, seed + static_cast<std::uint32_t>(octave) * 101u);
    total += weight;
    weight *= 0.5;
    x *= 2.0;
    y *= 2.0;
  }
  return sum / total;
}

std::uint64_t Random::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Random::uniform(double low, double high) {
  return low + (high - low) * (static_cast<double>(next() >> 11) / 9007199254740992.0);
}

}  // namespace sample_sheet

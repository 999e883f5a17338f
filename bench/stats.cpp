#include "bench/stats.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace velmaro::bench {

double Median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

double Percentile(std::vector<double> samples, double fraction) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const double rank = std::ceil(std::clamp(fraction, 0.0, 1.0) * static_cast<double>(samples.size()));
  const std::size_t index = rank < 1 ? 0 : static_cast<std::size_t>(rank) - 1;
  return samples[std::min(index, samples.size() - 1)];
}

std::string Fixed(double value, int decimals) {
  std::array<char, 64> text{};
  const auto [end, error] =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
  return error == std::errc{} ? std::string(text.data(), end) : std::string("?");
}

std::string Verdict(bool met) { return met ? "met" : "MISSED"; }

}  // namespace velmaro::bench

#pragma once

#include <string>
#include <vector>

namespace velmaro::bench {

// The middle sample (the upper of the two middle ones for an even count); 0 for no samples.
double Median(std::vector<double> samples);

// The nearest-rank percentile: the smallest sample with at least `fraction` (0..1) of all samples at or below
// it, so the 0.95 of 20 samples is the 19th smallest. 0 for no samples.
double Percentile(std::vector<double> samples, double fraction);

// `value` with exactly `decimals` digits after a "." whatever the locale; "?" when it cannot be written.
std::string Fixed(double value, int decimals);

// "met" or "MISSED", the verdict column of every table.
std::string Verdict(bool met);

}  // namespace velmaro::bench

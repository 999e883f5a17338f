#include "bench/summary.h"

#include <cstdio>

#include "bench/stats.h"

namespace velmaro::bench {

void GoalSummary::print() const {
  if (lines_.empty()) return;
  constexpr const char* kFormat = "  %-66s %12s %12s  %s\n";
  std::printf("\nGoals\n");
  std::printf(kFormat, "goal", "figure", "limit", "verdict");
  for (const GoalLine& line : lines_) {
    std::printf(kFormat, line.goal.c_str(), line.figure.c_str(), line.limit.c_str(), Verdict(line.met).c_str());
  }
  std::fflush(stdout);
}

}  // namespace velmaro::bench

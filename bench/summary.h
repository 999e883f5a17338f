#pragma once

#include <string>
#include <vector>

namespace velmaro::bench {

// One goal as the last table of the run shows it: what was measured, the figure, the limit and the verdict.
struct GoalLine {
  std::string goal;    // "scrolling, 300 MP map: viewport repaint, 95th percentile"
  std::string figure;  // "3.10 ms"
  std::string limit;   // "<= 16 ms"
  bool met = false;
};

// The goals gathered while the cases run, printed together at the end so one table answers "are we there".
class GoalSummary {
 public:
  void add(GoalLine line) { lines_.push_back(std::move(line)); }
  void print() const;

 private:
  std::vector<GoalLine> lines_;
};

}  // namespace velmaro::bench

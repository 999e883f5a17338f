#pragma once

#include <string>
#include <vector>

namespace velmaro::bench {

class GoalSummary;

struct WindowCaseChoice {
  bool scrolling = false;  // viewport repaints while scrolling, for each map size
  bool points = false;     // capture and removal with 249 points, over the largest map
};

// The window's own figures on the real Form1 (offscreen unless QT_QPA_PLATFORM says otherwise): scrolling
// over maps of each of `megapixels` (test maps decoded by the loader), and capture and removal. Printed as
// one table of medians and 95th percentiles beside a reference; goals go to `summary`. False when a map
// could not be loaded or a press did not do what it should.
bool BenchWindowCases(const std::vector<int>& megapixels, WindowCaseChoice choice, GoalSummary& summary);

// Start-up to the map dialog: velmaro_startup_probe (`probe`) started `runs` times after one untimed run
// that warms the file cache, beside the same program ending on entering main(). Goal to `summary`. False
// when the probe could not be run.
bool BenchStartup(const std::string& probe, int runs, GoalSummary& summary);

}  // namespace velmaro::bench

#pragma once

#include <vector>

namespace velmaro::bench {

class BenchWindow;

// Frames of zooming and panning as the user sees them, timed like the scroll frames: the change, the
// whole viewport repainted at once, and whatever the change left pending.
struct ZoomFrames {
  double firstReductionMilliseconds = 0;  // the first way down from 1:1 to the fit, which makes the reduced copies
  std::vector<double> zoomMilliseconds;   // each step of sqrt(2) from the fit to 16 and back, about the centre
  std::vector<double> panMilliseconds;    // whole-pixel pans in four directions at every zoom step
};

// Starts and ends at 1:1; `passes` times over the steps.
ZoomFrames ZoomFrameMilliseconds(BenchWindow& window, int passes);

}  // namespace velmaro::bench

#pragma once

#include <vector>

namespace velmaro::bench {

class BenchWindow;

// Frames of scrolling, each timed by FrameMilliseconds: the bar takes a new value, which moves the canvas
// inside the viewport.
//
// Drives both bars of `window` through every value one step at a time, as dragging a thumb does, then
// back, then through jumps between far-apart values as page clicks and a fast drag do; `passes` times.
// Returns each frame's time in milliseconds.
std::vector<double> ScrollFrameMilliseconds(BenchWindow& window, int passes);

}  // namespace velmaro::bench

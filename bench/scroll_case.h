#pragma once

#include <vector>

namespace velmaro::bench {

class BenchWindow;

// One frame of scrolling as the user sees it: the bar takes a new value (which moves the canvas inside the
// viewport), the whole viewport is repainted at once with repaint() rather than only where the move exposed
// new pixels, and whatever the move left pending is handled too, so the time covers every pixel the frame
// shows. Painting ends in the window's backing store; showing it is the display server's copy.
//
// Drives both bars of `window` through every value one step at a time, as dragging a thumb does, then
// back, then through jumps between far-apart values as page clicks and a fast drag do; `passes` times.
// Returns each frame's time in milliseconds.
std::vector<double> ScrollFrameMilliseconds(BenchWindow& window, int passes);

}  // namespace velmaro::bench

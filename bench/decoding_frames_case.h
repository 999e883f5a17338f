#pragma once

#include <QString>

#include <vector>

namespace velmaro::bench {

class BenchWindow;

// The window while the map is still arriving. The decode threads take both cores and reserve the picture's
// memory meanwhile; what the window's own thread waits for because of them shows here.
struct DecodingFrames {
  // Frames of scrolling, zooming and panning, each timed by FrameMilliseconds; what is pending includes the
  // rows the decode brought.
  std::vector<double> frameMilliseconds;
  // One new mapping of 4 MiB made and let go by the window's thread (as a large image or a grown heap
  // needs), between the frames; and the same before the map was chosen, as the reference.
  std::vector<double> mappingMilliseconds;
  std::vector<double> idleMappingMilliseconds;
};

// `window` opens `path` as the user does and looks around until the decode ends. Empty when the map cannot
// be opened.
DecodingFrames FramesWhileDecoding(BenchWindow& window, const QString& path);

}  // namespace velmaro::bench

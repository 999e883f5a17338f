#pragma once

#include <optional>
#include <string>

namespace velmaro::bench {

struct StartupSample {
  double milliseconds = 0;        // wall time from just before the child is spawned to its line arriving
  double insideMilliseconds = 0;  // what the child itself measured from entering main() to its line
};

// Starts velmaro_startup_probe (`probe`, see startup_probe.cpp) once, with QT_QPA_PLATFORM=offscreen unless
// the variable is set already, and `--at-main` when `atMain`. nullopt when the child cannot be started, ends
// without its line, or fails.
std::optional<StartupSample> TimeStartup(const std::string& probe, bool atMain);

}  // namespace velmaro::bench

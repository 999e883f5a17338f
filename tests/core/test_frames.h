#pragma once
// Map frames shared by the transform and removal tests.

#include <string>
#include <utility>

#include "core/map_frame.h"

namespace velmaro::testing {

inline MapFrame Frame(std::string left, std::string right, std::string top, std::string bottom) {
  MapFrame frame;
  frame.left = std::move(left);
  frame.right = std::move(right);
  frame.top = std::move(top);
  frame.bottom = std::move(bottom);
  return frame;
}

inline const MapFrame kStartFrame{};
inline const MapFrame kDmsFrame = Frame("8:00:00", "9:00:00", "47:00:00", "46:00:00");

}  // namespace velmaro::testing

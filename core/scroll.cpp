#include "core/scroll.h"

namespace velmaro {

float ScrollOffset(int value, double canvasSize, double viewportSize) {
  const double offset = -(value * (canvasSize - viewportSize) / 100);
  return static_cast<float>(offset);
}

std::optional<int> ArrowTarget(int value, int delta) {
  const int target = value + delta;
  // The bar refuses a value outside its range instead of clipping it, so the click does nothing.
  if (target < kScrollMin || target > kScrollMax) return std::nullopt;
  return target;
}

}  // namespace velmaro

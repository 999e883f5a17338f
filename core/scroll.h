#pragma once
// Moving the map canvas inside its viewport. Values are the scroll bars' 0..100.

#include <optional>

namespace velmaro {

inline constexpr int kScrollMin = 0;
inline constexpr int kScrollMax = 100;
inline constexpr int kArrowStep = 10;

// Canvas left (or top) position in the viewport: -(value * (canvas - viewport) / 100), the product
// first, then the division, in double precision; the result is stored single precision.
float ScrollOffset(int value, double canvasSize, double viewportSize);

// The bar value an arrow click asks for, or nothing when it falls outside 0..100 (the bar refuses it).
std::optional<int> ArrowTarget(int value, int delta);

}  // namespace velmaro

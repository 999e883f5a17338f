#pragma once
// The notation in which the four edge values and new points are written. The window's option buttons
// may also have none selected (after an info file whose three flags are all 0), hence the optional.

#include <optional>

namespace velmaro {

enum class CoordinateType { Meters, DegMinSec, DecimalDegrees };

using NotationChoice = std::optional<CoordinateType>;

}  // namespace velmaro

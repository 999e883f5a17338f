#pragma once
// A right press on the canvas removes the point nearest to the press, measured in map units.

#include <optional>

#include "core/map_frame.h"
#include "core/map_transform.h"
#include "core/point_table.h"

namespace velmaro {

inline constexpr double kRemovalSearchStart = 29999;  // running minimum at start, in map units

// Remove_Point(X, Y): press position in twips on a canvas of the given size. Frame values are read by
// LeadingNumber (Degre2Decimal in DegMinSec), point texts by the notation selected now; the press
// position and each distance are cut to four decimals (a zero canvas side puts that press coordinate
// at 0); ties go to the later row. The chosen row is
// deleted and the rest renumbered. Cursor x/y are left holding the last point read (xDms/yDms are
// untouched). Returns the removed row, or nothing when the table is empty or no point lies within
// 29999 map units; the table is then unchanged. The green mark is the window's affair.
std::optional<int> Remove_Point(PointTable& table, Cursor& cursor, const MapFrame& frame, NotationChoice notation,
                                double X, double Y, CanvasSize canvas);

// The same search with the press placed on the map by any transform (a coordinate it cannot give is 0);
// the frame's own form above is this one with the edges model of the LeadingNumber readings.
std::optional<int> Remove_Point(PointTable& table, Cursor& cursor, const MapTransform& transform,
                                NotationChoice notation, double X, double Y);

}  // namespace velmaro

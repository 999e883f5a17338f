#pragma once
// The KML document of the points of a degree map: plain ASCII, CR LF after every line.

#include <optional>
#include <string>

#include "core/coordinate_type.h"
#include "core/map_frame.h"
#include "core/point_table.h"
#include "files/safe_write.h"

namespace velmaro {

// Lines 1-11 fixed, then seven lines per point, then "</Document>" and "</kml>". Longitude sign +1
// only for the caption "X Coord. EAST", latitude sign -1 only for "Y Coord. SOUTH". DecimalDegrees
// cells read by LeadingNumber; DegMinSec cells through Degre2Decimal, cut to five decimals.
std::string KmlText(const PointTable& table, const MapFrame& frame, CoordinateType notation);

std::optional<WriteFailure> WriteKmlFile(const std::string& path, const PointTable& table, const MapFrame& frame,
                                         CoordinateType notation);

}  // namespace velmaro

#pragma once
// The KML document of the points of a degree map: plain ASCII for the texts the system itself writes,
// CR LF after every line, the last included.

#include <optional>
#include <string>

#include "core/coordinate_type.h"
#include "core/map_frame.h"
#include "core/point_table.h"
#include "files/safe_write.h"

namespace velmaro {

// Lines 1-11 fixed, then seven lines per point, then "</Document>" and "</kml>". Point k (1..n, table
// order) is named "Pt" + SignedNumberText(k) ("Pt 7"), whatever its grid name. Longitude sign +1 only
// for the caption "X Coord. EAST", latitude sign -1 only for "Y Coord. SOUTH"; the letter columns are
// not read. DegMinSec cells go through Degre2Decimal and are cut (floored) to five decimals; any other
// notation reads cells by LeadingNumber, uncut (a cell without a leading number gives 0). The
// coordinates line holds no blank at all.
std::string KmlText(const PointTable& table, const MapFrame& frame, CoordinateType notation);

// Replaces the file as a whole (ReplaceFileContents); nothing on success.
std::optional<FileError> WriteKmlFile(const std::string& path, const PointTable& table, const MapFrame& frame,
                                         CoordinateType notation);

}  // namespace velmaro

#pragma once
// A captured point's map X and Y as numbers, as the coordinate-system work needs them: the cell texts read
// back as they were captured (a d:m:s text through Degre2Decimal, any other as a plain number), signed by
// the hemisphere letters where the map counts degrees (W and S negative). A grid's easting and northing
// carry no sign of their own: their letters only say which way the values grow.

#include <optional>
#include <string>
#include <string_view>

#include "core/map_frame.h"
#include "core/point_table.h"

namespace velmaro {

struct MapValues {
  double x = 0;
  double y = 0;
};

// Nothing when a text reads as no number (an empty cell).
std::optional<double> CapturedValue(std::string_view text);

// The row's X and Y; `inDegrees` applies the letters' signs.
std::optional<MapValues> PointValues(const PointRow& row, bool inDegrees);

// The cursor's values, signed by the letters the captions give, for the read-out.
MapValues CursorValues(const Cursor& cursor, const MapFrame& frame, bool inDegrees);

// WGS 84 latitude and longitude for the read-out: "47.123457° N  8.100000° E", six decimals (about ten
// centimetres), rounded to nearest; the hemisphere by the sign, so -0.0000001 reads 0.000000° N.
std::string LatitudeLongitudeText(double longitude, double latitude);

}  // namespace velmaro

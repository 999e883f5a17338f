#pragma once
// The Transformer of geo.h on PROJ: the operation cs2cs would choose between two CRSs, east before north.

#include "geo/geo.h"

namespace velmaro::geo {

// See Geo::transformer. The area check looks at the point's longitude and latitude (in the source CRS's
// own datum, or WGS 84) against the areas of use of both CRSs.
TransformerResult MakeTransformer(const Crs& from, const Crs& to);

// The CRS that GeoJSON, GPX and KML are written in, and the read-out's longitude and latitude.
inline constexpr const char* kWgs84 = "EPSG:4326";
// It as a Crs with its definition alone, which is all MakeTransformer reads.
inline Crs Wgs84() {
  Crs crs;
  crs.definition = kWgs84;
  return crs;
}

// Whether the longitude and latitude lie in the area (an unknown area holds every point); a box that
// crosses the 180th meridian is taken as such.
bool AreaContains(const AreaOfUse& area, double longitude, double latitude);

}  // namespace velmaro::geo

#pragma once
// The map's side file, "<map>.aux.xml", in which GDAL keeps what it knows of a picture beyond its pixels
// (its CRS; also a geotransform and ground control points, which GDAL writes the same way). Only GDAL
// reads and writes its content; this module decides where and how the file is replaced.

#include <functional>
#include <optional>
#include <string>

#include "geo/geo.h"

class GDALDataset;

namespace velmaro::geo {

struct MapSrs {
  std::optional<std::string> wkt;  // the CRS GDAL reports for the map, as WKT2; nothing with error
  std::optional<GeoError> error;   // NoCrs, MapUnreadable
};

// What GDAL reports for the map, as `gdalinfo` shows it.
MapSrs ReadMapSrs(const std::string& mapPath);

// Changes what GDAL keeps about the map: edit gets the map opened read-only through GDAL, where whatever
// it sets (SetSpatialRef, SetGeoTransform, SetGCPs, metadata) goes to the side file, and returns false
// when a setting fails. GDAL works on a copy of the side file in a private folder; the file it writes,
// with the top-level elements of the old file that GDAL does not know added back, then replaces the old
// one as a whole (files/safe_write: its mode is kept, and in a folder that refuses new files a side file
// the process may write is written over in place). MapUnreadable, SideFileUnreadable (an old side file
// that cannot be read, or is not GDAL's XML, is never overwritten), NotWritable, WriteFailed.
using SideFileEdit = std::function<bool(GDALDataset& map)>;
std::optional<GeoError> EditSideFile(const std::string& mapPath, const SideFileEdit& edit);

// Sets the map's CRS to what GDAL reads from definition ("EPSG:27700" or a WKT).
std::optional<GeoError> WriteMapSrs(const std::string& mapPath, const std::string& definition);

}  // namespace velmaro::geo

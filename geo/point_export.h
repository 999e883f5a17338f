#pragma once
// The point table written through GDAL/OGR, in the formats of ExportFormat. See Geo::exportPoints and
// Geo::filesReplacedBy for the contract.
//
// Drivers: GPKG, "ESRI Shapefile" (fields in UTF-8, with a .cpg saying so), GeoJSON as RFC 7946 (with
// coordinates to 15 decimals instead of its default 7, so that nothing of PROJ's result is cut), GPX
// waypoints (the fields other than name as GDAL's extensions), LIBKML (Placemarks with the fields as
// typed ExtendedData, which GDAL reads back as fields), CSV with the geometry as the first two columns
// X and Y (GEOMETRY=AS_XY: what a spreadsheet reads; a CSV file has no place for the CRS).

#include <string>
#include <vector>

#include "geo/geo.h"

namespace velmaro::geo {

std::vector<std::string> FilesReplacedBy(const ExportRequest& request);
ExportResult ExportPoints(const ExportRequest& request);

// The file GDAL is asked to make: request.path, and for a shapefile without ".shp" that name with
// ".shp" added (the driver would otherwise make a folder of shapefiles).
std::string ExportTarget(const ExportRequest& request);

}  // namespace velmaro::geo

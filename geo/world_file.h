#pragma once
// The map's affine georeference as the world file beside it, and a projective one as ground control
// points in its side file, both as GDAL writes and reads them: what QGIS and GDAL's own tools see.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "geo/geo.h"

namespace velmaro::geo {

// The world file's names are files/map_file_names' WorldFileNames.
WorldFileResult ReadWorldFile(const std::string& mapPath);
// Writes the first of the names through GDAL into a private folder and moves it into place whole.
std::optional<GeoError> WriteWorldFile(const std::string& mapPath, const std::array<double, 6>& geoTransform);
// Removes every world file of the map, so that none contradicts the calibration in use.
std::optional<GeoError> RemoveWorldFiles(const std::string& mapPath);

std::vector<GroundControlPoint> ReadGcps(const std::string& mapPath);
// Sets the side file's ground control points (none: removes them), whatever else it holds kept.
std::optional<GeoError> WriteGcps(const std::string& mapPath, const std::vector<GroundControlPoint>& gcps);

}  // namespace velmaro::geo

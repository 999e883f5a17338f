#pragma once
// The map's coordinate reference system (CRS), when one is chosen: kept in the map's side file
// (map.jpg.aux.xml, written by GDAL so that GDAL and QGIS read it), read back when the map opens, and a
// transformation to WGS 84 for the read-out. PROJ and GDAL (geo/) are loaded the first time any of this is
// needed, never at start-up; a map without a side file never loads them. Without a CRS nothing changes.

#include <memory>
#include <optional>
#include <string>

#include "core/point_values.h"
#include "geo/geo.h"
#include "platform/platform.h"

namespace velmaro::ui {

class MapCrs {
 public:
  // The module is looked for in the platform's application folder, beside the program.
  explicit MapCrs(const platform::Platform& platform) : platform_(platform) {}

  // The geo module, loaded on the first call; nothing when it cannot be loaded (`whyNot` then says why).
  geo::Geo* geo(std::string* whyNot = nullptr);

  // Another map is shown: its CRS is the one its side file holds, if any (a side file GDAL cannot read, or
  // a CRS PROJ cannot use, counts as none).
  void mapOpened(const std::string& mapPath);
  // The user chose `crs` for the map: stored in its side file first, taken only when that worked.
  std::optional<geo::GeoError> choose(const std::string& mapPath, const geo::Crs& crs);

  const std::optional<geo::Crs>& crs() const { return crs_; }
  // Where the map counts degrees: its X and Y carry the hemisphere letters' signs.
  bool inDegrees() const { return crs_ && crs_->geographic; }
  // "47.123457° N  8.100000° E" for a map position (signed, east before north), when a CRS is chosen and
  // PROJ can transform the position; "" otherwise. A position outside the CRS's area of use says so.
  std::string latitudeLongitude(MapValues position);

 private:
  void take(std::optional<geo::Crs> crs);

  const platform::Platform& platform_;
  geo::Geo* geo_ = nullptr;
  std::optional<geo::Crs> crs_;
  std::unique_ptr<geo::Transformer> toWgs84_;
};

}  // namespace velmaro::ui

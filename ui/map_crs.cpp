#include "ui/map_crs.h"

#include <filesystem>

#include "geo/geo_loader.h"

namespace velmaro::ui {

geo::Geo* MapCrs::geo(std::string* whyNot) {
  if (geo_) return geo_;
  const geo::LoadedGeo loaded = geo::LoadGeo(platform_.applicationFolder());
  geo_ = loaded.geo;
  if (!geo_ && whyNot) *whyNot = loaded.error;
  return geo_;
}

void MapCrs::mapOpened(const std::string& mapPath) {
  std::error_code ignored;
  // Loading PROJ and GDAL costs a moment: a map without a side file cannot hold a CRS for them to read.
  if (!std::filesystem::exists(geo::SideFileName(mapPath), ignored) || !geo()) return take(std::nullopt);
  take(geo_->readMapCrs(mapPath).crs);
}

std::optional<geo::GeoError> MapCrs::choose(const std::string& mapPath, const geo::Crs& crs) {
  std::string whyNot;
  if (!geo(&whyNot)) return geo::GeoError{geo::GeoErrorKind::FormatUnavailable, whyNot, {}, {}};
  if (std::optional<geo::GeoError> error = geo_->writeMapCrs(mapPath, crs)) return error;
  take(crs);
  return std::nullopt;
}

void MapCrs::take(std::optional<geo::Crs> crs) {
  crs_ = std::move(crs);
  toWgs84_.reset();
  if (crs_) toWgs84_ = std::move(geo_->toWgs84(*crs_).transformer);
}

std::string MapCrs::latitudeLongitude(MapValues position) {
  if (!toWgs84_) return {};
  const geo::Transformed wgs84 = toWgs84_->transform({position.x, position.y});
  if (!wgs84.position) return {};
  return LatitudeLongitudeText(wgs84.position->x, wgs84.position->y) +
         (wgs84.outsideArea ? "  (outside the area of its coordinate system)" : "");
}

}  // namespace velmaro::ui

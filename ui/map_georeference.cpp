#include "ui/map_georeference.h"

#include <cmath>
#include <filesystem>

#include "core/geo_transform.h"
#include "files/map_file_names.h"
#include "geo/geo_loader.h"

namespace velmaro::ui {

geo::Geo* MapGeoreference::geo(std::string* whyNot) {
  if (geo_) return geo_;
  const geo::LoadedGeo loaded = geo::LoadGeo(platform_.applicationFolder());
  geo_ = loaded.geo;
  if (!geo_ && whyNot) *whyNot = loaded.error;
  return geo_;
}

void MapGeoreference::mapOpened(const std::string& mapPath) {
  std::error_code ignored;
  // Loading PROJ and GDAL costs a moment: a map without a side file cannot hold a CRS for them to read.
  if (!std::filesystem::exists(geo::SideFileName(mapPath), ignored) || !geo()) return take(std::nullopt);
  take(geo_->readMapCrs(mapPath).crs);
}

std::optional<geo::GeoError> MapGeoreference::choose(const std::string& mapPath, const geo::Crs& crs) {
  std::string whyNot;
  if (!geo(&whyNot)) return geo::GeoError{geo::GeoErrorKind::FormatUnavailable, whyNot, {}, {}};
  if (std::optional<geo::GeoError> error = geo_->writeMapCrs(mapPath, crs)) return error;
  take(crs);
  return std::nullopt;
}

void MapGeoreference::take(std::optional<geo::Crs> crs) {
  crs_ = std::move(crs);
  toWgs84_.reset();
  if (crs_) toWgs84_ = std::move(geo_->toWgs84(*crs_).transformer);
}

std::string MapGeoreference::latitudeLongitude(MapValues position) {
  if (!toWgs84_) return {};
  const geo::Transformed wgs84 = toWgs84_->transform({position.x, position.y});
  if (!wgs84.position) return {};
  return LatitudeLongitudeText(wgs84.position->x, wgs84.position->y) +
         (wgs84.outsideArea ? "  (outside the area of its coordinate system)" : "");
}

MapGeoreference::Kept MapGeoreference::keepModel(const std::string& mapPath, const MapTransform& model,
                                                 const std::vector<KnownPoint>& points, double tpp) {
  Kept kept{model, std::nullopt, WorldFileNames(mapPath).front()};
  if (!geo()) return kept;
  if (const std::optional<GeoTransform> gt = ToGeoTransform(model, tpp)) {
    kept.model = FromGeoTransform(FromWorldFile(WithWorldFileDigits(ToWorldFile(*gt))), tpp, model.model);
    kept.error = geo_->writeWorldFile(mapPath, *gt);
    if (!kept.error && !geo_->readGcps(mapPath).empty()) kept.error = geo_->writeGcps(mapPath, {});
    return kept;
  }
  std::vector<geo::GroundControlPoint> gcps;
  for (const KnownPoint& point : points)
    if (point.enabled) gcps.push_back({point.x / tpp, point.y / tpp, point.mapX, point.mapY});
  kept.file = geo::SideFileName(mapPath);
  kept.error = geo_->writeGcps(mapPath, gcps);
  if (!kept.error) kept.error = geo_->removeWorldFile(mapPath);
  return kept;
}

std::optional<MapGeoreference::Kept> MapGeoreference::keepWorldFileInStep(const std::string& mapPath,
                                                                          const MapTransform& transform, double tpp) {
  if (mapPath.empty() || !ExistingWorldFile(mapPath)) return std::nullopt;
  const std::optional<GeoTransform> gt = ToGeoTransform(transform, tpp);
  if (!gt || !geo()) return std::nullopt;
  return Kept{transform, geo_->writeWorldFile(mapPath, *gt), WorldFileNames(mapPath).front()};
}

MapGeoreference::Kept MapGeoreference::storedModel(const std::string& mapPath, CanvasSize canvas, double tpp) {
  const std::optional<std::string> worldFile = ExistingWorldFile(mapPath);
  std::error_code ignored;
  if (!worldFile && !std::filesystem::exists(geo::SideFileName(mapPath), ignored)) return {};  // GDAL stays unloaded
  if (!geo()) return {};
  if (worldFile) {
    const geo::WorldFileResult read = geo_->readWorldFile(mapPath);
    if (read.error) return {std::nullopt, read.error, read.file};
    const GeoTransform& gt = *read.geoTransform;
    // A world file says nothing of its model: a similarity is read as Helmert, anything else as affine.
    const double size = std::abs(gt[1]) + std::abs(gt[2]);
    const bool similar = std::abs(gt[1] - gt[5]) + std::abs(gt[2] + gt[4]) <= 1e-12 * size ||
                         std::abs(gt[1] + gt[5]) + std::abs(gt[2] - gt[4]) <= 1e-12 * size;
    return {FromGeoTransform(gt, tpp, similar ? TransformModel::Helmert : TransformModel::Affine), std::nullopt, read.file};
  }
  std::vector<KnownPoint> points;
  for (const geo::GroundControlPoint& gcp : geo_->readGcps(mapPath))
    points.push_back({gcp.pixel * tpp, gcp.line * tpp, gcp.x, gcp.y, true});
  if (points.size() < 4) return {};
  const ModelFit fit = FitModel(TransformModel::Projective, points, FitSettings{tpp, canvas, Handedness::Map});
  if (fit.refusal) return {};
  return {fit.transform, std::nullopt, geo::SideFileName(mapPath)};
}

}  // namespace velmaro::ui

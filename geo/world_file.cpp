#include "geo/world_file.h"

#include <gdal.h>
#include <gdal_priv.h>

#include <cmath>
#include <filesystem>

#include "files/map_file_names.h"
#include "geo/gdal_errors.h"
#include "geo/side_file.h"
#include "geo/staging_folder.h"

namespace velmaro::geo {

namespace fs = std::filesystem;

namespace {

// A geotransform no map can have: a number that is not finite, or no area (the pixels collapse onto a line).
bool Absurd(const std::array<double, 6>& gt) {
  for (const double value : gt)
    if (!std::isfinite(value)) return true;
  return gt[1] * gt[5] - gt[2] * gt[4] == 0;
}

}  // namespace

WorldFileResult ReadWorldFile(const std::string& mapPath) {
  if (const std::optional<std::string> name = ExistingWorldFile(mapPath)) {
    UseGdal();
    GdalErrorTrap trap;
    const fs::path file(*name);
    std::array<double, 6> gt{};
    const std::string base = fs::path(file).replace_extension().string();
    const std::string extension = file.extension().string().substr(1);
    if (!GDALReadWorldFile(base.c_str(), extension.c_str(), gt.data()) || Absurd(gt))
      return {std::nullopt, trap.error(GeoErrorKind::WorldFileUnreadable, "not six numbers that make a map"), *name};
    return {gt, std::nullopt, *name};
  }
  return {};
}

std::optional<GeoError> WriteWorldFile(const std::string& mapPath, const std::array<double, 6>& geoTransform) {
  UseGdal();
  const fs::path target(WorldFileNames(mapPath).front());
  const StagingFolder staging(target.parent_path(), target.filename().string());
  if (staging.error()) return staging.error();
  GdalErrorTrap trap;
  const std::string base = (staging.path() / target.stem()).string();
  std::array<double, 6> gt = geoTransform;
  if (!GDALWriteWorldFile(base.c_str(), target.extension().string().substr(1).c_str(), gt.data()))
    return trap.error(GeoErrorKind::WriteFailed, target.string());
  return PublishFiles(staging, {target.filename().string()}, target.parent_path(), {});
}

std::optional<GeoError> RemoveWorldFiles(const std::string& mapPath) {
  for (const std::string& name : WorldFileNames(mapPath)) {
    std::error_code error;
    fs::remove(name, error);
    if (error) return SystemError(error.value(), name);
  }
  return std::nullopt;
}

std::vector<GroundControlPoint> ReadGcps(const std::string& mapPath) {
  UseGdal();
  GdalErrorTrap trap;
  const GDALDatasetUniquePtr map(GDALDataset::FromHandle(
      GDALOpenEx(mapPath.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr)));
  std::vector<GroundControlPoint> gcps;
  if (!map) return gcps;
  const GDAL_GCP* list = map->GetGCPs();
  for (int i = 0; i < map->GetGCPCount(); ++i)
    gcps.push_back({list[i].dfGCPPixel, list[i].dfGCPLine, list[i].dfGCPX, list[i].dfGCPY});
  return gcps;
}

std::optional<GeoError> WriteGcps(const std::string& mapPath, const std::vector<GroundControlPoint>& gcps) {
  return EditSideFile(mapPath, [&gcps](GDALDataset& map) {
    std::vector<GDAL_GCP> list(gcps.size());
    std::vector<std::string> ids(gcps.size());
    for (std::size_t i = 0; i < gcps.size(); ++i) {
      ids[i] = std::to_string(i + 1);
      list[i] = GDAL_GCP{ids[i].data(), const_cast<char*>(""), gcps[i].pixel, gcps[i].line,
                         gcps[i].x, gcps[i].y, 0.0};
    }
    // The points keep the map's own CRS, which the side file holds already (or none).
    const OGRSpatialReference* crs = map.GetSpatialRef();
    return map.SetGCPs(static_cast<int>(list.size()), list.data(), crs) == CE_None;
  });
}

}  // namespace velmaro::geo

#include "geo/point_export.h"

#include <gdal_priv.h>
#include <ogr_feature.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "geo/gdal_errors.h"
#include "geo/proj_transformer.h"
#include "geo/staging_folder.h"

namespace velmaro::geo {
namespace fs = std::filesystem;
namespace {

struct FormatInfo {
  const char* driver;
  std::vector<const char*> datasetOptions;  // each list ends with nullptr, as GDAL's option lists do
  std::vector<const char*> layerOptions;
  std::vector<const char*> openOptions;     // to read the file back
  const char* layerName;                    // nothing: the file's name without its extension
  std::vector<const char*> companions;      // other files of the same stem that belong to the file
  std::vector<const char*> journals;        // files named after the whole file name
};

const FormatInfo& FormatOf(ExportFormat format) {
  static const FormatInfo kGeoPackage{"GPKG", {nullptr}, {nullptr}, {nullptr}, nullptr, {}, {"-wal", "-shm", "-journal"}};
  static const FormatInfo kShapefile{"ESRI Shapefile", {nullptr}, {"ENCODING=UTF-8", nullptr}, {nullptr}, nullptr,
                                     {".shx", ".dbf", ".prj", ".cpg", ".qix", ".sbn", ".sbx", ".qpj"}, {}};
  static const FormatInfo kGeoJson{"GeoJSON", {nullptr}, {"RFC7946=YES", "COORDINATE_PRECISION=15", nullptr},
                                   {nullptr}, nullptr, {}, {}};
  static const FormatInfo kGpx{"GPX", {"GPX_USE_EXTENSIONS=YES", nullptr}, {nullptr}, {nullptr}, "waypoints", {}, {}};
  static const FormatInfo kKml{"LIBKML", {nullptr}, {nullptr}, {nullptr}, nullptr, {}, {}};
  static const FormatInfo kCsv{"CSV", {nullptr}, {"GEOMETRY=AS_XY", nullptr},
                               {"X_POSSIBLE_NAMES=X", "Y_POSSIBLE_NAMES=Y", nullptr}, nullptr, {}, {}};
  switch (format) {
    case ExportFormat::GeoPackage: return kGeoPackage;
    case ExportFormat::Shapefile: return kShapefile;
    case ExportFormat::GeoJson: return kGeoJson;
    case ExportFormat::Gpx: return kGpx;
    case ExportFormat::Kml: return kKml;
    case ExportFormat::Csv: return kCsv;
  }
  return kGeoPackage;
}

constexpr const char* kFields[] = {"name", "map_x", "map_y", "picture_x", "picture_y"};

GeoError Failure(GeoErrorKind kind, std::string detail) { return GeoError{kind, std::move(detail), {}, {}}; }

ExportResult Failed(GeoError error) { return ExportResult{std::move(error), std::nullopt, {}}; }

bool EndsWithShp(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".shp";
}

struct Placed {
  std::vector<Position> positions;
  std::vector<int> outsideArea;
};

// Every point in the output CRS, before a file is touched.
std::optional<GeoError> Transform(const ExportRequest& request, const Crs& output, Placed& placed) {
  TransformerResult made = MakeTransformer(*request.mapCrs, output);
  if (!made.transformer) return made.error;
  for (std::size_t i = 0; i < request.points.size(); ++i) {
    const Transformed point = made.transformer->transform(request.points[i].map);
    if (!point.position) {
      return GeoError{GeoErrorKind::TransformFailed, request.points[i].name, {static_cast<int>(i)}, {}};
    }
    placed.positions.push_back(*point.position);
    if (point.outsideArea) placed.outsideArea.push_back(static_cast<int>(i));
  }
  return std::nullopt;
}

bool AddFields(OGRLayer& layer) {
  for (const char* name : kFields) {
    OGRFieldDefn field(name, name == kFields[0] ? OFTString : OFTReal);
    if (layer.CreateField(&field) != OGRERR_NONE) return false;
  }
  return true;
}

bool AddFeature(OGRLayer& layer, const ExportPoint& point, Position position) {
  OGRFeature feature(layer.GetLayerDefn());
  // By name: some drivers (GPX) have fields of their own before ours.
  feature.SetField(kFields[0], point.name.c_str());
  feature.SetField(kFields[1], point.map.x);
  feature.SetField(kFields[2], point.map.y);
  feature.SetField(kFields[3], point.picture.x);
  feature.SetField(kFields[4], point.picture.y);
  OGRPoint geometry(position.x, position.y);
  return feature.SetGeometry(&geometry) == OGRERR_NONE && layer.CreateFeature(&feature) == OGRERR_NONE;
}

// The point that could not be written, or nothing.
std::optional<std::size_t> WriteFeatures(GDALDataset& dataset, OGRLayer& layer, const ExportRequest& request,
                                         const Placed& placed) {
  // One transaction where the driver has them (GeoPackage): one commit instead of one per point.
  const bool transaction = dataset.StartTransaction() == OGRERR_NONE;
  for (std::size_t i = 0; i < request.points.size(); ++i) {
    if (!AddFeature(layer, request.points[i], placed.positions[i])) return i;
  }
  if (transaction && dataset.CommitTransaction() != OGRERR_NONE) return request.points.size() - 1;
  return std::nullopt;
}

std::optional<GeoError> WriteDataset(GDALDriver& driver, const FormatInfo& format, const fs::path& file,
                                     const Crs& output, const ExportRequest& request, const Placed& placed) {
  GdalErrorTrap trap;
  GDALDatasetUniquePtr dataset(
      driver.Create(file.c_str(), 0, 0, 0, GDT_Unknown, const_cast<char**>(format.datasetOptions.data())));
  if (!dataset) return trap.error(GeoErrorKind::WriteFailed, file.string() + ": cannot be made");
  OGRSpatialReference srs;
  const char* const sourceOptions[] = {"ALLOW_NETWORK_ACCESS=NO", "ALLOW_FILE_ACCESS=NO", nullptr};
  if (srs.SetFromUserInput(output.definition.c_str(), sourceOptions) != OGRERR_NONE) {
    return trap.error(GeoErrorKind::UnknownCrs, output.definition);
  }
  srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);  // x east, y north, as PROJ gave them
  const std::string layerName = format.layerName != nullptr ? format.layerName : file.stem().string();
  OGRLayer* layer = dataset->CreateLayer(layerName.c_str(), &srs, wkbPoint,
                                         const_cast<char**>(format.layerOptions.data()));
  if (layer == nullptr || !AddFields(*layer)) return trap.error(GeoErrorKind::WriteFailed, "the layer cannot be made");
  if (const auto failed = WriteFeatures(*dataset, *layer, request, placed)) {
    return trap.error(GeoErrorKind::WriteFailed, request.points[*failed].name + " cannot be written");
  }
  dataset.reset();  // closing writes what the driver kept back
  if (trap.failed()) return trap.error(GeoErrorKind::WriteFailed);
  return std::nullopt;
}

// Whether a number read back is the one written: the formats keep 15 significant digits or more.
bool SameNumber(double written, double read) {
  return std::abs(written - read) <= 1e-12 * std::max(1.0, std::abs(written));
}

// A field by our name; GPX gives the fields it has no element for back as "ogr_<name>".
int FieldIndex(const OGRFeature& feature, const char* name) {
  const int index = feature.GetFieldIndex(name);
  return index >= 0 ? index : feature.GetFieldIndex((std::string("ogr_") + name).c_str());
}

bool ReadsBackAs(const OGRFeature& feature, const ExportPoint& point, Position position) {
  const double numbers[] = {point.map.x, point.map.y, point.picture.x, point.picture.y};
  for (std::size_t i = 0; i < std::size(numbers); ++i) {
    const int index = FieldIndex(feature, kFields[i + 1]);
    if (index < 0 || !SameNumber(numbers[i], feature.GetFieldAsDouble(index))) return false;
  }
  const int name = FieldIndex(feature, kFields[0]);
  const OGRPoint* geometry = feature.GetGeometryRef()->toPoint();
  return name >= 0 && point.name == feature.GetFieldAsString(name) && SameNumber(position.x, geometry->getX()) &&
         SameNumber(position.y, geometry->getY());
}

// A driver that meets a full disk does not always say so, least of all when it writes its last buffer
// as the file closes: the file is read back, and every point must be there as it was written.
std::optional<GeoError> CheckWritten(const FormatInfo& format, const fs::path& file, const ExportRequest& request,
                                     const Placed& placed) {
  GdalErrorTrap trap;
  const char* const drivers[] = {format.driver, nullptr};
  const GDALDatasetUniquePtr dataset(GDALDataset::Open(file.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers,
                                                       format.openOptions.data(), nullptr));
  if (!dataset) return trap.error(GeoErrorKind::WriteFailed, file.string() + ": cannot be read back");
  std::size_t next = 0;
  for (OGRLayer* layer : dataset->GetLayers()) {
    for (const auto& feature : *layer) {
      const OGRGeometry* geometry = feature->GetGeometryRef();
      if (geometry == nullptr || wkbFlatten(geometry->getGeometryType()) != wkbPoint) continue;
      if (next == request.points.size() || !ReadsBackAs(*feature, request.points[next], placed.positions[next])) {
        return trap.error(GeoErrorKind::WriteFailed, "point " + std::to_string(next + 1) + " reads back otherwise");
      }
      ++next;
    }
  }
  if (next == request.points.size()) return std::nullopt;
  return trap.error(GeoErrorKind::WriteFailed, std::to_string(next) + " of " + std::to_string(request.points.size()) +
                                                   " points read back");
}

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code failed;
  for (const auto& entry : fs::directory_iterator(folder, failed)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::string ExportTarget(const ExportRequest& request) {
  if (request.format == ExportFormat::Shapefile && !EndsWithShp(request.path)) return request.path + ".shp";
  return request.path;
}

std::vector<std::string> FilesReplacedBy(const ExportRequest& request) {
  const FormatInfo& format = FormatOf(request.format);
  const fs::path target = ExportTarget(request);
  std::vector<fs::path> candidates{target};
  for (const char* companion : format.companions) candidates.push_back(fs::path(target).replace_extension(companion));
  for (const char* journal : format.journals) candidates.push_back(target.string() + journal);
  std::vector<std::string> existing;
  for (const fs::path& candidate : candidates) {
    std::error_code failed;
    if (fs::exists(fs::symlink_status(candidate, failed))) existing.push_back(candidate.string());
  }
  return existing;
}

ExportResult ExportPoints(const ExportRequest& request) {
  if (!request.mapCrs || request.mapCrs->definition.empty()) return Failed(Failure(GeoErrorKind::NoCrs, {}));
  UseGdal();
  const FormatInfo& format = FormatOf(request.format);
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(format.driver);
  if (driver == nullptr) return Failed(Failure(GeoErrorKind::FormatUnavailable, format.driver));

  Crs output = request.outputCrs.value_or(*request.mapCrs);
  if (FixesWgs84(request.format)) output = Wgs84();
  Placed placed;
  if (auto error = Transform(request, output, placed)) return Failed(std::move(*error));

  const std::vector<std::string> replaced = FilesReplacedBy(request);
  if (!request.replace && !replaced.empty()) return Failed(GeoError{GeoErrorKind::Exists, {}, {}, replaced});
  // Replacing is for files: a folder in the way would go with everything in it.
  for (const std::string& old : replaced) {
    std::error_code failed;
    if (fs::is_directory(fs::symlink_status(old, failed))) return Failed(Failure(GeoErrorKind::NotWritable, old + ": a folder"));
  }
  const fs::path target = ExportTarget(request);
  if (target.filename().empty()) return Failed(Failure(GeoErrorKind::NotWritable, request.path + ": no file name"));
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

  const StagingFolder staging(folder, target.filename().string());
  if (staging.error()) return Failed(*staging.error());
  const fs::path staged = staging.path() / target.filename();
  if (auto error = WriteDataset(*driver, format, staged, output, request, placed)) return Failed(std::move(*error));
  if (auto error = CheckWritten(format, staged, request, placed)) return Failed(std::move(*error));
  const std::vector<std::string> made = FilesIn(staging.path());
  if (auto error = PublishFiles(staging, made, folder, replaced)) return Failed(std::move(*error));

  ExportResult result;
  for (const std::string& name : made) result.files.push_back((folder / name).string());
  if (!placed.outsideArea.empty()) result.warning = GeoError{GeoErrorKind::OutsideArea, {}, placed.outsideArea, {}};
  return result;
}

}  // namespace velmaro::geo

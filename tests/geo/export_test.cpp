// Every export format on the rows of export.txt: written by geo/, read back with OGR as a real client.

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <clocale>
#include <map>

#include "tests/geo/support.h"

namespace velmaro::test {
namespace {

using testing::Case;

const std::map<std::string, geo::ExportFormat> kFormats = {
    {"GeoPackage", geo::ExportFormat::GeoPackage}, {"Shapefile", geo::ExportFormat::Shapefile},
    {"GeoJson", geo::ExportFormat::GeoJson},       {"Gpx", geo::ExportFormat::Gpx},
    {"Kml", geo::ExportFormat::Kml},               {"Csv", geo::ExportFormat::Csv}};

// The fields as a client finds them: GPX keeps all but the name as extensions ("ogr_map_x"), KML spells
// the name "Name" (OGR's field names are found without regard to case).
double Number(const OGRFeature& feature, const std::string& field) {
  int index = feature.GetFieldIndex(field.c_str());
  if (index < 0) index = feature.GetFieldIndex(("ogr_" + field).c_str());
  EXPECT_GE(index, 0) << field;
  return index < 0 ? std::nan("") : feature.GetFieldAsDouble(index);
}

struct ReadBack {
  std::string name;
  geo::ExportPoint fields;  // map and picture as the file holds them
  geo::Position geometry;
};

std::vector<ReadBack> ReadWithOgr(const std::string& file, std::string* crs) {
  // A CSV file names its geometry columns only by habit.
  const char* const csvOptions[] = {"X_POSSIBLE_NAMES=X", "Y_POSSIBLE_NAMES=Y", nullptr};
  const GDALDatasetUniquePtr dataset(GDALDataset::Open(file.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr,
                                                       file.ends_with(".csv") ? csvOptions : nullptr, nullptr));
  std::vector<ReadBack> points;
  if (!dataset) {
    ADD_FAILURE() << file << ": " << CPLGetLastErrorMsg();
    return points;
  }
  for (OGRLayer* layer : dataset->GetLayers()) {
    for (const auto& feature : *layer) {
      const OGRGeometry* geometry = feature->GetGeometryRef();
      if (geometry == nullptr || wkbFlatten(geometry->getGeometryType()) != wkbPoint) continue;
      const OGRPoint* point = geometry->toPoint();
      points.push_back({feature->GetFieldAsString("name"),
                        {"",
                         {Number(*feature, "map_x"), Number(*feature, "map_y")},
                         {Number(*feature, "picture_x"), Number(*feature, "picture_y")}},
                        {point->getX(), point->getY()}});
      const OGRSpatialReference* srs = layer->GetSpatialRef();
      *crs = "-";
      if (srs != nullptr) {
        OGRSpatialReference identified(*srs);
        identified.AutoIdentifyEPSG();
        const char* authority = identified.GetAuthorityName(nullptr);
        const char* code = identified.GetAuthorityCode(nullptr);
        *crs = std::string(authority ? authority : "?") + ":" + (code ? code : "?");
      }
    }
  }
  return points;
}

std::string FolderListing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  std::string listing;
  for (const std::string& name : names) listing += (listing.empty() ? "" : " ") + name;
  return listing;
}

// 1 mm on a grid, 1e-9 degrees (0.1 mm) in longitude and latitude; the expected values are cs2cs's,
// printed to 12 decimals, and the formats keep at least 15 significant digits.
double Tolerance(const std::string& geometry) { return geometry == "lonlat" ? 1e-9 : 1e-3; }

// The German locale writes "1,5" where C writes "1.5"; the files must not follow it.
struct GermanNumbers {
  const bool set = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  ~GermanNumbers() { std::setlocale(LC_ALL, "C"); }
};

class Export : public ::testing::TestWithParam<Case> {};

TEST_P(Export, ReadsBackWithOgr) {
  const Case& c = GetParam();
  const GermanNumbers locale;
  const Folder folder("export");
  geo::ExportRequest request;
  request.path = folder / c[1];
  request.format = kFormats.at(c[0]);
  request.mapCrs = CrsOf("EPSG:27700");
  if (c[2] != "map") request.outputCrs = CrsOf(c[2]);
  const std::vector<KnownPoint> known = KnownPoints();
  for (const KnownPoint& point : known) request.points.push_back(point.point);

  const geo::ExportResult result = TheGeo().exportPoints(request);
  ASSERT_FALSE(result.error) << c.where << ": " << result.error->detail;
  EXPECT_FALSE(result.warning) << c.where;
  EXPECT_EQ(FolderListing(folder.path()), c[5]) << c.where << ": nothing else is left behind";
  std::string written, mainFile;
  for (const std::string& file : result.files) {
    written += (written.empty() ? "" : " ") + fs::path(file).filename().string();
    if (file.ends_with(geo::ExportExtension(request.format))) mainFile = file;
  }
  EXPECT_EQ(written, c[5]) << c.where;

  std::string crs;
  const std::vector<ReadBack> points = ReadWithOgr(mainFile, &crs);
  EXPECT_EQ(crs, c[4]) << c.where;
  ASSERT_EQ(points.size(), known.size()) << c.where;
  for (std::size_t i = 0; i < known.size(); ++i) {
    const geo::ExportPoint& sent = known[i].point;
    EXPECT_EQ(points[i].name, sent.name) << c.where;
    EXPECT_EQ(points[i].fields.map.x, sent.map.x) << c.where;
    EXPECT_EQ(points[i].fields.map.y, sent.map.y) << c.where;
    EXPECT_EQ(points[i].fields.picture.x, sent.picture.x) << c.where;
    EXPECT_EQ(points[i].fields.picture.y, sent.picture.y) << c.where;
    const geo::Position expected = c[3] == "map" ? sent.map : c[3] == "utm30" ? known[i].utm30 : known[i].lonLat;
    EXPECT_NEAR(points[i].geometry.x, expected.x, Tolerance(c[3])) << c.where << " " << sent.name;
    EXPECT_NEAR(points[i].geometry.y, expected.y, Tolerance(c[3])) << c.where << " " << sent.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Export, ::testing::ValuesIn(testing::ReadCases(kGeoTests / "export.txt")),
                         [](const auto& info) { return testing::CaseTestName(info.param, info.index); });

}  // namespace
}  // namespace velmaro::test

// geo/ on the real PROJ and GDAL, one runner for the tables of this folder: CRS lookup, search and
// transformation against cs2cs, every export format read back with OGR, and the map's side file (read back
// by geo/ and by gdalinfo) and bad input on a real disk.

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "geo/geo_impl.h"
#include "tests/common/case_table.h"

namespace velmaro::test {
namespace {

namespace fs = std::filesystem;
using testing::Case;

// A suite of tests on the rows of a table of this folder, each test named after its row.
#define GEO_TABLE(Suite, file)                                                                                \
  class Suite : public ::testing::TestWithParam<Case> {};                                                     \
  INSTANTIATE_TEST_SUITE_P(Table, Suite, ::testing::ValuesIn(testing::ReadCases(VELMARO_GEO_TESTS "/" file)), \
                           [](const auto& info) { return testing::CaseTestName(info.param, info.index); })

// One Geo for the test program, so that PROJ's list is read once.
geo::Geo& TheGeo() {
  static const std::unique_ptr<geo::Geo> geo = geo::CreateGeo();
  return *geo;
}

// An empty Crs for a typo in a table, which every use of it then reports.
geo::Crs CrsOf(const std::string& text) { return TheGeo().crs(text).crs.value_or(geo::Crs{}); }

// The names of paths, sorted, blank between.
template <typename Paths>
std::string Names(const Paths& paths, const char* between = " ") {
  std::string names;
  for (const fs::path& path : std::set<fs::path>(paths.begin(), paths.end())) {
    names += (names.empty() ? "" : between) + path.filename().string();
  }
  return names;
}

std::string Listing(const fs::path& folder) { return Names(std::vector<fs::path>(fs::directory_iterator(folder), {})); }

// "ok", or the error's kind with ":" and the points or the file names it names ("Exists:pts.qix,pts.shp").
std::string Described(const std::optional<geo::GeoError>& error) {
  constexpr const char* kKinds[] = {"UnknownCrs",      "UnsuitableCrs", "NoCrs",         "NoTransformation",
                                    "TransformFailed", "OutsideArea",   "MapUnreadable", "SideFileUnreadable",
                                    "NotWritable",     "Exists",        "WriteFailed",   "FormatUnavailable",
                                    "WorldFileUnreadable"};
  if (!error) return "ok";
  std::string list = Names(error->files, ",");
  for (const int point : error->points) list += (list.empty() ? "" : ",") + std::to_string(point);
  return kKinds[static_cast<int>(error->kind)] + (list.empty() ? "" : ":" + list);
}

// The format whose files end in extension (".shp").
geo::ExportFormat FormatOf(const std::string& extension) {
  int format = 0;
  while (format < 5 && geo::ExportExtension(geo::ExportFormat(format)) != extension) ++format;
  return geo::ExportFormat(format);
}

// A new empty folder under the system's temporary folder, removed with its content at the end.
struct Folder {
  const fs::path path;
  explicit Folder(const std::string& what)
      : path(fs::temp_directory_path() / ("velmaro-geo-" + what + "-" + std::to_string(::getpid()))) {
    fs::remove_all(path);
    fs::create_directory(path);
  }
  ~Folder() {
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_all, ignored);
    fs::remove_all(path, ignored);
  }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
};

// The bytes of a file; nothing for a folder.
std::string Slurp(const fs::path& file) {
  std::ostringstream bytes;
  bytes << std::ifstream(file, std::ios::binary).rdbuf();
  return bytes.str();
}

void WriteFile(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

// A lookup as a row of lookup.txt writes it: the CRS's code ("WKT" for a CRS that has none and is kept as
// its own WKT), its name, geographic or not, its area of use; or the error.
std::string Found(const geo::CrsResult& found) {
  if (!found.crs) return Described(found.error);
  const geo::Crs& crs = *found.crs;
  const std::string code = crs.code.empty() ? "WKT" : crs.authority + ":" + crs.code;
  const bool kept = crs.definition == code || (code == "WKT" && crs.definition.starts_with("PROJCRS["));
  std::ostringstream row;
  row << (kept ? code : "definition " + crs.definition) << " | " << crs.name << " | " << crs.geographic;
  if (!crs.area.known) return row.str() + " | -";
  row << " | " << crs.area.west << " | " << crs.area.south << " | " << crs.area.east << " | " << crs.area.north;
  return row.str();
}

GEO_TABLE(Lookup, "lookup.txt");
TEST_P(Lookup, FindsTheCrsOrSaysWhyNot) {
  const Case& c = GetParam();
  std::string expected = c[1];
  for (std::size_t i = 2; i < c.fields.size(); ++i) expected += " | " + c.fields[i];
  EXPECT_EQ(Found(TheGeo().crs(c[0])), expected) << c.where;
}

GEO_TABLE(Search, "search.txt");
TEST_P(Search, RanksTheCrs) {
  const Case& c = GetParam();
  const std::size_t within = c.integer(2) > 0 ? c.integer(2) : 50;
  const std::vector<geo::Crs> found = TheGeo().searchCrs(c[0], within);
  const auto rank = std::ranges::find(found, c[1], &geo::Crs::definition) - found.begin();
  EXPECT_LE(found.size(), within) << c.where;
  EXPECT_EQ(rank < std::ssize(found), c.integer(2) > 0) << c.where << ": at " << rank + 1 << " of " << found.size();
  EXPECT_TRUE(c[1] != "-" || found.empty()) << c.where << ": " << found[0].definition;
}

GEO_TABLE(Transform, "transform.txt");
TEST_P(Transform, GivesWhatCs2csGives) {
  const Case& c = GetParam();
  const geo::TransformerResult made =
      c[1] == "EPSG:4326" ? TheGeo().toWgs84(CrsOf(c[0])) : TheGeo().transformer(CrsOf(c[0]), CrsOf(c[1]));
  ASSERT_TRUE(made.transformer) << c.where << ": " << Described(made.error);
  // First a point PROJ cannot transform (cs2cs prints "* *" for 1e30 1e30 from most of these CRSs): its
  // failure must not stick to the next point.
  made.transformer->transform({1e30, 1e30});
  const geo::Transformed out = made.transformer->transform({c.number(2), c.number(3)});
  ASSERT_TRUE(out.position) << c.where;
  // cs2cs prints 12 decimals; the same library on the same machine differs from it by that rounding only.
  EXPECT_NEAR(out.position->x, c.number(4), 1e-11) << c.where;
  EXPECT_NEAR(out.position->y, c.number(5), 1e-11) << c.where;
  EXPECT_EQ(out.outsideArea, c.integer(6) == 1) << c.where;
}

constexpr const char* kFields[] = {"map_x", "map_y", "picture_x", "picture_y"};

// A field by our name; GPX gives back those it has no element for as "ogr_map_x" and so on.
double Field(const OGRFeature& feature, const std::string& name) {
  const int index = std::max(feature.GetFieldIndex(name.c_str()), feature.GetFieldIndex(("ogr_" + name).c_str()));
  return index < 0 ? std::nan("") : feature.GetFieldAsDouble(index);
}

// "EPSG:27700" for the CRS GDAL finds for the layer, "-" for none.
std::string CrsCode(OGRLayer& layer) {
  if (layer.GetSpatialRef() == nullptr) return "-";
  OGRSpatialReference srs(*layer.GetSpatialRef());
  srs.AutoIdentifyEPSG();
  const char* code = srs.GetAuthorityCode(nullptr);
  return "EPSG:" + std::string(code != nullptr ? code : "?");
}

GEO_TABLE(Export, "export.txt");
TEST_P(Export, ReadsBackWithOgr) {
  const Case& c = GetParam();
  const std::vector<Case> points = testing::ReadCases(VELMARO_GEO_TESTS "/points.txt");
  const Folder folder("export");
  geo::ExportRequest request{folder / c[1], FormatOf(c[0]), CrsOf("EPSG:27700"), {}, {}, false};
  if (c[2] != "map") request.outputCrs = CrsOf(c[2]);
  for (const Case& p : points) request.points.push_back({p.name, {p.number(0), p.number(1)}, {p.number(2), p.number(3)}});
  // The window runs in the user's locale, where "1,5" may be written for 1.5; a file never follows it.
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  const geo::ExportResult result = TheGeo().exportPoints(request);
  std::setlocale(LC_ALL, "C");
  ASSERT_EQ(Described(result.error ? result.error : result.warning), "ok") << c.where;
  EXPECT_EQ(Names(result.files), c[5]) << c.where;
  EXPECT_EQ(Listing(folder.path), c[5]) << c.where << ": nothing else is left behind";

  const char* const csv[] = {"X_POSSIBLE_NAMES=X", "Y_POSSIBLE_NAMES=Y", nullptr};  // the columns of the points
  const std::string file = folder / fs::path(c[1]).replace_extension(c[0]);  // a shapefile's name got ".shp"
  const GDALDatasetUniquePtr dataset(
      GDALDataset::Open(file.c_str(), GDAL_OF_VECTOR, nullptr, c[0] == ".csv" ? csv : nullptr, nullptr));
  ASSERT_TRUE(dataset) << c.where;
  // The geometry: the map's own coordinates, or the columns of points.txt for longitude and latitude
  // (within 1e-9 degrees) or UTM 30N (within 1 mm).
  const std::size_t column = c[3] == "map" ? 0 : c[3] == "lonlat" ? 4 : 6;
  const double tolerance = c[3] == "lonlat" ? 1e-9 : 1e-3;
  std::size_t i = 0;
  for (OGRLayer* layer : dataset->GetLayers()) {
    for (const auto& feature : *layer) {
      ASSERT_LT(i, points.size()) << c.where;
      const Case& p = points[i++];
      EXPECT_EQ(feature->GetFieldAsString("name"), p.name) << c.where;
      for (int f = 0; f < 4; ++f) EXPECT_EQ(Field(*feature, kFields[f]), p.number(f)) << c.where << ": " << kFields[f];
      const OGRPoint* point = feature->GetGeometryRef()->toPoint();
      EXPECT_NEAR(point->getX(), p.number(column), tolerance) << c.where << ": " << p.name;
      EXPECT_NEAR(point->getY(), p.number(column + 1), tolerance) << c.where << ": " << p.name;
      EXPECT_EQ(CrsCode(*layer), c[4]) << c.where;
    }
  }
  EXPECT_EQ(i, points.size()) << c.where;
}

// The side file of another program that used GDAL: GDAL keeps its own metadata and replaces the CRS, and
// drops what it does not know, which geo/ puts back.
constexpr const char* kOldSideFile =
    "<PAMDataset>\n  <SRS>EPSG:27700</SRS>\n  <Metadata>\n    <MDI key=\"SCANNED_BY\">someone</MDI>\n"
    "  </Metadata>\n  <Calibration source=\"another program\">kept</Calibration>\n</PAMDataset>\n";

// A small black JPEG picture, written by GDAL's JPEG driver; it carries no CRS and has no side file.
void WriteMapPicture(const std::string& file) {
  GDALAllRegister();
  GDALDriverManager& drivers = *GetGDALDriverManager();
  const GDALDatasetUniquePtr pixels(drivers.GetDriverByName("MEM")->Create("", 40, 30, 1, GDT_Byte, nullptr));
  GDALDatasetUniquePtr(drivers.GetDriverByName("JPEG")->CreateCopy(file.c_str(), pixels.get(), 0, 0, 0, 0));
  fs::remove(file + ".aux.xml");  // a copy may note the source's statistics
}

// The setup words of a row of bad_input.txt.
struct Words {
  std::string text;
  bool operator()(const std::string& word) const { return (" " + text + " ").find(" " + word + " ") != std::string::npos; }
};

// An export row's request: 250 points (the table's limit) of a map in EPSG:27700.
geo::ExportRequest ExportOf(const std::string& file, const Words& has) {
  geo::ExportRequest request{file, FormatOf(fs::path(file).extension()), CrsOf("EPSG:27700"), {}, {}, has("replace")};
  if (has("no_crs")) request.mapCrs.reset();
  for (double i = 0; i < 250; ++i) {
    request.points.push_back({"Pt " + std::to_string(int(i) + 1), {3e5 + 1e3 * i, 2e5 + 5e2 * i}, {i, i / 2}});
  }
  // echo 700000 0 | cs2cs EPSG:27700 EPSG:4326  =>  49d49'27.992"N 2d10'18.732"E: east of the area's 2.01°E
  if (has("outside")) request.points[1].map = {700000, 0};
  // echo 1e30 1e30 | cs2cs EPSG:27700 EPSG:4326  =>  * * inf
  if (has("bad_point")) request.points[1].map = {1e30, 1e30};
  return request;
}

std::string RunRow(const Case& c, const std::string& file, const Words& has) {
  if (c[0] == "to_wgs84") return Described(TheGeo().toWgs84(geo::Crs{}).error);
  if (c[0] == "read_side") return Described(TheGeo().readMapCrs(file).error);
  if (c[0] == "write_side") {
    const std::optional<geo::GeoError> error = TheGeo().writeMapCrs(file, CrsOf("EPSG:2056"));
    const geo::CrsResult read = TheGeo().readMapCrs(file);
    return error || !read.crs ? Described(error) : "ok " + read.crs->definition;
  }
  const geo::ExportResult result = TheGeo().exportPoints(ExportOf(file, has));
  return result.error ? Described(result.error) : result.warning ? "ok " + Described(result.warning) : "ok";
}

void Prepare(const fs::path& in, const Words& has) {
  std::istringstream words(has.text);
  for (std::string word; words >> word;) {
    if (word.find('.') != std::string::npos) WriteFile(in / word, "old bytes");
  }
  if (has("map")) WriteMapPicture(in / "map.jpg");
  if (has("not_a_map")) WriteFile(in / "map.jpg", "not a picture\n");
  if (has("old_side")) WriteFile(in / "map.jpg.aux.xml", kOldSideFile);
  if (has("corrupt_side")) WriteFile(in / "map.jpg.aux.xml", "<PAMDataset>\n  <SRS>EPSG:27700</SR");
  if (has("folder_dbf") && fs::create_directory(in / "pts.dbf")) WriteFile(in / "pts.dbf" / "inside.txt", "old");
  if (has("ro_folder")) fs::permissions(in, fs::perms(0555));
}

// The size of the largest file the row makes when nothing limits it, less what the row loses: 10 bytes
// (tail), or its last line (last_line).
rlim_t CutSize(const Case& c, const Words& has) {
  const Folder scratch("full");
  Prepare(scratch.path, has);
  RunRow(c, scratch / c[2], has);
  std::string largest;
  for (const auto& entry : fs::directory_iterator(scratch.path)) {
    if (Slurp(entry).size() > largest.size()) largest = Slurp(entry);
  }
  return has("tail") ? largest.size() - 10 : largest.rfind('\n', largest.size() - 2) + 1;
}

// Every entry of a folder by name: its mode and its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::directory_iterator(folder)) {
    entries[entry.path().filename()] = std::to_string(int(fs::status(entry).permissions())) + "|" + Slurp(entry);
  }
  return entries;
}

GEO_TABLE(BadInput, "bad_input.txt");
TEST_P(BadInput, GetsItsResultAndLosesNothing) {
  const Case& c = GetParam();
  const Words has{c[1]};
  if (has("foreign_dbf") && ::geteuid() != 0) GTEST_SKIP() << "only root can make a file that nobody may move";
  const Folder folder("bad");  // removed as the user who made it, after the row
  [[maybe_unused]] const int given = ::chown(folder.path.c_str(), 65534, 65534);
  if (has("foreign_dbf")) {  // root's file in root's sticky folder, as in /tmp: nobody may move it
    WriteFile(folder.path / "pts.dbf", "root's");
    ASSERT_EQ(::chown(folder.path.c_str(), 0, 0), 0);
    fs::permissions(folder.path, fs::perms(01777));
  }
  // Permission bits do not bind root: a root run writes as "nobody" for the row.
  const bool nobody = ::geteuid() == 0 && ::setegid(65534) == 0 && ::seteuid(65534) == 0;
  ::signal(SIGXFSZ, SIG_IGN);  // a write past the size limit fails with EFBIG instead of ending the process
  Prepare(folder.path, has);
  const std::map<std::string, std::string> before = Snapshot(folder.path);
  rlimit unlimited{};
  ::getrlimit(RLIMIT_FSIZE, &unlimited);
  const rlim_t limit = has("small") ? 200 : has("tail") || has("last_line") ? CutSize(c, has) : unlimited.rlim_cur;
  const rlimit limited{limit, unlimited.rlim_max};
  ::setrlimit(RLIMIT_FSIZE, &limited);
  const std::string result = RunRow(c, folder / c[2], has);
  ::setrlimit(RLIMIT_FSIZE, &unlimited);
  // Changing the effective user made the process undumpable: that goes back too.
  if (nobody && ::seteuid(0) == 0 && ::setegid(0) == 0) ::prctl(PR_SET_DUMPABLE, 1);

  EXPECT_EQ(result, c[3]) << c.where;
  EXPECT_EQ(Listing(folder.path), c[4]) << c.where;
  // A failure changes nothing; a success writes anew every file it leaves but the map.
  for (const auto& [name, entry] : Snapshot(folder.path)) {
    const bool kept = before.count(name) && before.at(name) == entry;
    EXPECT_EQ(kept, !result.starts_with("ok") || name == "map.jpg") << c.where << ": " << name;
  }
  if (c[0] != "write_side" || !result.starts_with("ok")) return;
  // The new side file holds one CRS, and once what GDAL and another program kept in the old one; gdalinfo,
  // GDAL's own client, finds the CRS where any GDAL program would.
  const std::string side = Slurp(folder.path / "map.jpg.aux.xml");
  for (const std::string once : {"<SRS", "SCANNED_BY", "<Calibration source=\"another program\">kept</"}) {
    EXPECT_TRUE(side.find(once) != std::string::npos && side.find(once) == side.rfind(once)) << once << ":\n" << side;
  }
  EXPECT_EQ(std::system(("gdalinfo " + folder / c[2] + " | grep -q '^    ID\\[\"EPSG\",2056\\]\\]$'").c_str()), 0);
}

}  // namespace
}  // namespace velmaro::test

namespace velmaro::test {
namespace {

std::string Lines(std::string text) {
  std::replace(text.begin(), text.end(), '/', '\n');
  return text;
}

GEO_TABLE(WorldFiles, "world_files.txt");
TEST_P(WorldFiles, AsGdalWritesAndReadsThem) {
  const Case& c = GetParam();
  const Folder folder(c.name);
  const std::string map = folder.path / "map.jpg";
  WriteMapPicture(map);
  std::string got;
  if (c[0] == "read") {
    WriteFile(folder.path / c[1], Lines(c[2]));
    const geo::WorldFileResult read = TheGeo().readWorldFile(map);
    std::ostringstream numbers;
    numbers.precision(17);
    for (const double value : read.geoTransform.value_or(geo::GeoTransform{})) numbers << (numbers.tellp() ? " " : "") << value;
    got = read.error ? Described(read.error) : read.geoTransform ? numbers.str() : "none";
  } else if (c[0] == "write") {
    geo::GeoTransform gt{};
    std::istringstream(c[2]) >> gt[0] >> gt[1] >> gt[2] >> gt[3] >> gt[4] >> gt[5];
    ASSERT_EQ(Described(TheGeo().writeWorldFile(map, gt)), "ok") << c.where;
    EXPECT_EQ(TheGeo().readWorldFile(map).geoTransform, gt) << c.where;
    got = Slurp(folder.path / c[1]);
  } else {
    std::vector<geo::GroundControlPoint> gcps;
    std::istringstream points(c[2]);
    for (geo::GroundControlPoint p; points >> p.pixel >> p.line >> p.x >> p.y; points.ignore(1)) gcps.push_back(p);
    ASSERT_EQ(Described(TheGeo().writeGcps(map, gcps)), "ok") << c.where;
    const std::vector<geo::GroundControlPoint> read = TheGeo().readGcps(map);
    const bool same = read.size() == gcps.size() && std::equal(read.begin(), read.end(), gcps.begin(), [](auto& a, auto& b) {
      return a.pixel == b.pixel && a.line == b.line && a.x == b.x && a.y == b.y;
    });
    got = same && fs::exists(folder.path / c[1]) ? "same" : "differs";
  }
  EXPECT_EQ(got, c[0] == "write" ? Lines(c[3]) : c[3]) << c.where;
}

}  // namespace
}  // namespace velmaro::test

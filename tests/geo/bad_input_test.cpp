// Bad input on a real disk, on the rows of bad_input.txt: each gets its result and loses nothing.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>

#include "tests/geo/support.h"

namespace velmaro::test {
namespace {

using testing::Case;

constexpr int kPoints = 250;  // the table's limit
constexpr rlim_t kSmallFile = 200;
const std::string kOld = "old bytes";

std::string KindName(geo::GeoErrorKind kind) {
  constexpr const char* kNames[] = {"UnknownCrs",      "UnsuitableCrs", "NoCrs",         "NoTransformation",
                                    "TransformFailed", "OutsideArea",   "MapUnreadable", "SideFileUnreadable",
                                    "NotWritable",     "Exists",        "WriteFailed",   "FormatUnavailable"};
  return kNames[static_cast<int>(kind)];
}

// "Kind", with ":" and the points or the file names the error names.
std::string Described(const std::optional<geo::GeoError>& error) {
  if (!error) return "ok";
  std::string text = KindName(error->kind);
  std::string list;
  for (const int point : error->points) list += (list.empty() ? "" : ",") + std::to_string(point);
  for (const std::string& file : error->files) list += (list.empty() ? "" : ",") + fs::path(file).filename().string();
  return list.empty() ? text : text + ":" + list;
}

geo::ExportFormat FormatOf(const std::string& file) {
  const std::map<std::string, geo::ExportFormat> byExtension = {
      {".gpkg", geo::ExportFormat::GeoPackage}, {".shp", geo::ExportFormat::Shapefile},
      {".geojson", geo::ExportFormat::GeoJson}, {".gpx", geo::ExportFormat::Gpx},
      {".kml", geo::ExportFormat::Kml},         {".csv", geo::ExportFormat::Csv}};
  return byExtension.at(fs::path(file).extension());
}

geo::ExportRequest ExportOf(const Case& c, const std::string& path, const std::function<bool(const char*)>& has) {
  geo::ExportRequest request;
  request.path = path;
  request.format = FormatOf(c[2]);
  if (!has("no_crs")) request.mapCrs = CrsOf("EPSG:27700");
  request.replace = has("replace");
  for (int i = 0; i < kPoints; ++i) {
    request.points.push_back({"Pt " + std::to_string(i + 1), {300000.0 + 1000 * i, 200000.0 + 500 * i}, {10.0 * i, 5.0 * i}});
  }
  // echo 700000 0 | cs2cs EPSG:27700 EPSG:4326  =>  49d49'27.992"N 2d10'18.732"E: east of the area's 2.01°E
  if (has("outside")) request.points[1].map = {700000, 0};
  // echo 1e30 1e30 | cs2cs EPSG:27700 EPSG:4326  =>  * * inf
  if (has("bad_point")) request.points[1].map = {1e30, 1e30};
  return request;
}

std::string RunRow(const Case& c, const fs::path& folder, const std::function<bool(const char*)>& has) {
  const std::string path = (folder / c[2]).string();
  if (c[0] == "crs") return Described(TheGeo().crs(c[2]).error);
  if (c[0] == "to_wgs84") return Described(TheGeo().toWgs84(geo::Crs{}).error);
  if (c[0] == "read_side") return Described(TheGeo().readMapCrs(path).error);
  if (c[0] == "write_side") return Described(TheGeo().writeMapCrs(path, CrsOf("EPSG:2056")));
  const geo::ExportResult result = TheGeo().exportPoints(ExportOf(c, path, has));
  if (result.error) return Described(result.error);
  return result.warning ? "ok " + Described(result.warning) : "ok";
}

// The size of the largest file the row's export makes when nothing limits it, less what the row loses:
// 10 bytes (tail), or its last line (last_line).
rlim_t CutSize(const Case& c, const std::function<bool(const char*)>& has) {
  const Folder scratch("full");
  const geo::ExportResult result = TheGeo().exportPoints(ExportOf(c, scratch / c[2], has));
  std::string largest;
  for (const std::string& file : result.files) {
    const std::string bytes = Slurp(file);
    if (bytes.size() > largest.size()) largest = bytes;
  }
  const std::size_t lost = has("tail") ? 10 : largest.size() - 1 - largest.rfind('\n', largest.size() - 2);
  return static_cast<rlim_t>(largest.size() - lost);
}

// Every entry of the folder: name, mode, bytes.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::directory_iterator(folder)) {
    entries[entry.path().filename()] =
        std::to_string(static_cast<int>(fs::status(entry.path()).permissions())) + "|" + Slurp(entry.path());
  }
  return entries;
}

std::string Names(const std::map<std::string, std::string>& entries) {
  std::string names;
  for (const auto& [name, entry] : entries) names += (names.empty() ? "" : " ") + name;
  return names;
}

void Prepare(const fs::path& in, const std::function<bool(const char*)>& has, const std::string& argument) {
  if (has("map")) WriteMapPicture(in / "map.jpg");
  if (has("not_a_map")) WriteFile(in / "map.jpg", "not a picture\n");
  if (has("old_side")) WriteFile(in / "map.jpg.aux.xml", "<PAMDataset>\n  <Metadata>\n    <MDI key=\"A\">b</MDI>\n  </Metadata>\n</PAMDataset>\n");
  if (has("corrupt_side")) WriteFile(in / "map.jpg.aux.xml", "<PAMDataset>\n  <SRS>EPSG:27700</SR");
  if (has("old")) WriteFile(in / argument, kOld);
  if (has("old_qix")) WriteFile(in / "pts.qix", kOld);
  if (has("old_wal")) WriteFile(in / "pts.gpkg-wal", kOld);
  if (has("old_dir")) {
    fs::create_directory(in / "pts.dbf");
    WriteFile(in / "pts.dbf" / "inside.txt", kOld);
  }
  if (has("ro_folder")) fs::permissions(in, fs::perms(0555));
}

class BadInput : public ::testing::TestWithParam<Case> {};

// A file that "nobody" may not move away, in a folder where it may make files: root's file in root's
// sticky folder, as in /tmp.
void MakeForeignFile(const fs::path& in, const std::string& name) {
  WriteFile(in / name, kOld);
  ASSERT_EQ(::chown(in.c_str(), 0, 0), 0);
  fs::permissions(in, fs::perms(01777));
}

TEST_P(BadInput, GetsItsResultAndLosesNothing) {
  const Case& c = GetParam();
  const auto has = [&c](const char* word) { return (" " + c[1] + " ").find(" " + std::string(word) + " ") != std::string::npos; };
  if (has("foreign_dbf") && ::geteuid() != 0) GTEST_SKIP() << "only root can make a file that nobody may move";
  const Folder folder("bad");  // removed as the user who made it, after the row
  [[maybe_unused]] const int given = ::chown(folder.path().c_str(), 65534, 65534);
  if (has("foreign_dbf")) MakeForeignFile(folder.path(), "pts.dbf");

  const AsNobody nobody;
  ::umask(022);
  ::signal(SIGXFSZ, SIG_IGN);  // a write past the size limit fails with EFBIG instead of ending the process
  Prepare(folder.path(), has, c[2]);
  const std::map<std::string, std::string> before = Snapshot(folder.path());

  rlimit unlimited{}, small{};
  ::getrlimit(RLIMIT_FSIZE, &unlimited);
  const bool cut = has("tail") || has("last_line");
  small = {cut ? CutSize(c, has) : kSmallFile, unlimited.rlim_max};
  ::setrlimit(RLIMIT_FSIZE, has("small") || cut ? &small : &unlimited);
  const std::string result = RunRow(c, folder.path(), has);
  ::setrlimit(RLIMIT_FSIZE, &unlimited);

  EXPECT_EQ(result, c[3]) << c.where;
  const std::map<std::string, std::string> after = Snapshot(folder.path());
  EXPECT_EQ(Names(after), c[4]) << c.where;
  if (!result.starts_with("ok")) {
    EXPECT_EQ(after, before) << c.where;
    return;
  }
  for (const auto& [name, entry] : after) {
    if (name == "map.jpg") continue;
    EXPECT_NE(entry, before.count(name) ? before.at(name) : "") << c.where << ": " << name << " is new";
  }
}

INSTANTIATE_TEST_SUITE_P(Table, BadInput, ::testing::ValuesIn(testing::ReadCases(kGeoTests / "bad_input.txt")),
                         [](const auto& info) { return testing::CaseTestName(info.param, info.index); });

}  // namespace
}  // namespace velmaro::test

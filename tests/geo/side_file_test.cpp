// The CRS kept in the map's side file: written by geo/, read back by geo/ and once by gdalinfo.

#include <cstdio>

#include "tests/geo/support.h"

namespace velmaro::test {
namespace {

constexpr const char* kOldSideFile =
    "<PAMDataset>\n"
    "  <Metadata>\n"
    "    <MDI key=\"SCANNED_BY\">someone</MDI>\n"
    "  </Metadata>\n"
    "  <Calibration source=\"another program\">kept</Calibration>\n"
    "</PAMDataset>\n";

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(SideFile, KeepsTheLastCrsAndWhatElseItHeld) {
  const Folder folder("side");
  const std::string map = folder / "map.jpg";
  WriteMapPicture(map);
  WriteFile(geo::SideFileName(map), kOldSideFile);
  ASSERT_FALSE(TheGeo().writeMapCrs(map, CrsOf("EPSG:27700")));
  ASSERT_FALSE(TheGeo().writeMapCrs(map, CrsOf("EPSG:2056")));

  const geo::CrsResult read = TheGeo().readMapCrs(map);
  ASSERT_TRUE(read.crs) << read.error->detail;
  EXPECT_EQ(read.crs->definition, "EPSG:2056");
  EXPECT_EQ(read.crs->name, "CH1903+ / LV95");
  const std::string side = Slurp(geo::SideFileName(map));
  EXPECT_EQ(Count(side, "<MDI key=\"SCANNED_BY\">someone</MDI>"), 1u) << side;  // GDAL's own, kept by GDAL
  EXPECT_EQ(Count(side, "<Calibration source=\"another program\">kept</Calibration>"), 1u) << side;
  EXPECT_EQ(Count(side, "<SRS"), 1u) << side;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder.path())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"map.jpg", "map.jpg.aux.xml"}));
}

// gdalinfo, GDAL's own client, finds the CRS where any GDAL program would.
TEST(SideFile, GdalinfoReportsTheCrs) {
  const Folder folder("gdalinfo");
  const std::string map = folder / "map.jpg";
  WriteMapPicture(map);
  ASSERT_FALSE(TheGeo().writeMapCrs(map, CrsOf("2056")));
  std::FILE* pipe = ::popen(("gdalinfo '" + map + "' 2>&1").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string report;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) report.append(buffer, n);
  EXPECT_EQ(::pclose(pipe), 0) << report;
  EXPECT_NE(report.find("PROJCRS[\"CH1903+ / LV95\""), std::string::npos) << report;
  EXPECT_NE(report.find("ID[\"EPSG\",2056]]"), std::string::npos) << report;
}

// A CRS that no authority's code stands for comes back as its WKT and transforms as before.
TEST(SideFile, ACrsWithoutCodeComesBackWhole) {
  const Folder folder("custom");
  const std::string map = folder / "map.jpg";
  WriteMapPicture(map);
  const geo::Crs custom = CrsOf("+proj=tmerc +lat_0=0 +lon_0=15 +k=0.9999 +x_0=500000 +y_0=-5000000 +ellps=GRS80 +units=m +type=crs");
  ASSERT_TRUE(custom.code.empty());
  ASSERT_FALSE(TheGeo().writeMapCrs(map, custom));
  const geo::CrsResult read = TheGeo().readMapCrs(map);
  ASSERT_TRUE(read.crs) << read.error->detail;
  EXPECT_TRUE(read.crs->code.empty());
  const geo::TransformerResult original = TheGeo().toWgs84(custom);
  const geo::TransformerResult reread = TheGeo().toWgs84(*read.crs);
  ASSERT_TRUE(original.transformer && reread.transformer);
  const geo::Position point{512345.5, 321987.25};
  const auto before = original.transformer->transform(point).position;
  const auto after = reread.transformer->transform(point).position;
  ASSERT_TRUE(before && after);
  EXPECT_EQ(before->x, after->x);
  EXPECT_EQ(before->y, after->y);
}

}  // namespace
}  // namespace velmaro::test

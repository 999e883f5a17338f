// The loader as the program links it: GDAL and PROJ come into the process with the module, not before.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "geo/geo_loader.h"

namespace velmaro::test {
namespace {

namespace fs = std::filesystem;

bool Mapped(const std::string& library) {
  std::ifstream maps("/proc/self/maps");
  std::ostringstream text;
  text << maps.rdbuf();
  return text.str().find(library) != std::string::npos;
}

TEST(GeoLoader, LoadsTheModuleWhenFirstAskedAndFailsCleanlyWithoutIt) {
  ASSERT_FALSE(Mapped("libgdal.so")) << "the program must not pay for GDAL at start-up";
  ASSERT_FALSE(Mapped("libproj.so"));

  const fs::path empty = fs::temp_directory_path() / ("velmaro-geo-loader-" + std::to_string(::getpid()));
  fs::create_directories(empty);
  const geo::LoadedGeo missing = geo::LoadGeo(empty.string());
  fs::remove_all(empty);
  EXPECT_EQ(missing.geo, nullptr);
  EXPECT_NE(missing.error.find(geo::kGeoModuleFile), std::string::npos) << missing.error;
  EXPECT_FALSE(Mapped("libgdal.so"));

  const geo::LoadedGeo loaded = geo::LoadGeo(VELMARO_GEO_MODULE_DIR);
  ASSERT_NE(loaded.geo, nullptr) << loaded.error;
  EXPECT_TRUE(Mapped("libgdal.so"));
  EXPECT_TRUE(Mapped("libproj.so"));
  const geo::CrsResult found = loaded.geo->crs("EPSG:2056");
  ASSERT_TRUE(found.crs);
  EXPECT_EQ(found.crs->name, "CH1903+ / LV95");

  EXPECT_EQ(geo::LoadGeo("/nowhere").geo, loaded.geo) << "once loaded, the module stays";
}

}  // namespace
}  // namespace velmaro::test

// The loader as the program links it: GDAL and PROJ come into the process with the module, not before.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "geo/geo_loader.h"

namespace velmaro::test {
namespace {

bool Mapped(const std::string& library) {
  std::ostringstream maps;
  maps << std::ifstream("/proc/self/maps").rdbuf();
  return maps.str().find(library) != std::string::npos;
}

TEST(GeoLoader, LoadsTheModuleWhenFirstAskedAndFailsCleanlyWithoutIt) {
  ASSERT_FALSE(Mapped("libgdal.so") || Mapped("libproj.so")) << "the program must not pay for GDAL at start-up";
  const std::string empty = ::testing::TempDir() + "velmaro-geo-loader-" + std::to_string(::getpid());
  std::filesystem::create_directories(empty);
  const geo::LoadedGeo missing = geo::LoadGeo(empty);
  std::filesystem::remove(empty);
  EXPECT_TRUE(missing.geo == nullptr && missing.error.find(geo::kGeoModuleFile) != std::string::npos) << missing.error;

  const geo::LoadedGeo loaded = geo::LoadGeo(VELMARO_GEO_MODULE_DIR);
  ASSERT_NE(loaded.geo, nullptr) << loaded.error;
  EXPECT_TRUE(Mapped("libgdal.so") && Mapped("libproj.so") && loaded.geo->crs("EPSG:2056").crs);
  EXPECT_EQ(geo::LoadGeo("/nowhere").geo, loaded.geo) << "once loaded, the module stays";
}

}  // namespace
}  // namespace velmaro::test

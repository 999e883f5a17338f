#pragma once
// What the tests of geo/ share: a fresh folder, the geo interface, a map picture, the points.

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "geo/geo.h"
#include "geo/geo_impl.h"
#include "tests/common/case_table.h"

namespace velmaro::test {

namespace fs = std::filesystem;
inline const fs::path kGeoTests = VELMARO_GEO_TESTS;

// One Geo for the test program, so that PROJ's list is read once.
inline geo::Geo& TheGeo() {
  static const std::unique_ptr<geo::Geo> geo = geo::CreateGeo();
  return *geo;
}

inline geo::Crs CrsOf(const std::string& text) {
  const geo::CrsResult found = TheGeo().crs(text);
  if (!found.crs) ADD_FAILURE() << text << ": " << (found.error ? found.error->detail : "");
  return found.crs.value_or(geo::Crs{});
}

// A new empty folder under the system's temporary folder, removed with its content at the end.
class Folder {
 public:
  explicit Folder(const std::string& what)
      : path_(fs::temp_directory_path() / ("velmaro-geo-" + what + "-" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::create_directory(path_);
  }
  ~Folder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, ignored);
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

inline std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void WriteFile(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

// Permission bits do not bind root: a root run writes as "nobody" while this lives (as the tests of
// files/ do). Changing the effective user makes the process undumpable, so that goes back too.
struct AsNobody {
  const bool switched = ::geteuid() == 0 && ::setegid(65534) == 0 && ::seteuid(65534) == 0;
  ~AsNobody() {
    if (switched && ::seteuid(0) == 0 && ::setegid(0) == 0) ::prctl(PR_SET_DUMPABLE, 1);
  }
};

// A small grey JPEG picture, written by GDAL's JPEG driver; it carries no CRS and has no side file.
void WriteMapPicture(const fs::path& file);

// The points of points.txt as the window hands them over, with what cs2cs gives for them.
struct KnownPoint {
  geo::ExportPoint point;
  geo::Position lonLat;  // EPSG:4326, longitude first
  geo::Position utm30;   // EPSG:32630
};
std::vector<KnownPoint> KnownPoints();

}  // namespace velmaro::test

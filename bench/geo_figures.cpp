// Figures for geo/: loading the module, reading PROJ's CRS list, one keystroke of the chooser over the
// cached list, and an export of 250 points (the table's limit) in every format. It goes through LoadGeo
// as the program would, and prints; it never fails on a timing.
//   velmaro_geo_figures [application folder]   (default: the folder of this program)

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "geo/geo_loader.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
using velmaro::geo::ExportFormat;

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

template <class Work>
double Timed(Work&& work) {
  const auto start = Clock::now();
  work();
  return Milliseconds(start);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Keystrokes(velmaro::geo::Geo& geo, const std::string& typed) {
  std::vector<double> times;
  std::size_t found = 0;
  for (std::size_t n = 1; n <= typed.size(); ++n) {
    times.push_back(Timed([&] { found = geo.searchCrs(typed.substr(0, n), 50).size(); }));
  }
  std::printf("  typing %-14s %2zu keystrokes: median %.2f ms, slowest %.2f ms (goal 50 ms); %zu found at the end\n",
              ("\"" + typed + "\"").c_str(), typed.size(), Median(times), *std::max_element(times.begin(), times.end()),
              found);
}

void Exports(velmaro::geo::Geo& geo, const fs::path& folder) {
  velmaro::geo::ExportRequest request;
  request.mapCrs = geo.crs("EPSG:27700").crs;
  request.replace = true;
  for (int i = 0; i < 250; ++i) {
    request.points.push_back({"Pt " + std::to_string(i + 1), {300000.0 + 1000 * i, 200000.0 + 500 * i}, {4.0 * i, 3.0 * i}});
  }
  const std::pair<ExportFormat, const char*> formats[] = {
      {ExportFormat::GeoPackage, "GeoPackage"}, {ExportFormat::Shapefile, "Shapefile"}, {ExportFormat::GeoJson, "GeoJSON"},
      {ExportFormat::Gpx, "GPX"},               {ExportFormat::Kml, "KML"},             {ExportFormat::Csv, "CSV"}};
  for (const auto& [format, name] : formats) {
    request.format = format;
    request.path = (folder / ("points" + std::string(velmaro::geo::ExportExtension(format)))).string();
    bool failed = false;
    const double first = Timed([&] { failed = geo.exportPoints(request).error.has_value(); });
    std::vector<double> times;
    for (int run = 0; run < 9; ++run) times.push_back(Timed([&] { failed |= geo.exportPoints(request).error.has_value(); }));
    std::printf("  %-10s first %6.1f ms, then median %6.1f ms, slowest %6.1f ms (goal 200 ms)%s\n", name, first,
                Median(times), *std::max_element(times.begin(), times.end()), failed ? "  FAILED" : "");
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : fs::canonical("/proc/self/exe").parent_path().string();
  velmaro::geo::LoadedGeo loaded;
  const double load = Timed([&] { loaded = velmaro::geo::LoadGeo(folder); });
  if (loaded.geo == nullptr) {
    std::fprintf(stderr, "the module cannot be loaded: %s\n", loaded.error.c_str());
    return 1;
  }
  velmaro::geo::Geo& geo = *loaded.geo;
  std::printf("geo/ figures\n  loading libvelmaro_geo.so with GDAL and PROJ: %.1f ms\n", load);
  std::printf("  reading PROJ's CRS list once: %.1f ms\n", Timed([&] { geo.prepareSearch(); }));
  Keystrokes(geo, "UTM zone 32N");
  Keystrokes(geo, "27700");
  Keystrokes(geo, "LV95");
  Keystrokes(geo, "lambert 93");
  velmaro::geo::TransformerResult made;
  const double create = Timed([&] { made = geo.toWgs84(*geo.crs("EPSG:27700").crs); });
  const double each = Timed([&] {
    for (int i = 0; i < 10000; ++i) made.transformer->transform({300000.0 + i, 200000.0 + i});
  }) / 10000;
  std::printf("  read-out transformer EPSG:27700 to WGS 84: made in %.1f ms, %.2f us a point\n", create, each * 1000);

  const fs::path out = fs::temp_directory_path() / ("velmaro-geo-figures-" + std::to_string(::getpid()));
  fs::create_directories(out);
  Exports(geo, out);
  fs::remove_all(out);
  return 0;
}

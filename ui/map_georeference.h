#pragma once
// What VELMARO keeps beside a map for GDAL and QGIS, and reads back when the map opens: its coordinate
// reference system (CRS) in the side file (map.jpg.aux.xml), with a transformation to WGS 84 for the
// read-out; and a calibration from reference points, as a world file (map.jgw) for the Helmert and affine
// models and the edges, or as ground control points in the side file for a projective model. PROJ and GDAL
// (geo/) are loaded the first time any of this is needed, never at start-up; a map without a side file or a
// world file never loads them. Without a CRS and a model nothing changes.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/model_fit.h"
#include "core/point_values.h"
#include "geo/geo.h"
#include "platform/platform.h"

namespace velmaro::ui {

class MapGeoreference {
 public:
  // The module is looked for in the platform's application folder, beside the program.
  explicit MapGeoreference(const platform::Platform& platform) : platform_(platform) {}

  // The geo module, loaded on the first call; nothing when it cannot be loaded (`whyNot` then says why).
  geo::Geo* geo(std::string* whyNot = nullptr);

  // Another map is shown: its CRS is the one its side file holds, if any (a side file GDAL cannot read, or
  // a CRS PROJ cannot use, counts as none).
  void mapOpened(const std::string& mapPath);
  // The user chose `crs` for the map: stored in its side file first, taken only when that worked.
  std::optional<geo::GeoError> choose(const std::string& mapPath, const geo::Crs& crs);

  const std::optional<geo::Crs>& crs() const { return crs_; }
  // Where the map counts degrees: its X and Y carry the hemisphere letters' signs.
  bool inDegrees() const { return crs_ && crs_->geographic; }
  // "47.123457° N  8.100000° E" for a map position (signed, east before north), when a CRS is chosen and
  // PROJ can transform the position; "" otherwise. A position outside the CRS's area of use says so.
  std::string latitudeLongitude(MapValues position);

  // What happened to a file kept beside the map: the error names the file; a model is the one now in use.
  struct Kept {
    std::optional<MapTransform> model;
    std::optional<geo::GeoError> error;
    std::string file;
  };
  // Keeps `model` beside the map (twips per pixel `tpp`): Helmert and affine as the world file, whose
  // numbers then place the presses (the model given back), so that GDAL's tools reading the file compute
  // what VELMARO records; projective as ground control points from the points in use, and no world file
  // left to contradict it.
  Kept keepModel(const std::string& mapPath, const MapTransform& model, const std::vector<KnownPoint>& points, double tpp);
  // The map's world file, when it has one, rewritten from the calibration in use; a map without one gets
  // none. Nothing when there was nothing to do.
  std::optional<Kept> keepWorldFileInStep(const std::string& mapPath, const MapTransform& transform, double tpp);
  // The model the map's world file or ground control points hold; nothing when it has neither, or an
  // error (with nothing in use) when its world file cannot be read.
  Kept storedModel(const std::string& mapPath, CanvasSize canvas, double tpp);

 private:
  void take(std::optional<geo::Crs> crs);

  const platform::Platform& platform_;
  geo::Geo* geo_ = nullptr;
  std::optional<geo::Crs> crs_;
  std::unique_ptr<geo::Transformer> toWgs84_;
};

}  // namespace velmaro::ui

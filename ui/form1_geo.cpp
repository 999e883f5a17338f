// Form1 and the map's coordinate reference system: choosing it (kept in the map's side file), WGS 84
// latitude and longitude in the read-out, and exporting the points through GDAL. Without a CRS chosen,
// the window is exactly as without any of this.

#include <QLineEdit>

#include "core/point_values.h"
#include "files/map_file_names.h"
#include "platform/platform.h"
#include "ui/crs_chooser.h"
#include "ui/form1.h"
#include "ui/map_canvas.h"
#include "ui/map_georeference.h"
#include "ui/twips.h"
#include "ui/utf8_text.h"

namespace velmaro::ui {

namespace {

std::string Names(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : "\n") + name;
  return text;
}

std::string Detail(const geo::GeoError& error) { return error.detail.empty() ? "" : "\n\n" + error.detail; }

// The user's words for what geo/ reports; `file` is the file being written.
std::string Words(const geo::GeoError& error, const std::string& file) {
  const auto pointNames = [&] {
    std::string names;
    for (const int index : error.points) names += (names.empty() ? "" : ", ") + PointName(index + 1);
    return names.empty() ? std::string("Some points") : names;
  };
  switch (error.kind) {
    case geo::GeoErrorKind::UnknownCrs: return "PROJ does not know that coordinate system." + Detail(error);
    case geo::GeoErrorKind::UnsuitableCrs: return "That coordinate system is not one a flat map is drawn in.";
    case geo::GeoErrorKind::NoCrs:
      return "The map has no coordinate system yet: choose it first (Coordinate system\u2026, Ctrl+R).";
    case geo::GeoErrorKind::NoTransformation:
      return "PROJ knows no way from the map's coordinate system to the one chosen." + Detail(error);
    case geo::GeoErrorKind::TransformFailed:
      return pointNames() + " cannot be put into the coordinate system chosen. Nothing was written." + Detail(error);
    case geo::GeoErrorKind::OutsideArea:
      return pointNames() + " lie outside the area where the coordinate system is meant to be used: their " +
             "coordinates there may be less accurate.";
    case geo::GeoErrorKind::MapUnreadable: return "GDAL cannot open the map picture." + Detail(error);
    case geo::GeoErrorKind::SideFileUnreadable:
      return "The map's side file " + file + " is not one GDAL can read; it was left as it is." + Detail(error);
    case geo::GeoErrorKind::NotWritable:
      return file + " cannot be written: no permission, a read-only disk, or no such folder." + Detail(error);
    case geo::GeoErrorKind::Exists: return Names(error.files) + "\n\nexists already.";
    case geo::GeoErrorKind::WriteFailed:
      return "Writing " + file + " failed; no file was changed." + Detail(error);
    case geo::GeoErrorKind::FormatUnavailable:
      return "VELMARO cannot use PROJ and GDAL here." + Detail(error);
    case geo::GeoErrorKind::WorldFileUnreadable:
      return "The world file " + file + " cannot be read: the map opens without it." + Detail(error);
  }
  return {};
}

}  // namespace

geo::Geo* Form1::geoOrSayWhyNot() {
  std::string whyNot;
  geo::Geo* geo = georef_->geo(&whyNot);
  if (!geo) {
    platform_.showMessage({Words({geo::GeoErrorKind::FormatUnavailable, whyNot, {}, {}}, {}),
                           platform::Buttons::Ok, platform::Icon::Stop, std::nullopt});
  }
  return geo;
}

void Form1::CoordinateSystem() {
  geo::Geo* geo = geoOrSayWhyNot();
  if (!geo) return;
  if (!crsChooser_) {
    crsChooser_ = new CrsChooser(*geo, "The coordinate system the map is drawn in, kept with the map for GDAL and QGIS.",
                                 georef_->crs(), this);
    crsChooser_->setAttribute(Qt::WA_DeleteOnClose);
    crsChooser_->setChooseHandler([this](const geo::Crs& crs) { chooseMapCrs(crs); });
  }
  crsChooser_->show();
  crsChooser_->raise();
  crsChooser_->activateWindow();
}

CrsChooser* Form1::crsChooser() const { return crsChooser_; }
ExportDialog* Form1::exportDialog() const { return exportDialog_; }

void Form1::chooseMapCrs(const geo::Crs& crs) {
  // The side file goes beside the picture shown, whatever the info file put into the map's name field.
  const std::string& map = shownMap_;
  if (const std::optional<geo::GeoError> error = georef_->choose(map, crs)) {
    platform_.showMessage({Words(*error, geo::SideFileName(map)), platform::Buttons::Ok, platform::Icon::Stop,
                           std::nullopt});
    return;
  }
  showReadout();
}

std::string Form1::latitudeLongitude(const Cursor& cursor) const {
  if (!georef_->crs() || !cursor.computed) return {};
  return georef_->latitudeLongitude(CursorValues(cursor, mapFrame(), georef_->inDegrees()));
}

void Form1::ExportPoints() {
  geo::Geo* geo = geoOrSayWhyNot();
  if (!geo) return;
  if (!exportDialog_) {
    exportDialog_ = new ExportDialog(*geo, georef_->crs(), this);
    exportDialog_->setAttribute(Qt::WA_DeleteOnClose);
    exportDialog_->setExportHandler([this](const ExportDialog::Choice& choice) { exportAs(choice); });
  }
  exportDialog_->show();
  exportDialog_->raise();
  exportDialog_->activateWindow();
}

void Form1::exportAs(const ExportDialog::Choice& choice) {
  geo::Geo& geo = *georef_->geo();
  const std::string extension(geo::ExportExtension(choice.format));
  const std::string pattern = "*" + extension;
  const std::string& map = shownMap_;
  // The points' file beside the map by default, as the XY file is.
  const std::string preset = map.size() > 4 ? map.substr(0, map.size() - 4) + extension : pattern;
  std::string path = platform_.chooseFile({platform::DialogMode::Save, FormatName(choice.format), pattern, preset});
  if (path.empty() || path == pattern) return;  // cancelled
  if (path.size() < extension.size() || path.compare(path.size() - extension.size(), extension.size(), extension) != 0)
    path += extension;

  geo::ExportRequest request{path, choice.format, georef_->crs(), choice.outputCrs, {}, false};
  const double tpp = TwipsPerPixel(Picture1);
  for (const PointRow& row : table_.rows()) {
    const std::optional<MapValues> values = PointValues(row, georef_->inDegrees());
    if (!values) continue;
    request.points.push_back({row.name, {values->x, values->y}, {row.pictureX / tpp, row.pictureY / tpp}});
  }
  const std::vector<std::string> replaced = geo.filesReplacedBy(request);
  if (!replaced.empty()) {
    const platform::Answer answer = platform_.showMessage(
        {Names(replaced) + "\n\nexists already. Replace it?", platform::Buttons::YesNo, platform::Icon::None, std::nullopt});
    if (answer != platform::Answer::Yes) return;
    request.replace = true;
  }
  const geo::ExportResult result = geo.exportPoints(request);
  if (result.error) {
    platform_.showMessage({Words(*result.error, path), platform::Buttons::Ok, platform::Icon::Stop, std::nullopt});
    return;
  }
  std::string done = std::to_string(request.points.size()) + (request.points.size() == 1 ? " point" : " points") +
                     " exported to " + path + ".";
  if (result.warning) done += "\n\n" + Words(*result.warning, path);
  platform_.showMessage({done, platform::Buttons::Ok, platform::Icon::Information, std::nullopt});
}

void Form1::storeModel(const std::vector<KnownPoint>& points) {
  if (!model_ || shownMap_.empty() || !geoOrSayWhyNot()) return;
  const MapGeoreference::Kept kept = georef_->keepModel(shownMap_, *model_, points, TwipsPerPixel(Picture1));
  setModel(kept.model);
  if (kept.error) {
    platform_.showMessage({Words(*kept.error, kept.file) + "\n\nThe calibration applies all the same until the map is closed.",
                           platform::Buttons::Ok, platform::Icon::Stop, std::nullopt});
  }
}

void Form1::keepWorldFileInStep() {
  const std::optional<MapGeoreference::Kept> kept =
      georef_->keepWorldFileInStep(shownMap_, calibration().transform(), TwipsPerPixel(Picture1));
  if (kept && kept->error)
    platform_.showMessage({Words(*kept->error, kept->file), platform::Buttons::Ok, platform::Icon::Stop, std::nullopt});
}

void Form1::useStoredCalibration(bool infoFileRead) {
  const MapGeoreference::Kept stored = georef_->storedModel(shownMap_, canvasSize(), TwipsPerPixel(Picture1));
  if (stored.error)
    platform_.showMessage({Words(*stored.error, stored.file), platform::Buttons::Ok, platform::Icon::Stop, std::nullopt});
  if (!stored.model) return;
  // The info file's notation when there is one, else the CRS's: degrees for a geographic one, metres otherwise.
  if (!infoFileRead) setNotation(georef_->inDegrees() ? CoordinateType::DecimalDegrees : CoordinateType::Meters);
  setModel(stored.model);
}

}  // namespace velmaro::ui

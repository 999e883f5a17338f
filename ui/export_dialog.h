#pragma once
// "Export points…": the format and the coordinate system of an export of the point table. A small
// non-modal dialog: the format (GeoPackage, ESRI Shapefile, GeoJSON, GPX waypoints, KML, CSV), and the
// output CRS: the map's own or another one chosen with the coordinate-system chooser; GeoJSON, GPX and KML
// are always WGS 84 longitude and latitude, as their standards fix. "Export…" hands the choice to the window,
// which asks for the file's name; "Cancel" closes.

#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>

#include "geo/geo.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace velmaro::ui {

class CrsChooser;

class ExportDialog : public QDialog {
 public:
  struct Choice {
    geo::ExportFormat format = geo::ExportFormat::GeoPackage;
    std::optional<geo::Crs> outputCrs;  // nothing: the map's own
  };
  using ExportHandler = std::function<void(const Choice& choice)>;

  ExportDialog(geo::Geo& geo, const std::optional<geo::Crs>& mapCrs, QWidget* parent);
  void setExportHandler(ExportHandler handler) { export_ = std::move(handler); }
  void Export();
  // The chooser for "another" coordinate system, while it is open.
  CrsChooser* chooser() const;

  QComboBox* Format = nullptr;
  QRadioButton* MapCrsOption = nullptr;
  QRadioButton* OtherCrsOption = nullptr;
  QPushButton* ChangeCrs = nullptr;
  QLabel* Note = nullptr;
  QPushButton* ExportButton = nullptr;
  QPushButton* CancelButton = nullptr;

 private:
  void showFormat();
  void chooseOther();

  geo::Geo& geo_;
  std::optional<geo::Crs> other_;
  ExportHandler export_;
  QPointer<CrsChooser> chooser_;
};

// The format's name as the dialog lists it, and its file dialog's filter description.
const char* FormatName(geo::ExportFormat format);

}  // namespace velmaro::ui

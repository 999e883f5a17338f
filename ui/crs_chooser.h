#pragma once
// "Coordinate system…": finds a coordinate reference system by name or code as it is typed ("UTM 32N",
// "27700", "LV95"), from PROJ's own list, showing each candidate's area of use. A small non-modal dialog,
// like the calibration dialog: "Choose" (Return, or a double-click on a candidate) hands the current
// candidate over and closes; "Cancel" closes and changes nothing. PROJ's list is read in the background
// when the dialog opens, so typing never waits for it.

#include <QDialog>
#include <functional>
#include <future>
#include <optional>
#include <vector>

#include "geo/geo.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace velmaro::ui {

class CrsChooser : public QDialog {
 public:
  using ChooseHandler = std::function<void(const geo::Crs& crs)>;

  // `current` is shown as the choice so far; `purpose` is the dialog's first line.
  CrsChooser(geo::Geo& geo, const QString& purpose, const std::optional<geo::Crs>& current, QWidget* parent);
  ~CrsChooser() override;
  void setChooseHandler(ChooseHandler handler) { choose_ = std::move(handler); }

  // The candidates for what the search field holds, best first; the first becomes current.
  void search();
  void Choose();

  QLineEdit* Search = nullptr;
  QTreeWidget* Candidates = nullptr;  // code, name, area of use
  QLabel* Current = nullptr;
  QPushButton* ChooseButton = nullptr;
  QPushButton* CancelButton = nullptr;

 private:
  geo::Geo& geo_;
  ChooseHandler choose_;
  std::vector<geo::Crs> found_;
  std::future<void> prepared_;
  QTimer* retry_ = nullptr;  // a search typed before PROJ's list is read runs once it is
};

// "EPSG:32632 WGS 84 / UTM zone 32N": how a CRS is named to the user.
QString CrsTitle(const geo::Crs& crs);

}  // namespace velmaro::ui

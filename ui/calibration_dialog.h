#pragma once
// "Calibrate from points…": a small non-modal dialog that lists the reference points pressed on the map
// (in twips of the canvas, picture space) with a field each for the known X and Y, typed as the frame
// fields take them in the notation selected now. Every change refits (core/calibration) and shows the
// residuals; "Apply" hands the four edge texts to the window and closes, or shows why it cannot and
// stays open; "Cancel" closes and changes nothing.

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/calibration.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace velmaro::ui {

class CalibrationDialog : public QDialog {
 public:
  using ApplyHandler = std::function<void(const std::array<std::string, 4>& edges)>;

  // The notation and the canvas size are asked afresh at every fit.
  CalibrationDialog(std::function<NotationChoice()> notation, std::function<CanvasSize()> canvas, QWidget* parent);
  void setApplyHandler(ApplyHandler handler) { apply_ = std::move(handler); }

  // A new row for a press at (x, y) twips. The dialog becomes the active window with the row's known X
  // open for typing: Tab goes on to its known Y, Return ends the row, ready for the next press.
  void addReferencePoint(double x, double y);
  void Apply();

  QTableWidget* Points = nullptr;  // x, y, known X, known Y, residual X, residual Y
  QLabel* Report = nullptr;        // the fit's summary, or why there is none
  QPushButton* ApplyButton = nullptr;
  QPushButton* CancelButton = nullptr;

 private:
  void takeKeyboard();
  std::vector<ReferencePoint> referencePoints() const;
  Calibration refit();

  std::function<NotationChoice()> notation_;
  std::function<CanvasSize()> canvas_;
  ApplyHandler apply_;
  std::vector<std::pair<double, double>> places_;  // twips, in row order
  bool refitting_ = false;  // while the dialog writes its own cells, which must not refit again
};

}  // namespace velmaro::ui

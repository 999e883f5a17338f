#pragma once
// "Calibrate from points…": a small non-modal dialog that lists the reference points pressed on the map
// (in twips of the canvas, picture space) with a field each for the known X and Y, typed as the frame
// fields take them in the notation selected now, and whether the point is used. The model is chosen above
// the list: the edges (each axis fitted on its own into the four edge values, the frame fields' own form),
// Helmert, affine or projective. Every change refits and shows each point's residual in map units and in
// pixels and the RMS error, or why no fit can be made. "Apply" hands the fit to the window and closes, or
// shows why it cannot and stays open; "Cancel" closes and changes nothing.

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/calibration.h"
#include "core/model_fit.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace velmaro::ui {

class CalibrationDialog : public QDialog {
 public:
  using ApplyHandler = std::function<void(const std::array<std::string, 4>& edges)>;
  // A model other than the edges, with the points it was fitted from (switched-off ones included).
  using ModelHandler = std::function<void(const MapTransform& model, const std::vector<KnownPoint>& points)>;

  // The notation, the canvas size and the twips to a pixel are asked afresh at every fit.
  CalibrationDialog(std::function<NotationChoice()> notation, std::function<CanvasSize()> canvas,
                    std::function<double()> twipsPerPixel, QWidget* parent);
  void setApplyHandler(ApplyHandler handler) { apply_ = std::move(handler); }
  void setModelHandler(ModelHandler handler) { applyModel_ = std::move(handler); }

  // A new row for a press at (x, y) twips. The dialog becomes the active window with the row's known X
  // open for typing: Tab goes on to its known Y, Return ends the row, ready for the next press.
  void addReferencePoint(double x, double y);
  void Apply();

  QComboBox* Model = nullptr;      // edges, Helmert, affine, projective
  QTableWidget* Points = nullptr;  // x, y, known X, known Y, residual X, residual Y, residual in pixels, used
  QLabel* Report = nullptr;        // the fit's summary, or why there is none
  QPushButton* ApplyButton = nullptr;
  QPushButton* CancelButton = nullptr;

 private:
  struct Fit {
    std::optional<std::string> refusal;
    std::array<std::string, 4> edges;  // the edges model's texts
    std::optional<MapTransform> model;  // any other model
    Residuals residuals;
    double largestResidual = 0;  // the edges: of both axes, map units
    double roundingShift = 0;    // the edges: what rounding their texts moves the frame by, map units
  };
  void takeKeyboard();
  TransformModel model() const;
  std::vector<KnownPoint> knownPoints() const;
  Fit fitEdges();
  Fit fitModel();
  Fit refit();
  void showResiduals(const Residuals& residuals);

  std::function<NotationChoice()> notation_;
  std::function<CanvasSize()> canvas_;
  std::function<double()> twipsPerPixel_;
  ApplyHandler apply_;
  ModelHandler applyModel_;
  std::vector<std::pair<double, double>> places_;  // twips, in row order
  bool refitting_ = false;  // while the dialog writes its own cells, which must not refit again
};

}  // namespace velmaro::ui

// Form1's undo and redo of the point changes, and the link to the calibration dialog. The table side of
// a change is kept by core/point_history; what it did to the canvas (the pixels under its disc, the
// canvas's fill state) and to the grid's current cell is kept here.

#include <QAction>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

#include "ui/calibration_dialog.h"
#include "ui/edge_field.h"
#include "ui/form1.h"
#include "ui/map_canvas.h"
#include "ui/point_grid.h"
#include "ui/preview_image.h"
#include "ui/twips.h"
#include "ui/utf8_text.h"

namespace velmaro::ui {

void Form1::installHistoryAndCalibration() {
  auto shortcut = [this](QKeySequence keys, void (Form1::*handler)()) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, handler);
  };
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), &Form1::UndoPointChange);
  shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &Form1::RedoPointChange);
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), &Form1::RedoPointChange);
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_K), &Form1::CalibrateFromPoints);
  auto* calibrate = new QAction(QString::fromUtf8("Calibrate from points\u2026"), Image1);
  connect(calibrate, &QAction::triggered, this, &Form1::CalibrateFromPoints);
  Image1->addAction(calibrate);
  Image1->setContextMenuPolicy(Qt::ActionsContextMenu);
}

PointState Form1::pointState() const { return PointState{cursor_, Command3->isEnabled()}; }

Form1::CanvasPatch Form1::takePatch(double x, double y, double radius, QColor colour) const {
  CanvasPatch patch;
  patch.x = x;
  patch.y = y;
  patch.radius = radius;
  patch.colour = colour;
  patch.fillBefore = Picture1->fillColor();
  patch.solidBefore = Picture1->fillStyleSolid();
  patch.currentRow = XY_Grid->currentRow();
  patch.currentColumn = XY_Grid->currentColumn();
  if (radius <= 0) return patch;
  // The square that MapCanvas::circle paints into, one pixel wider on each side.
  const double tpp = TwipsPerPixel(Picture1);
  const int margin = static_cast<int>(radius / tpp) + 3;
  const QPoint centre = QPointF(x / tpp, y / tpp).toPoint();
  const QRect square(centre - QPoint(margin, margin), QSize(2 * margin + 1, 2 * margin + 1));
  MapCanvas::Snapshot snapshot = Picture1->snapshotBeforeCircle(square);
  patch.topLeft = snapshot.topLeft;
  patch.pixels = std::move(snapshot.pixels);
  patch.generation = snapshot.generation;
  patch.waitingDisc = snapshot.waitingDisc;
  return patch;
}

void Form1::recordPointChange(PointChange::Kind kind, int row, PointRow point, const PointState& before,
                              CanvasPatch patch) {
  const std::size_t step = history_.record(PointChange{kind, row, std::move(point), before, pointState()});
  patches_.resize(step);
  patches_.push_back(std::move(patch));
}

void Form1::showPointChange(const PointChange& change, const PointState& state) {
  cursor_ = state.cursor;
  Command3->setEnabled(state.saveEnabled);
  XY_Grid->showRows(change.row, table_.size() + 1);
  Picture1_MouseMove();
}

void Form1::UndoPointChange() {
  PointState state;
  const std::optional<std::size_t> step = history_.undo(table_, state);
  if (!step) return;
  const CanvasPatch& patch = patches_[*step];
  // Pixels taken from another map (or before the picture was dropped) would paint the old map onto the
  // new one: then the table goes back and the canvas stays as it is.
  Picture1->restore(MapCanvas::Snapshot{patch.topLeft, patch.pixels, patch.generation, patch.waitingDisc});
  Picture1->setFillColor(patch.fillBefore);
  Picture1->setFillStyleSolid(patch.solidBefore);
  showPointChange(history_.step(*step), state);
  XY_Grid->makeCurrent(patch.currentRow, patch.currentColumn);
}

void Form1::RedoPointChange() {
  PointState state;
  const std::optional<std::size_t> step = history_.redo(table_, state);
  if (!step) return;
  const PointChange& change = history_.step(*step);
  CanvasPatch& patch = patches_[*step];
  // Done again as at the first time: the pixels under the disc are taken afresh, then the disc drawn.
  patch = takePatch(patch.x, patch.y, patch.radius, patch.colour);
  if (patch.radius > 0) paintDisc(patch.x, patch.y, patch.radius, patch.colour);
  showPointChange(change, state);
  if (change.kind == PointChange::Kind::Added) {
    showCapturedRow(change.row);
  } else if (patch.radius > 0 && !table_.empty()) {
    XY_Grid->makeCurrent(table_.size(), 0);
  }
}

void Form1::CalibrateFromPoints() {
  if (!calibration_) {
    calibration_ = new CalibrationDialog([this] { return notation(); }, [this] { return canvasSize(); }, this);
    calibration_->setAttribute(Qt::WA_DeleteOnClose);
    calibration_->setApplyHandler([this](const std::array<std::string, 4>& edges) { applyCalibration(edges); });
  }
  calibration_->show();
  calibration_->raise();
  calibration_->activateWindow();
}

CalibrationDialog* Form1::calibrationDialog() const { return calibration_; }

bool Form1::takesReferencePoint(int button, double x, double y) {
  if (button != 1 || !calibration_ || !calibration_->isVisible()) return false;
  calibration_->addReferencePoint(x, y);
  return true;
}

void Form1::applyCalibration(const std::array<std::string, 4>& edges) {
  EdgeField* const fields[] = {Text2, Text3, Text4, Text5};
  for (int i = 0; i < 4; ++i) fields[i]->setText(Utf8(edges[static_cast<std::size_t>(i)]));
  Image1_MouseMove();
}

}  // namespace velmaro::ui

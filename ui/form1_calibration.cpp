// Form1's keys and the preview's context menu, undo and redo of the point changes (the work is
// ui/point_editor's), and the link to the calibration dialog, which takes the canvas's left presses as
// reference points while it is open.

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>

#include "ui/calibration_dialog.h"
#include "core/calibration.h"
#include "files/journal_record.h"
#include "ui/edge_field.h"
#include "ui/form1.h"
#include "ui/map_canvas.h"
#include "ui/twips.h"
#include "ui/map_viewport.h"
#include "ui/point_editor.h"
#include "ui/preview_image.h"
#include "ui/tab_control.h"
#include "ui/utf8_text.h"

namespace velmaro::ui {

namespace {
constexpr int kMapTab = 0;
}  // namespace

void Form1::installShortcuts() {
  auto shortcut = [this](QKeySequence keys, void (Form1::*handler)()) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, handler);
  };
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), &Form1::UndoPointChange);
  shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &Form1::RedoPointChange);
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), &Form1::RedoPointChange);
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_K), &Form1::CalibrateFromPoints);
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_R), &Form1::CoordinateSystem);
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_E), &Form1::ExportPoints);
  // The preview's context menu leads to the same.
  for (const auto& [text, handler] : {std::pair{"Calibrate from points\u2026", &Form1::CalibrateFromPoints},
                                      std::pair{"Coordinate system\u2026", &Form1::CoordinateSystem},
                                      std::pair{"Export points\u2026", &Form1::ExportPoints}}) {
    auto* action = new QAction(QString::fromUtf8(text), Image1);
    connect(action, &QAction::triggered, this, handler);
    Image1->addAction(action);
  }
  Image1->setContextMenuPolicy(Qt::ActionsContextMenu);
  viewport_->installShortcuts(*SSTab1->page(kMapTab));
}

void Form1::UndoPointChange() { undo(); }
void Form1::RedoPointChange() { redo(); }

void Form1::undo() {
  if (!editor_->undo()) return;
  showReadout();
  journalChange({RecordKind::Undo, {}});
}

void Form1::redo() {
  if (!editor_->redo()) return;
  showReadout();
  journalChange({RecordKind::Redo, {}});
}

void Form1::CalibrateFromPoints() {
  if (!calibration_) {
    calibration_ = new CalibrationDialog([this] { return notation(); }, [this] { return canvasSize(); },
                                         [this] { return TwipsPerPixel(Picture1); }, this);
    calibration_->setAttribute(Qt::WA_DeleteOnClose);
    calibration_->setApplyHandler([this](const std::array<std::string, 4>& edges) { applyCalibration(edges); });
    calibration_->setModelHandler(
        [this](const MapTransform& model, const std::vector<KnownPoint>& points) { applyModel(model, points); });
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
  setModel(std::nullopt);
  EdgeField* const fields[] = {Text2, Text3, Text4, Text5};
  for (int i = 0; i < 4; ++i) fields[i]->setText(Utf8(edges[static_cast<std::size_t>(i)]));
  Image1_MouseMove();
  keepWorldFileInStep();
}

void Form1::applyModel(const MapTransform& model, const std::vector<KnownPoint>& points) {
  setModel(model);
  storeModel(points);
}

void Form1::setModel(std::optional<MapTransform> model) {
  const bool changed = model.has_value() != model_.has_value() || (model && ModelText(*model) != ModelText(*model_));
  model_ = std::move(model);
  modelNote_->setVisible(model_.has_value());
  if (changed) journalChange({RecordKind::ReferenceModel, {model_ ? ModelText(*model_) : std::string()}});
  if (!model_) return;
  static constexpr const char* kNames[] = {"edges", "a Helmert model", "an affine model", "a projective model"};
  modelNote_->setText(QString("Calibrated by %1 from reference points; the edges show its closest axis-parallel frame.")
                          .arg(kNames[static_cast<int>(model_->model)]));
  const NotationChoice chosen = notation();
  const std::optional<EdgeValues> frame = ClosestFrame(*model_, canvasSize());
  if (frame && chosen) {
    const std::array<double, 4> values{frame->left, frame->right, frame->top, frame->bottom};
    EdgeField* const fields[] = {Text2, Text3, Text4, Text5};
    for (std::size_t i = 0; i < 4; ++i) fields[i]->setText(Utf8(EdgeText(values[i], *chosen)));
  }
  MapFrame captions = mapFrame();
  SetAxisCaptions(captions, Directions(*model_, canvasSize()));
  setCaptions(captions.xCaption, captions.yCaption);
}

}  // namespace velmaro::ui

#include "ui/point_editor.h"

#include <QPushButton>

#include "ui/map_canvas.h"
#include "ui/point_grid.h"

namespace velmaro::ui {

namespace {
const QColor kMarkerRed(255, 0, 0);
const QColor kRemovalGreen(0, 255, 0);
constexpr double kMarkerRadius = 30;       // twips
constexpr double kRemovalMarkRadius = 40;  // twips
}  // namespace

PointEditor::PointEditor(PointTable& table, Cursor& cursor, MapCanvas& canvas, PointGrid& grid, QPushButton& saveButton)
    : table_(table), cursor_(cursor), canvas_(canvas), grid_(grid), saveButton_(saveButton) {}

PointState PointEditor::state() const { return PointState{cursor_, saveButton_.isEnabled()}; }

CaptureOutcome PointEditor::capture(double x, double y, const MapCalibration& calibration) {
  const PointState before = state();
  // The marker comes first, so a press on a full table still leaves its disc.
  CanvasMark mark = markAndDraw(x, y, kMarkerRadius, kMarkerRed);
  const CaptureResult result = CapturePoint(table_, cursor_, calibration, x, y);
  if (result.outcome == CaptureOutcome::TableFull) return result.outcome;
  grid_.showRows(result.row, result.row);
  showCapturedRow(result.row);
  saveButton_.setEnabled(true);
  record(PointChange::Kind::Added, result.row, table_.row(result.row), before, std::move(mark));
  return result.outcome;
}

void PointEditor::removeNearest(double x, double y, const MapCalibration& calibration) {
  const PointState before = state();
  const PointTable tableBefore = table_;
  // The green mark goes down even when no point is chosen: it shows where the press landed.
  CanvasMark mark = markAndDraw(x, y, kRemovalMarkRadius, kRemovalGreen);
  const std::optional<int> removed = RemoveNearestPoint(table_, cursor_, calibration, x, y);
  if (!removed) return;
  grid_.showRows(*removed, table_.size() + 1);
  if (!table_.empty()) grid_.makeCurrent(table_.size(), 0);
  record(PointChange::Kind::Removed, *removed, tableBefore.row(*removed), before, std::move(mark));
}

void PointEditor::removeRow(int row) {
  const PointState before = state();
  const PointTable tableBefore = table_;
  CanvasMark mark = markAndDraw(0, 0, 0, QColor());
  if (!table_.removeRow(row)) return;
  grid_.showRows(row, table_.size() + 1);
  record(PointChange::Kind::Removed, row, tableBefore.row(row), before, std::move(mark));
}

PointEditor::CanvasMark PointEditor::markAndDraw(double x, double y, double radius, QColor colour) {
  CanvasMark mark{DiscMark{x, y, radius, colour.rgb() & 0xFFFFFFu, canvas_.fillColor().rgb() & 0xFFFFFFu,
                           canvas_.fillStyleSolid(), grid_.currentRow(), grid_.currentColumn()},
                  DiscUndo{}};
  if (radius <= 0 || !drawing_) return mark;
  // The fill state stays set afterwards, as a picture box keeps it.
  canvas_.setFillColor(colour);
  canvas_.setFillStyleSolid(true);
  mark.undo = canvas_.circle(x, y, radius, colour);
  return mark;
}

void PointEditor::record(PointChange::Kind kind, int row, PointRow point, const PointState& before, CanvasMark mark) {
  history_.record(PointChange{kind, row, std::move(point), before, state()}, std::move(mark));
}

void PointEditor::showCapturedRow(int row) {
  // Every capture sets the widths, also when they are already so, and leaves the new row current and in view.
  grid_.setDesignColumnWidths();
  grid_.makeCurrent(row, 0);
  grid_.scrollToRow(row);
}

void PointEditor::showChange(const PointChange& change, const PointState& state) {
  cursor_ = state.cursor;
  saveButton_.setEnabled(state.saveEnabled);
  grid_.showRows(change.row, table_.size() + 1);
}

bool PointEditor::undo() {
  PointState state;
  const auto* step = history_.undo(table_, state);
  if (!step) return false;
  const CanvasMark& mark = step->mark;
  // Pixels taken from another map (or before the picture was dropped) would paint the old map onto the new
  // one: then the table goes back and the canvas stays as it is.
  canvas_.takeBack(mark.undo);
  canvas_.setFillColor(QColor::fromRgb(mark.disc.fillBefore));
  canvas_.setFillStyleSolid(mark.disc.solidBefore);
  showChange(step->change, state);
  grid_.makeCurrent(mark.disc.currentRow, mark.disc.currentColumn);
  return true;
}

bool PointEditor::redo() {
  PointState state;
  auto* step = history_.redo(table_, state);
  if (!step) return false;
  const PointChange& change = step->change;
  const DiscMark was = step->mark.disc;
  // Done again as at the first time: the pixels under the disc are taken afresh, then the disc drawn.
  step->mark = markAndDraw(was.x, was.y, was.radius, QColor::fromRgb(was.colour));
  showChange(change, state);
  if (change.kind == PointChange::Kind::Added) {
    showCapturedRow(change.row);
  } else if (was.radius > 0 && !table_.empty()) {
    grid_.makeCurrent(table_.size(), 0);
  }
  return true;
}

std::vector<PointHistory<DiscMark>::Step> PointEditor::steps() const {
  std::vector<PointHistory<DiscMark>::Step> steps;
  for (const auto& step : history_.steps()) steps.push_back({step.change, step.mark.disc});
  return steps;
}

void PointEditor::restoreSteps(const std::vector<PointHistory<DiscMark>::Step>& steps, std::size_t done) {
  std::vector<PointHistory<CanvasMark>::Step> restored;
  for (const auto& step : steps) restored.push_back({step.change, CanvasMark{step.mark, DiscUndo{}}});
  history_.restore(std::move(restored), done);
}

}  // namespace velmaro::ui

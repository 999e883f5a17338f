#pragma once
// The points on the map as the user changes them: a capture (a red disc, then a new row), a removal of the
// nearest point (a green disc, then the row goes), a removal of a grid row, and undo and redo of each. The
// table side is core/capture, core/removal and core/point_history; this adds what a change does on the
// canvas (its disc, the canvas's fill state) and in the grid (the rows shown anew, the current cell), and
// takes those back too. The disc of a press that changes nothing (a full table, no point to remove) stays
// on the map and is no step of the history.

#include <QColor>

#include "core/capture.h"
#include "core/map_calibration.h"
#include "core/map_frame.h"
#include "core/point_history.h"
#include "core/point_table.h"
#include "files/session_snapshot.h"
#include "ui/disc_layer.h"

class QPushButton;

namespace velmaro::ui {

class MapCanvas;
class PointGrid;

class PointEditor {
 public:
  // The table and cursor are the window's; "Save XY File" is enabled by the first capture.
  PointEditor(PointTable& table, Cursor& cursor, MapCanvas& canvas, PointGrid& grid, QPushButton& saveButton);

  // Positions in twips of the canvas, picture space, placed on the map by the calibration in use.
  CaptureOutcome capture(double x, double y, const MapCalibration& calibration);
  void removeNearest(double x, double y, const MapCalibration& calibration);
  // The grid's own removal: the row goes, the count drops and the names close up.
  void removeRow(int row);

  // Each says whether there was a step to take back or do again.
  bool undo();
  bool redo();

  // The undo steps as a journal keeps them, and put back: steps put back take back only the table and
  // the grid, never pixels, as the steps of an earlier map do.
  std::vector<PointHistory<DiscMark>::Step> steps() const;
  std::size_t stepsDone() const { return history_.done(); }
  void restoreSteps(const std::vector<PointHistory<DiscMark>::Step>& steps, std::size_t done);
  // Without drawing, captures and removals change the table and the grid but draw no disc (the points
  // of a map that is no longer there).
  void setDrawing(bool drawing) { drawing_ = drawing; }

 private:
  // What a change did outside the table: its disc (none for the grid's removal or without drawing), the
  // canvas's fill state and the grid's current cell before it, and what takes the disc back.
  struct CanvasMark {
    DiscMark disc;
    DiscUndo undo;
  };
  PointState state() const;
  CanvasMark markAndDraw(double x, double y, double radius, QColor colour);
  void record(PointChange::Kind kind, int row, PointRow point, const PointState& before, CanvasMark mark);
  void showCapturedRow(int row);
  void showChange(const PointChange& change, const PointState& state);

  PointTable& table_;
  Cursor& cursor_;
  MapCanvas& canvas_;
  PointGrid& grid_;
  QPushButton& saveButton_;
  PointHistory<CanvasMark> history_;
  bool drawing_ = true;
};

}  // namespace velmaro::ui

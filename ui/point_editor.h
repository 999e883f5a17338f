#pragma once
// The points on the map as the user changes them: a capture (a red disc, then a new row), a removal of the
// nearest point (a green disc, then the row goes), a removal of a grid row, and undo and redo of each. The
// table side is core/capture, core/removal and core/point_history; this adds what a change does on the
// canvas (its disc, the canvas's fill state) and in the grid (the rows shown anew, the current cell), and
// takes those back too. The disc of a press that changes nothing (a full table, no point to remove) stays
// on the map and is no step of the history.

#include <QColor>

#include "core/capture.h"
#include "core/map_frame.h"
#include "core/point_history.h"
#include "core/point_table.h"
#include "ui/disc_layer.h"

class QPushButton;

namespace velmaro::ui {

class MapCanvas;
class PointGrid;

class PointEditor {
 public:
  // The table and cursor are the window's; "Save XY File" is enabled by the first capture.
  PointEditor(PointTable& table, Cursor& cursor, MapCanvas& canvas, PointGrid& grid, QPushButton& saveButton);

  // Positions in twips of the canvas, picture space.
  CaptureOutcome capture(double x, double y, const MapFrame& frame, NotationChoice notation, CanvasSize canvas);
  void removeNearest(double x, double y, const MapFrame& frame, NotationChoice notation, CanvasSize canvas);
  // The grid's own removal: the row goes, the count drops and the names close up.
  void removeRow(int row);

  // Each says whether there was a step to take back or do again.
  bool undo();
  bool redo();

 private:
  // What a change did outside the table: its disc (none for the grid's removal), the canvas's fill state
  // and the grid's current cell before it, and what takes the disc back.
  struct CanvasMark {
    double x = 0, y = 0, radius = 0;  // twips
    QColor colour;
    QColor fillBefore;
    bool solidBefore = false;
    int currentRow = 0, currentColumn = 0;
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
};

}  // namespace velmaro::ui

#pragma once
// A press on the canvas with any button but the right one: the position becomes a point of the table.
// The red marker is the window's affair and is drawn before this is called.

#include "core/map_frame.h"
#include "core/map_transform.h"
#include "core/point_table.h"

namespace velmaro {

enum class CaptureOutcome {
  Captured,   // a new row was appended
  TableFull,  // 250 points already: nothing changed, the window says "Maximum 250 points"
};

struct CaptureResult {
  CaptureOutcome outcome = CaptureOutcome::TableFull;
  int row = 0;  // the row filled, when captured
};

// Pixel2Map at (x, y), rounding by notation, letters from the captions as they stand, then a new row.
// A coordinate that cannot be computed repeats the cursor's previous value (0 before any), rounded again.
CaptureResult CapturePoint(PointTable& table, Cursor& cursor, const MapFrame& frame, NotationChoice notation,
                           double x, double y, CanvasSize canvas);

// The same capture with the coordinates from any transform (Pixel2Map is the edges model of the frame);
// the letters still come from the frame's captions, which SetAxisCaptions keeps in step with the model.
CaptureResult CapturePoint(PointTable& table, Cursor& cursor, const MapTransform& transform, const MapFrame& frame,
                           NotationChoice notation, double x, double y);

}  // namespace velmaro

#pragma once

#include <optional>
#include <vector>

#include "core/map_frame.h"
#include "core/map_transform.h"

#include <optional>
#include <vector>

#include "core/map_frame.h"

namespace velmaro::bench {

class BenchWindow;

// Times of single captures and removals, microseconds.
struct PointTimings {
  std::vector<double> captureMicroseconds;
  std::vector<double> removalMicroseconds;
};

// The table is filled to 249 points, then `rounds` times: a capture makes the 250th point (timed), and a
// right press on the oldest point removes it (timed), which renumbers and rewrites every row below it: the
// longest removal there is. Presses fall on a 100 x 100 lattice over the canvas, never twice on the same
// spot while its point is in the table, in the design frame and notation (meters, 5000 units a side).

// Through the window's handlers, Picture1_MouseDown(left) and Remove_Point: marker, logic and grid rows.
// With `withRepaint` each timing also takes the paint the press causes (the marker on the canvas and any
// visible grid cells), handled at once instead of by the next turn of the event loop. nullopt when a press
// did not add or remove exactly one point.
std::optional<PointTimings> WindowPointTimings(BenchWindow& window, int rounds, bool withRepaint);

// The same presses through core's CapturePoint and Remove_Point alone, on a canvas of `canvas` twips, placed
// by the frame's edges or, given one, by a model fitted from reference points.
std::optional<PointTimings> CorePointTimings(CanvasSize canvas, int rounds,
                                             std::optional<MapTransform> model = std::nullopt);

// A projective model of the canvas, as a photograph of the design frame taken at an angle would give.
MapTransform PhotographModel(CanvasSize canvas);

// The time of fitting `model` to 50 reference points spread over the canvas, microseconds, `rounds` times.
std::vector<double> FitMicroseconds(TransformModel model, CanvasSize canvas, int rounds);

}  // namespace velmaro::bench

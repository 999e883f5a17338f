#pragma once
// How the map is calibrated right now, the one thing every press, read-out and removal asks: the frame
// fields with their notation and the canvas's size (the edges), and, when the map was calibrated from
// reference points with another model, that model. The edges are computed exactly as they always were;
// a model, when there is one, takes their place everywhere.

#include <optional>
#include <string>
#include <string_view>

#include "core/capture.h"
#include "core/map_frame.h"
#include "core/map_transform.h"
#include "core/point_table.h"

namespace velmaro {

struct MapCalibration {
  MapFrame frame;  // its captions give the letters in every model
  NotationChoice notation;
  CanvasSize canvas;                 // twips
  std::optional<MapTransform> model;  // Helmert, affine or projective; none: the edges

  // The transform in use: the model, or the edges of the frame as the notation reads them.
  MapTransform transform() const;
};

// A capture at (x, y) twips: Pixel2Map of the edges, or the model.
CaptureResult CapturePoint(PointTable& table, Cursor& cursor, const MapCalibration& calibration, double x, double y);

// The removal of the point nearest to (X, Y) twips: Remove_Point of the frame, or through the model.
std::optional<int> RemoveNearestPoint(PointTable& table, Cursor& cursor, const MapCalibration& calibration, double X,
                                      double Y);

// A model as one line of text, and back, for the recovery journal: "affine" and its nine coefficients in
// their shortest exact form ("helmert", "projective" likewise). Nothing for the edges or unreadable text.
std::string ModelText(const MapTransform& model);
std::optional<MapTransform> ReadModelText(std::string_view text);

// The cursor a press at (x, y) would leave, rounded as a capture rounds it, for the read-out under the
// pointer: nothing of the last capture is touched.
Cursor ProbeCursor(const MapCalibration& calibration, double x, double y);

}  // namespace velmaro

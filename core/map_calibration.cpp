#include "core/map_calibration.h"

#include "core/removal.h"

namespace velmaro {

MapTransform MapCalibration::transform() const { return model ? *model : EdgesTransform(frame, notation, canvas); }

CaptureResult CapturePoint(PointTable& table, Cursor& cursor, const MapCalibration& calibration, double x, double y) {
  if (!calibration.model) return CapturePoint(table, cursor, calibration.frame, calibration.notation, x, y, calibration.canvas);
  return CapturePoint(table, cursor, *calibration.model, calibration.frame, calibration.notation, x, y);
}

std::optional<int> RemoveNearestPoint(PointTable& table, Cursor& cursor, const MapCalibration& calibration, double X,
                                      double Y) {
  if (!calibration.model)
    return Remove_Point(table, cursor, calibration.frame, calibration.notation, X, Y, calibration.canvas);
  return Remove_Point(table, cursor, *calibration.model, calibration.notation, X, Y);
}

Cursor ProbeCursor(const MapCalibration& calibration, double x, double y) {
  Cursor probe;
  PlaceCursor(probe, PictureToMap(calibration.transform(), x, y));
  RoundForCapture(probe, calibration.notation);
  return probe;
}

}  // namespace velmaro

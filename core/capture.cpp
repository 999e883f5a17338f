#include "core/capture.h"

namespace velmaro {
namespace {

CaptureResult Record(PointTable& table, Cursor& cursor, const MapFrame& frame, NotationChoice notation, double x,
                     double y) {
  CellTexts texts = RoundForCapture(cursor, notation);
  const int row = table.append(XLetter(frame.xCaption), std::move(texts.x), YLetter(frame.yCaption),
                               std::move(texts.y), x, y);
  return {CaptureOutcome::Captured, row};
}

}  // namespace

CaptureResult CapturePoint(PointTable& table, Cursor& cursor, const MapFrame& frame, NotationChoice notation,
                           double x, double y, CanvasSize canvas) {
  // The limit is tested before anything is computed: a refused press leaves even the cursor alone.
  if (table.full()) return {CaptureOutcome::TableFull, 0};
  Pixel2Map(x, y, canvas, frame, notation, cursor);
  return Record(table, cursor, frame, notation, x, y);
}

CaptureResult CapturePoint(PointTable& table, Cursor& cursor, const MapTransform& transform, const MapFrame& frame,
                           NotationChoice notation, double x, double y) {
  if (table.full()) return {CaptureOutcome::TableFull, 0};
  PlaceCursor(cursor, PictureToMap(transform, x, y));
  return Record(table, cursor, frame, notation, x, y);
}

}  // namespace velmaro

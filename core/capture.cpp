#include "core/capture.h"

namespace velmaro {

CaptureResult CapturePoint(PointTable& table, Cursor& cursor, const MapFrame& frame, NotationChoice notation,
                           double x, double y, CanvasSize canvas) {
  // The limit is tested before anything is computed: a refused press leaves even the cursor alone.
  if (table.full()) return {CaptureOutcome::TableFull, 0};
  Pixel2Map(x, y, canvas, frame, notation, cursor);
  CellTexts texts = RoundForCapture(cursor, notation);
  const int row = table.append(XLetter(frame.xCaption), std::move(texts.x), YLetter(frame.yCaption),
                               std::move(texts.y), x, y);
  return {CaptureOutcome::Captured, row};
}

}  // namespace velmaro

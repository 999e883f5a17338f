#include "core/removal.h"

#include <cmath>
#include <string_view>

#include "core/dms.h"
#include "core/number_text.h"

namespace velmaro {
namespace {

// The removal reads every text as far as it is a number: a frame field or point text that is not one
// reads as 0 and the search measures from there.
double ReadForRemoval(std::string_view text, NotationChoice notation) {
  if (notation == CoordinateType::DegMinSec) return Degre2Decimal(text);
  return LeadingNumber(text);
}

double CutToFourDecimals(double v) { return Floor(v * 10000) / 10000; }

// The press position on one axis, by the capture's transform. A zero canvas side or an overflowing
// result leaves that coordinate at 0.
double PressCoordinate(std::string_view firstEdge, std::string_view secondEdge, double pointer, double side,
                       NotationChoice notation) {
  if (side == 0) return 0;
  const double first = ReadForRemoval(firstEdge, notation);
  const double second = ReadForRemoval(secondEdge, notation);
  const double value = first + pointer * ((second - first) / side);
  return std::isfinite(value) ? CutToFourDecimals(value) : 0;
}

double CutDistance(double px, double py, double cx, double cy) {
  const double dx = px - cx;
  const double dy = py - cy;
  return CutToFourDecimals(std::sqrt(dx * dx + dy * dy));
}

}  // namespace

std::optional<int> Remove_Point(PointTable& table, Cursor& cursor, const MapFrame& frame, NotationChoice notation,
                                double X, double Y, CanvasSize canvas) {
  const double px = PressCoordinate(frame.left, frame.right, X, canvas.width, notation);
  const double py = PressCoordinate(frame.top, frame.bottom, Y, canvas.height, notation);

  double minimum = kRemovalSearchStart;
  int best = 0;
  for (int i = 1; i <= table.size(); ++i) {
    // The cursor is the search's working pair: afterwards it holds the last point read.
    cursor.x = ReadForRemoval(table.row(i).xText, notation);
    cursor.y = ReadForRemoval(table.row(i).yText, notation);
    cursor.computed = true;
    const double distance = CutDistance(px, py, cursor.x, cursor.y);
    // ">=" hands a tie to the later row; a distance that is no number never wins.
    if (minimum >= distance) {
      minimum = distance;
      best = i;
    }
  }
  if (best == 0) return std::nullopt;
  table.removeRow(best);
  return best;
}

}  // namespace velmaro

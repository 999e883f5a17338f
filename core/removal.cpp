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

// A press coordinate by the transform, cut to four decimals; a coordinate it cannot give is 0.
double PressCoordinate(std::optional<double> value) { return value ? CutToFourDecimals(*value) : 0; }

double CutDistance(double px, double py, double cx, double cy) {
  const double dx = px - cx;
  const double dy = py - cy;
  return CutToFourDecimals(std::sqrt(dx * dx + dy * dy));
}

}  // namespace

std::optional<int> Remove_Point(PointTable& table, Cursor& cursor, const MapFrame& frame, NotationChoice notation,
                                double X, double Y, CanvasSize canvas) {
  const MapTransform press = EdgesTransform(ReadForRemoval(frame.left, notation), ReadForRemoval(frame.right, notation),
                                            ReadForRemoval(frame.top, notation), ReadForRemoval(frame.bottom, notation),
                                            canvas);
  return Remove_Point(table, cursor, press, notation, X, Y);
}

std::optional<int> Remove_Point(PointTable& table, Cursor& cursor, const MapTransform& transform,
                                NotationChoice notation, double X, double Y) {
  const MapPosition press = PictureToMap(transform, X, Y);
  const double px = PressCoordinate(press.x);
  const double py = PressCoordinate(press.y);

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

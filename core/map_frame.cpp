#include "core/map_frame.h"

#include <cmath>

#include "core/dms.h"
#include "core/number_text.h"

namespace velmaro {
namespace {

// One axis of the transform: first + pointer * ((second - first) / side). A missing edge value, a
// zero side or a result beyond the range of a double gives nothing, and the caller keeps its old value.
std::optional<double> InterpolateAxis(std::optional<double> first, std::optional<double> second, double pointer,
                                      double side) {
  if (!first || !second || side == 0) return std::nullopt;
  const double value = *first + pointer * ((*second - *first) / side);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

// The cut works on the double product, so 0.29999 becomes 0.29998. A value so large that the product
// overflows cannot be cut and stays as it is.
double CutToFiveDecimals(double v) {
  const double cut = Floor(v * 100000) / 100000;
  return std::isfinite(cut) ? cut : v;
}

}  // namespace

std::optional<double> ReadEdgeValue(std::string_view text, NotationChoice notation) {
  if (notation == CoordinateType::DegMinSec) return Degre2Decimal(text);
  return WholeTextNumber(text);
}

void Pixel2Map(double x, double y, CanvasSize canvas, const MapFrame& frame, NotationChoice notation,
               Cursor& cursor) {
  const auto newX = InterpolateAxis(ReadEdgeValue(frame.left, notation), ReadEdgeValue(frame.right, notation), x,
                                    canvas.width);
  const auto newY = InterpolateAxis(ReadEdgeValue(frame.top, notation), ReadEdgeValue(frame.bottom, notation), y,
                                    canvas.height);
  if (newX) cursor.x = *newX;
  if (newY) cursor.y = *newY;
  if (newX || newY) cursor.computed = true;
}

CellTexts RoundForCapture(Cursor& cursor, NotationChoice notation) {
  if (notation == CoordinateType::DegMinSec) {
    cursor.xDms = Decimal2Degre(cursor.x);
    cursor.yDms = Decimal2Degre(cursor.y);
    return {cursor.xDms, cursor.yDms};
  }
  if (notation == CoordinateType::Meters) {
    cursor.x = Floor(cursor.x);
    cursor.y = Floor(cursor.y);
  } else if (notation == CoordinateType::DecimalDegrees) {
    cursor.x = CutToFiveDecimals(cursor.x);
    cursor.y = CutToFiveDecimals(cursor.y);
  }
  return {NumberText(cursor.x), NumberText(cursor.y)};
}

std::string XLetter(std::string_view xCaption) { return xCaption == kXEast ? "E" : "W"; }

std::string YLetter(std::string_view yCaption) { return yCaption == kYNorth ? "N" : "S"; }

void RecomputeAxisCaptions(MapFrame& frame, NotationChoice notation) {
  const auto top = ReadEdgeValue(frame.top, notation);
  const auto bottom = ReadEdgeValue(frame.bottom, notation);
  if (top && bottom) frame.yCaption = std::string(*bottom < *top ? kYNorth : kYSouth);

  const auto left = ReadEdgeValue(frame.left, notation);
  const auto right = ReadEdgeValue(frame.right, notation);
  if (left && right) frame.xCaption = std::string(*right > *left ? kXEast : kXWest);
}

std::string ReadoutText(const Cursor& cursor, NotationChoice notation) {
  if (!cursor.computed) return "";
  if (notation == CoordinateType::DegMinSec) return cursor.xDms + "  " + cursor.yDms;
  return "X=" + SignedNumberText(cursor.x) + "  Y=" + SignedNumberText(cursor.y);
}

}  // namespace velmaro

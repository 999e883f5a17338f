#include "core/map_frame.h"

#include <cmath>

#include "core/dms.h"
#include "core/map_transform.h"
#include "core/number_text.h"

namespace velmaro {
namespace {

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
  PlaceCursor(cursor, PictureToMap(EdgesTransform(frame, notation, canvas), x, y));
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
  SetAxisCaptions(frame, Directions(EdgesTransform(frame, notation, CanvasSize{}), CanvasSize{}));
}

std::string ReadoutText(const Cursor& cursor, NotationChoice notation) {
  if (!cursor.computed) return "";
  if (notation == CoordinateType::DegMinSec) return cursor.xDms + "  " + cursor.yDms;
  return "X=" + SignedNumberText(cursor.x) + "  Y=" + SignedNumberText(cursor.y);
}

}  // namespace velmaro

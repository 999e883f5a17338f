#include "core/point_values.h"

#include <charconv>
#include <cmath>

#include "core/dms.h"
#include "core/number_text.h"

namespace velmaro {

namespace {
double Signed(double value, std::string_view letter, bool inDegrees) {
  return inDegrees && (letter == "W" || letter == "S") ? -value : value;
}
}  // namespace

std::optional<double> CapturedValue(std::string_view text) {
  if (text.find(':') != std::string_view::npos) return Degre2Decimal(text);
  return WholeTextNumber(text);
}

std::optional<MapValues> PointValues(const PointRow& row, bool inDegrees) {
  const std::optional<double> x = CapturedValue(row.xText), y = CapturedValue(row.yText);
  if (!x || !y) return std::nullopt;
  return MapValues{Signed(*x, row.xLetter, inDegrees), Signed(*y, row.yLetter, inDegrees)};
}

MapValues CursorValues(const Cursor& cursor, const MapFrame& frame, bool inDegrees) {
  return {Signed(cursor.x, XLetter(frame.xCaption), inDegrees), Signed(cursor.y, YLetter(frame.yCaption), inDegrees)};
}

std::string LatitudeLongitudeText(double longitude, double latitude) {
  const auto part = [](double value, const char* positive, const char* negative) {
    char text[400];
    const auto done = std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::fixed, 6);
    const std::string digits(text, done.ptr);
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    return digits + "\u00b0 " + (value < 0 && !zero ? negative : positive);
  };
  return part(latitude, "N", "S") + "  " + part(longitude, "E", "W");
}

}  // namespace velmaro

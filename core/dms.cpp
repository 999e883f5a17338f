#include "core/dms.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/number_text.h"

namespace velmaro {
namespace {

// A field of the colon text is held as a 16-bit integer: a fraction rounds to the nearest whole
// number, a half to the even neighbour. A value that does not fit cannot be stored and counts as 0.
std::int16_t RoundToField(double value) {
  const double rounded = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
  if (!(rounded >= std::numeric_limits<std::int16_t>::min() && rounded <= std::numeric_limits<std::int16_t>::max())) {
    return 0;
  }
  return static_cast<std::int16_t>(rounded);
}

// Two digits for every minutes or seconds value, so "46:05:07" reads back with its seconds: the reader
// takes the last two characters as seconds, and a single digit there would be read after a colon.
std::string TwoDigits(double value) {
  std::string text = NumberText(value);
  if (text.size() < 2) text.insert(0, 1, '0');
  return text;
}

}  // namespace

double Degre2Decimal(std::string_view InputXY) {
  const std::size_t colon = InputXY.find(':');
  // p counts from 1 and is 0 without a colon; the degrees are the first p characters.
  const std::size_t p = colon == std::string_view::npos ? 0 : colon + 1;
  const std::size_t size = InputXY.size();

  const std::string_view secondsText = size < 2 ? InputXY : InputXY.substr(size - 2);
  const std::string_view minutesText = p < size ? InputXY.substr(p, 2) : std::string_view();
  const std::string_view degreesText = InputXY.substr(0, p);

  const std::int16_t seconds = RoundToField(LeadingNumber(secondsText));
  const std::int16_t minutes = RoundToField(LeadingNumber(minutesText));
  const std::int16_t degrees = RoundToField(LeadingNumber(degreesText));
  return (degrees + minutes / 60.0) + seconds / 3600.0;
}

std::string Decimal2Degre(double decim) {
  // A value that is no number has no degrees to show; it is written as the zero angle.
  if (!std::isfinite(decim)) return "0:00:00";
  const double d = Floor(decim);
  // A negative value closer to 0 than half a unit in the last place of 1 (-1e-20) leaves a fraction
  // that rounds up to 1, which would read "-1:60:00"; the fraction is kept just below 1 instead, so the
  // cut gives "-1:59:59" as it does for any other value just below a whole degree.
  const double fraction = std::min(decim - d, std::nextafter(1.0, 0.0));
  const double m = Floor(fraction * 60);
  const double s = Floor((fraction * 60 - m) * 60);
  return NumberText(d) + ":" + TwoDigits(m) + ":" + TwoDigits(s);
}

}  // namespace velmaro

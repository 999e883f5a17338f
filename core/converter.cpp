#include "core/converter.h"

#include <cstddef>

#include "core/number_text.h"

namespace velmaro {
namespace {

constexpr std::string_view kDegreeSign = "\xC2\xB0";  // U+00B0 in UTF-8
constexpr std::string_view kMinuteMark = "'";
constexpr std::string_view kSecondMark = "''";

// Seconds are cut to two decimals, never rounded, so the field never shows 60.
double CutToTwoDecimals(double v) { return Floor(v * 100) / 100; }

// The characters strictly between two positions as one number; a text that is not one number,
// or an empty or reversed span, counts as 0.
double NumberBetween(std::string_view text, std::size_t from, std::size_t to) {
  if (to <= from) return 0;
  return WholeTextNumber(text.substr(from, to - from)).value_or(0);
}

double SecondsBetweenMarks(std::string_view text, std::size_t minuteMark) {
  const std::size_t secondMark = text.find(kSecondMark);
  // No second mark, or the first mark is already the second mark: there are no seconds.
  if (secondMark == std::string_view::npos || secondMark == minuteMark) return 0;
  return NumberBetween(text, minuteMark + kMinuteMark.size(), secondMark);
}

}  // namespace

std::string DecimalToMarked(std::string_view decimalText) {
  const std::optional<double> parsed = WholeTextNumber(decimalText);
  if (!parsed) return "";
  const double x = *parsed;
  const double d = Floor(x);
  const double m = Floor((x - d) * 60);
  const double s = CutToTwoDecimals(((x - d) - m / 60) * 3600);
  std::string text = SignedNumberText(d);
  text += kDegreeSign;
  text += " " + SignedNumberText(m) + std::string(kMinuteMark) + " " + SignedNumberText(s) + std::string(kSecondMark);
  return text;
}

MarkedReadResult MarkedToDecimal(std::string_view markedText) {
  const double d = Floor(LeadingNumber(markedText));
  const std::size_t degreeSign = markedText.find(kDegreeSign);
  const std::size_t minuteMark = markedText.find(kMinuteMark);
  if (degreeSign == std::string_view::npos || minuteMark == std::string_view::npos) {
    return {MarkedReadOutcome::MissingMarks, ""};
  }
  const double minutes = NumberBetween(markedText, degreeSign + kDegreeSign.size(), minuteMark);
  const double seconds = SecondsBetweenMarks(markedText, minuteMark);
  const double result = (d + minutes / 60) + seconds / 3600;
  return {MarkedReadOutcome::Ok, SignedNumberText(result)};
}

}  // namespace velmaro

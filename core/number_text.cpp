#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

namespace velmaro {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The pieces of one number as typed: sign, digits before and after the point.
struct NumberPieces {
  bool negative = false;
  std::string_view whole;     // digits before the point
  std::string_view fraction;  // digits after the point
  std::size_t end = 0;        // index just past the last character read
  bool hasDigit() const { return !whole.empty() || !fraction.empty(); }
};

std::size_t SkipBlanks(std::string_view text, std::size_t i) {
  while (i < text.size() && IsBlank(text[i])) ++i;
  return i;
}

std::size_t SkipDigits(std::string_view text, std::size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// Reads blanks, an optional sign, digits and an optional "." with digits, starting at the text's
// beginning. A sign or a point with no digit around it is not consumed, so ".", "-" and "+." read
// nothing (hasDigit() is false).
NumberPieces ReadPieces(std::string_view text) {
  NumberPieces pieces;
  std::size_t i = SkipBlanks(text, 0);
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    pieces.negative = text[i] == '-';
    ++i;
  }
  const std::size_t wholeStart = i;
  i = SkipDigits(text, i);
  pieces.whole = text.substr(wholeStart, i - wholeStart);
  if (i < text.size() && text[i] == '.') {
    const std::size_t fractionStart = i + 1;
    const std::size_t fractionEnd = SkipDigits(text, fractionStart);
    pieces.fraction = text.substr(fractionStart, fractionEnd - fractionStart);
    if (pieces.hasDigit()) i = fractionEnd;
  }
  pieces.end = i;
  return pieces;
}

bool AllZeros(std::string_view digits) { return digits.find_first_not_of('0') == std::string_view::npos; }

// The value of the pieces, or nothing when it lies beyond the range of a double. A value too small
// for a double is taken as 0: it is a number, only closer to zero than a double can hold.
std::optional<double> PiecesValue(const NumberPieces& pieces) {
  std::string canonical(pieces.whole.empty() ? std::string_view("0") : pieces.whole);
  if (!pieces.fraction.empty()) {
    canonical += '.';
    canonical += pieces.fraction;
  }
  double value = 0;
  const char* first = canonical.data();
  const char* last = first + canonical.size();
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
  if (ec == std::errc::result_out_of_range) {
    if (!AllZeros(pieces.whole)) return std::nullopt;
    value = 0;
  } else if (ec != std::errc() || ptr != last || !std::isfinite(value)) {
    return std::nullopt;
  }
  return pieces.negative ? -value : value;
}

// x rounded to 15 significant digits: its digits without trailing zeros and the decimal exponent
// of the first digit (x = 0.d1d2d3... * 10^(exponent + 1)).
struct SignificantDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

SignificantDigits RoundTo15Digits(double x) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  SignificantDigits out;
  std::size_t i = 0;
  if (text[i] == '-') {
    out.negative = true;
    ++i;
  }
  const std::size_t ePos = text.find('e');
  for (; i < ePos; ++i) {
    if (IsDigit(text[i])) out.digits += text[i];
  }
  std::string_view exponentText = text.substr(ePos + 1);
  if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), out.exponent);
  while (out.digits.size() > 1 && out.digits.back() == '0') out.digits.pop_back();
  return out;
}

// Places the decimal point into the significant digits, padding with zeros on either side.
std::string PositionalText(const SignificantDigits& sig) {
  const int count = static_cast<int>(sig.digits.size());
  std::string text = sig.negative ? "-" : "";
  if (sig.exponent < 0) {
    text += "0.";
    text.append(static_cast<std::size_t>(-sig.exponent - 1), '0');
    text += sig.digits;
  } else if (sig.exponent + 1 >= count) {
    text += sig.digits;
    text.append(static_cast<std::size_t>(sig.exponent + 1 - count), '0');
  } else {
    const auto split = static_cast<std::size_t>(sig.exponent + 1);
    text += sig.digits.substr(0, split);
    text += '.';
    text += sig.digits.substr(split);
  }
  return text;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  const NumberPieces pieces = ReadPieces(text);
  if (!pieces.hasDigit()) return 0;
  return PiecesValue(pieces).value_or(0);
}

std::optional<double> WholeTextNumber(std::string_view text) {
  const NumberPieces pieces = ReadPieces(text);
  if (!pieces.hasDigit()) return std::nullopt;
  if (SkipBlanks(text, pieces.end) != text.size()) return std::nullopt;
  return PiecesValue(pieces);
}

std::string NumberText(double x) {
  // Zero of either sign, and values that are no number at all, are written "0".
  if (x == 0 || !std::isfinite(x)) return "0";
  return PositionalText(RoundTo15Digits(x));
}

std::string SignedNumberText(double x) {
  if (x < 0) return NumberText(x);
  return " " + NumberText(x);
}

double Floor(double x) { return std::floor(x); }

}  // namespace velmaro

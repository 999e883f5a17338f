#pragma once
// Number readings and number texts shared by every notation.
// "." is the decimal point in every text read or written here, whatever the process locale:
// nothing in this file consults the C or C++ locale.

#include <optional>
#include <string>
#include <string_view>

namespace velmaro {

// The number a text begins with: leading blanks skipped, then an optional sign, digits, and an optional
// "." followed by digits; reading stops at the first other character (":", "°", a letter).
// A text that does not begin with a number reads as 0; so does a number too large for a double.
double LeadingNumber(std::string_view text);

// The whole text read as one decimal number (sign, digits, optional "." and digits), blanks allowed
// before and after. Anything else in the text, an empty text, or a value beyond the range of a double
// has no value.
std::optional<double> WholeTextNumber(std::string_view text);

// Shortest plain decimal text of x with at most 15 significant digits: no exponent, no trailing zeros,
// no point for a whole value, "-" before a negative value and nothing before any other ("46", "-12",
// "0", "11.3633388888889"). Negative zero is written "0".
std::string NumberText(double x);

// NumberText with one blank in front when x is not negative (" 11", " 0", "-12").
std::string SignedNumberText(double x);

// Greatest whole number not above x: Floor(11.9) = 11, Floor(-11.5) = -12.
double Floor(double x);

}  // namespace velmaro

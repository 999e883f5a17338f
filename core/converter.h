#pragma once
// The converter panel's own marked form: " 11°  21'  48.02''" (degree sign U+00B0, written as UTF-8).

#include <string>
#include <string_view>

namespace velmaro {

// Decimal degrees text to the marked form: d = Floor(x), m = Floor((x - d) * 60),
// s = ((x - d) - m / 60) * 3600 cut to two decimals, each field as SignedNumberText.
// A text that is not one number gives an empty result (the panel shows nothing computed).
std::string DecimalToMarked(std::string_view decimalText);

enum class MarkedReadOutcome { Ok, MissingMarks };
struct MarkedReadResult {
  MarkedReadOutcome outcome = MarkedReadOutcome::Ok;
  std::string text;  // SignedNumberText of the decimal degrees when Ok
};

// The marked form back to decimal degrees. No "°" or no "'" is MissingMarks (the panel says "Error").
MarkedReadResult MarkedToDecimal(std::string_view markedText);

}  // namespace velmaro

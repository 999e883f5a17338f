// The number readings on any text, and any double written back: a written number reads back to the very
// text it came from, and a d:m:s text keeps its shape "d:mm:ss" with minutes and seconds below 60.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/dms.h"
#include "core/number_text.h"
#include "fuzz/fuzz_check.h"

// "d:mm:ss" with an optional "-". Minutes and seconds are cut, never rounded, so neither ever reads 60.
static bool HasDmsShape(const std::string& t) {
  const std::size_t c = t.find(':'), first = t[0] == '-';
  const auto digit = [&t](std::size_t i, char last) { return t[i] >= '0' && t[i] <= last; };
  return c != std::string::npos && c > first && t.find_first_not_of("0123456789", first) == c && t.size() == c + 6 &&
         digit(c + 1, '5') && digit(c + 2, '9') && t[c + 3] == ':' && digit(c + 4, '5') && digit(c + 5, '9');
}

// NumberText keeps 15 significant digits, which a double carries back unchanged. From 1.797693134862315e308
// on they round up past the largest double ("179769313486232000...0"), which no reading takes; no map holds
// such values.
static void CheckWritten(double x) {
  if (!std::isfinite(x)) return;
  const std::string text = velmaro::NumberText(x);
  const auto back = velmaro::WholeTextNumber(text);
  VELMARO_FUZZ_CHECK(back ? velmaro::NumberText(*back) == text : std::fabs(x) >= 1.797693134862315e308);
  VELMARO_FUZZ_CHECK(velmaro::SignedNumberText(x) == (x < 0 ? text : " " + text));
  VELMARO_FUZZ_CHECK(HasDmsShape(velmaro::Decimal2Degre(x)));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double leading = velmaro::LeadingNumber(text), fromDms = velmaro::Degre2Decimal(text);
  VELMARO_FUZZ_CHECK(std::isfinite(leading) && std::isfinite(fromDms));
  CheckWritten(leading);
  CheckWritten(fromDms);
  // A text that is one number begins with that number.
  if (const auto whole = velmaro::WholeTextNumber(text)) VELMARO_FUZZ_CHECK(leading == *whole);
  // The first eight bytes as a double reach what no text gives: subnormals, the largest values, NaN.
  if (size >= sizeof(double)) {
    double raw;
    std::memcpy(&raw, data, sizeof raw);
    CheckWritten(raw);
    VELMARO_FUZZ_CHECK(std::isnan(raw) || velmaro::Floor(raw) <= raw);
  }
  return 0;
}

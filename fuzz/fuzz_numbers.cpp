// The number readings: any text read as a leading number, as a whole-text number and as a d:m:s text,
// and any double written back. A written number must read back to the very text it came from, and a
// d:m:s text must keep its shape "d:mm:ss".

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/dms.h"
#include "core/number_text.h"
#include "fuzz/fuzz_check.h"

namespace {

using velmaro::NumberText;
using velmaro::WholeTextNumber;

// From here on, fifteen significant digits round up past the largest double.
constexpr double kFirstValueWrittenBeyondRange = 1.797693134862315e308;

// NumberText keeps 15 significant digits, which a double always carries back unchanged, so reading its
// text and writing again must give the same text.
void CheckWrittenNumberReadsBack(double x) {
  if (!std::isfinite(x)) return;
  const std::string text = NumberText(x);
  const auto back = WholeTextNumber(text);
  if (!back) {
    // Fifteen digits round the largest doubles up beyond the range ("-179769313486232000...0" for
    // -DBL_MAX), which no reading takes. No map holds such values; anything smaller must read back.
    VELMARO_FUZZ_CHECK(std::fabs(x) >= kFirstValueWrittenBeyondRange);
    return;
  }
  VELMARO_FUZZ_CHECK(NumberText(*back) == text);
  VELMARO_FUZZ_CHECK(text.find_first_of("eE,") == std::string::npos);
  VELMARO_FUZZ_CHECK(velmaro::SignedNumberText(x).size() == text.size() + (text[0] == '-' ? 0 : 1));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "d:mm:ss" with an optional "-" and at least one degree digit.
bool HasDmsShape(const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos || text.size() != colon + 6 || text[colon + 3] != ':') return false;
  const std::size_t firstDigit = text[0] == '-' ? 1 : 0;
  if (colon <= firstDigit) return false;
  for (std::size_t i = firstDigit; i < colon; ++i)
    if (!IsDigit(text[i])) return false;
  return IsDigit(text[colon + 1]) && IsDigit(text[colon + 2]) && IsDigit(text[colon + 4]) && IsDigit(text[colon + 5]);
}

void CheckDms(double x) {
  const std::string dms = velmaro::Decimal2Degre(x);
  VELMARO_FUZZ_CHECK(HasDmsShape(dms));
  // Minutes and seconds are cut, so neither ever reads 60.
  const std::size_t colon = dms.find(':');
  VELMARO_FUZZ_CHECK(dms.compare(colon + 1, 2, "60") < 0);
  VELMARO_FUZZ_CHECK(dms.compare(colon + 4, 2, "60") < 0);
  const double back = velmaro::Degre2Decimal(dms);
  VELMARO_FUZZ_CHECK(std::isfinite(back));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const double leading = velmaro::LeadingNumber(text);
  VELMARO_FUZZ_CHECK(std::isfinite(leading));
  CheckWrittenNumberReadsBack(leading);

  if (const auto whole = WholeTextNumber(text)) {
    VELMARO_FUZZ_CHECK(std::isfinite(*whole));
    // A text that is one number begins with that number.
    VELMARO_FUZZ_CHECK(leading == *whole || (leading == 0 && *whole == 0));
    CheckWrittenNumberReadsBack(*whole);
    CheckDms(*whole);
  }

  const double fromDms = velmaro::Degre2Decimal(text);
  VELMARO_FUZZ_CHECK(std::isfinite(fromDms));
  CheckDms(fromDms);

  // The first eight bytes as a double reach what no text gives: NaN, infinities, subnormals.
  if (size >= sizeof(double)) {
    double raw;
    std::memcpy(&raw, data, sizeof raw);
    CheckWrittenNumberReadsBack(raw);
    if (!std::isnan(raw)) CheckDms(raw);
    VELMARO_FUZZ_CHECK(velmaro::Floor(raw) <= raw || std::isnan(raw));
  }
  return 0;
}

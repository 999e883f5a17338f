// The converter panel on any text, both ways. A marked form the panel writes must read back, and a
// reading that succeeds must give one number.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/converter.h"
#include "core/number_text.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const velmaro::MarkedReadResult read = velmaro::MarkedToDecimal(text);
  if (read.outcome == velmaro::MarkedReadOutcome::Ok) {
    VELMARO_FUZZ_CHECK(velmaro::WholeTextNumber(read.text).has_value());
  }

  const std::string marked = velmaro::DecimalToMarked(text);
  VELMARO_FUZZ_CHECK(marked.empty() == !velmaro::WholeTextNumber(text).has_value());
  if (!marked.empty()) {
    const velmaro::MarkedReadResult back = velmaro::MarkedToDecimal(marked);
    VELMARO_FUZZ_CHECK(back.outcome == velmaro::MarkedReadOutcome::Ok);
    VELMARO_FUZZ_CHECK(velmaro::WholeTextNumber(back.text).has_value());
  }
  return 0;
}

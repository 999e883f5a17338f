// The converter panel on any text, both ways: a reading that succeeds gives one number, and the marked
// form the panel writes for a number reads back.

#include <cstdint>
#include <string>

#include "core/converter.h"
#include "core/number_text.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const velmaro::MarkedReadResult read = velmaro::MarkedToDecimal(text);
  VELMARO_FUZZ_CHECK(read.outcome == velmaro::MarkedReadOutcome::MissingMarks || velmaro::WholeTextNumber(read.text));
  const std::string marked = velmaro::DecimalToMarked(text);
  VELMARO_FUZZ_CHECK(marked.empty() == !velmaro::WholeTextNumber(text));
  VELMARO_FUZZ_CHECK(marked.empty() || velmaro::WholeTextNumber(velmaro::MarkedToDecimal(marked).text));
  return 0;
}

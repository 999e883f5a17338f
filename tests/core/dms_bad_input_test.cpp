// Values at the edges of double arithmetic for the d:m:s text: a negative value so close to 0 that
// its fraction of a degree rounds up to a whole degree once must still never read 60 minutes.
// Found by the number fuzz target ("-1:60:00" for -6.8e-229).

#include <gtest/gtest.h>

#include <limits>

#include "core/dms.h"

namespace velmaro {
namespace {

struct TinyRow {
  const char* name;
  double value;
  const char* expected;
};

TEST(Decimal2DegreAtTheEdges, NeverWritesSixtyMinutesOrSeconds) {
  const TinyRow rows[] = {
      {"negative value found by the fuzzer", -6.828527034388908e-229, "-1:59:59"},
      {"half an ulp of one below zero", -0x1p-54, "-1:59:59"},
      {"smallest negative subnormal", -std::numeric_limits<double>::denorm_min(), "-1:59:59"},
      {"just beyond the rounding, unchanged", -0x1p-52, "-1:59:59"},
      {"one second below zero, unchanged", -1.0 / 3600, "-1:59:59"},
      {"negative zero", -0.0, "0:00:00"},
      {"smallest positive subnormal", std::numeric_limits<double>::denorm_min(), "0:00:00"},
      {"largest double below one", 0x1.fffffffffffffp-1, "0:59:59"},
  };
  for (const TinyRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Decimal2Degre(row.value), row.expected);
  }
}

}  // namespace
}  // namespace velmaro

// Zoom arithmetic against one table; each row names the function, its arguments and the result. Presses
// at 1:1, 2, 1/2 and 16 (the steps and the pixel conversion) are rows of the window test instead.
#include "core/zoom.h"

#include <gtest/gtest.h>

#include "tests/common/case_table.h"

using namespace velmaro;

TEST(Zoom, CaseTable) {
  for (const velmaro::testing::Case& c : velmaro::testing::ReadCases(VELMARO_CORE_CASES "/zoom.cases")) {
    const auto n = [&c](std::size_t i) { return c.number(i); };
    const double got = c[0] == "fit"      ? FitZoom(n(1), n(2), n(3), n(4))
                       : c[0] == "step"   ? StepZoom(n(1), c.integer(2), n(3))
                       : c[0] == "offset" ? ZoomedOffset(c.integer(1), c.integer(2), n(3), n(4), c.integer(5), c.integer(6))
                                          : ScrollValueForOffset(n(1), n(2), n(3));
    EXPECT_EQ(got, c.number(c.fields.size() - 1)) << c.where << " " << c.name;
  }
}

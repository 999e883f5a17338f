// Zoom arithmetic against one table; each row names the function and its arguments.
#include "core/zoom.h"

#include <gtest/gtest.h>

#include "tests/common/case_table.h"

namespace velmaro {
namespace {
using testing::Case;

double Evaluate(const Case& c) {
  const auto n = [&c](std::size_t i) { return c.number(i); };
  const std::string& function = c[0];
  if (function == "fit") return FitZoom(n(1), n(2), n(3), n(4));
  if (function == "step") return StepZoom(n(1), c.integer(2), n(3));
  if (function == "pixel") return PixelToPicture(n(1), n(2), n(3));
  if (function == "screen") return PictureToPixel(n(1), n(2), n(3));
  if (function == "offset") return ZoomedOffset(c.integer(1), c.integer(2), n(3), n(4), c.integer(5), c.integer(6));
  if (function == "clamp") return ClampOffset(c.integer(1), c.integer(2), c.integer(3));
  if (function == "value") return ScrollValueForOffset(n(1), n(2), n(3));
  Case::Fail(c.where, "unknown function " + function);
}

TEST(Zoom, CaseTable) {
  for (const Case& c : testing::ReadCases(VELMARO_CORE_CASES "/zoom.cases")) {
    SCOPED_TRACE(c.where + " " + c.name);
    EXPECT_EQ(Evaluate(c), c.number(c.fields.size() - 1));
  }
}

}  // namespace
}  // namespace velmaro

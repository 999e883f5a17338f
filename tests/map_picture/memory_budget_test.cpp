// The memory and size limits that decide, before any pixel is allocated, whether a picture may load.
#include "ui/map_picture/memory_budget.h"

#include <unistd.h>

#include <gtest/gtest.h>

namespace velmaro::map_picture {
namespace {

constexpr std::int64_t kGibibyte = std::int64_t{1} << 30;

struct BudgetCase {
  const char* name;
  QSize size;
  std::int64_t needed;
  std::int64_t allocatable;
  bool fits;
};

const BudgetCase kBudgetCases[] = {
    {"SmallPicture", {640, 480}, 640 * 480 * 4, kGibibyte, true},
    {"NeedExactlyTheBudget", {1000, 1000}, 4000000, 4000000, true},
    {"NeedOneByteMore", {1000, 1000}, 4000001, 4000000, false},
    {"Map300MegapixelsIn18GiB", {20000, 15000}, std::int64_t{20000} * 15000 * 4, 18 * kGibibyte, true},
    {"Map300MegapixelsIn1GiB", {20000, 15000}, std::int64_t{20000} * 15000 * 4, kGibibyte, false},
    {"LargestSide", {65000, 1}, 65000 * 4, kGibibyte, true},
    {"SideOverTheLimit", {65001, 1}, 65001 * 4, kGibibyte, false},
    {"HeightOverTheLimit", {1, 65535}, 65535 * 4, kGibibyte, false},
    {"ZeroWidth", {0, 100}, 0, kGibibyte, false},
    {"NegativeHeight", {100, -1}, 0, kGibibyte, false},
    {"NegativeNeed", {10, 10}, -1, kGibibyte, false},
};

class BudgetTest : public ::testing::TestWithParam<BudgetCase> {};

TEST_P(BudgetTest, FitsOnlyWithSidesInRangeAndTheNeedWithinTheBudget) {
  const BudgetCase& row = GetParam();
  EXPECT_EQ(FitsBudget(row.size, row.needed, row.allocatable), row.fits);
}

INSTANTIATE_TEST_SUITE_P(Limits, BudgetTest, ::testing::ValuesIn(kBudgetCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct PixelBytesCase {
  const char* name;
  QSize size;
  std::int64_t expected;
};

const PixelBytesCase kPixelBytesCases[] = {
    {"Map300Megapixels", {20000, 15000}, std::int64_t{1200000000}},
    {"BeyondThirtyTwoBits", {65000, 65000}, std::int64_t{16900000000}},
    {"Empty", {0, 10}, 0},
    {"Invalid", {-5, 10}, 0},
};

class PixelBytesTest : public ::testing::TestWithParam<PixelBytesCase> {};

TEST_P(PixelBytesTest, FourBytesPerPixelWithoutOverflow) {
  EXPECT_EQ(PixelBytes(GetParam().size), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PixelBytesTest, ::testing::ValuesIn(kPixelBytesCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AllocatableBytes, ReadsAPositiveBudgetBelowThePhysicalMemory) {
  const auto allocatable = AllocatableBytes();
  ASSERT_TRUE(allocatable.has_value());
  EXPECT_GT(*allocatable, 0);
  EXPECT_LT(*allocatable, std::int64_t{sysconf(_SC_PHYS_PAGES)} * sysconf(_SC_PAGESIZE));
}

}  // namespace
}  // namespace velmaro::map_picture

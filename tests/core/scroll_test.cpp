#include "core/scroll.h"

#include <gtest/gtest.h>

#include <optional>

namespace velmaro {
namespace {

TEST(ScrollOffset, ShiftsTheCanvasByAShareOfItsOverflow) {
  const struct {
    const char* name;
    int value;
    double canvas;
    double viewport;
    float expected;
  } rows[] = {
      {"start", 0, 9000, 5865, 0.0f},
      {"half way", 50, 9000, 5865, -1567.5f},
      {"far end", 100, 9000, 5865, -3135.0f},
      {"stored single precision", 33, 9000, 5865, static_cast<float>(-(33 * (9000.0 - 5865.0) / 100))},
      {"product before division", 7, 1, 0.3, static_cast<float>(-(7 * (1 - 0.3) / 100))},
      {"smaller canvas moves right", 100, 4000, 5865, 1865.0f},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ScrollOffset(row.value, row.canvas, row.viewport), row.expected);
  }
}

TEST(ArrowTarget, RefusesValuesOutsideTheRange) {
  const struct {
    const char* name;
    int value;
    int delta;
    std::optional<int> expected;
  } rows[] = {
      {"down from start", 0, kArrowStep, 10},
      {"down to the end", 90, kArrowStep, 100},
      {"down at the end", 100, kArrowStep, std::nullopt},
      {"up at the start", 0, -kArrowStep, std::nullopt},
      {"down from 95 overshoots", 95, kArrowStep, std::nullopt},
      {"up from 95", 95, -kArrowStep, 85},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ArrowTarget(row.value, row.delta), row.expected);
  }
}

TEST(ArrowTarget, TenClicksReachTheEndAndAnEleventhDoesNothing) {
  int value = kScrollMin;
  int accepted = 0;
  for (int click = 0; click < 11; ++click) {
    if (const auto target = ArrowTarget(value, kArrowStep)) {
      value = *target;
      ++accepted;
    }
  }
  EXPECT_EQ(value, kScrollMax);
  EXPECT_EQ(accepted, 10);
}

}  // namespace
}  // namespace velmaro

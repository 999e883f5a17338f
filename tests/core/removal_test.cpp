#include "core/removal.h"

#include <gtest/gtest.h>

#include "test_frames.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmaro {
namespace {

constexpr CanvasSize kCanvas{4096, 2048};

using Texts = std::pair<std::string, std::string>;

using testing::Frame;
using testing::kDmsFrame;
using testing::kStartFrame;

PointTable TableOf(const std::vector<Texts>& points) {
  PointTable table;
  for (const auto& [x, y] : points) table.append("E", x, "N", y);
  return table;
}

std::vector<Texts> Remaining(const PointTable& table) {
  std::vector<Texts> texts;
  for (const auto& row : table.rows()) texts.emplace_back(row.xText, row.yText);
  return texts;
}

struct RemovalRow {
  const char* name;
  MapFrame frame;
  NotationChoice notation;
  std::vector<Texts> points;
  double X, Y;
  CanvasSize canvas;
  std::optional<int> removed;
};

TEST(Remove_Point, RemovesTheNearestPointInMapUnits) {
  const RemovalRow rows[] = {
      {"press on a point", kStartFrame, CoordinateType::Meters,
       {{"10000", "30000"}, {"12500", "27500"}, {"15000", "25000"}, {"11000", "29000"}}, 2048, 1024, kCanvas, 2},
      {"tie goes to the later row", kStartFrame, CoordinateType::Meters,
       {{"12000", "27500"}, {"13000", "27500"}, {"10000", "30000"}}, 2048, 1024, kCanvas, 2},
      {"tie after the four-decimal cut", kStartFrame, CoordinateType::Meters,
       {{"12499.99999", "27500"}, {"12500.00001", "27500"}}, 2048, 1024, kCanvas, 2},
      {"exactly at the search start", kStartFrame, CoordinateType::Meters, {{"42499", "27500"}}, 2048, 1024, kCanvas,
       1},
      {"beyond the search start", kStartFrame, CoordinateType::Meters, {{"42500", "27500"}}, 2048, 1024, kCanvas,
       std::nullopt},
      {"empty table", kStartFrame, CoordinateType::Meters, {}, 2048, 1024, kCanvas, std::nullopt},
      {"far press still removes in degrees", Frame("8", "9", "47", "46"), CoordinateType::DecimalDegrees,
       {{"170.5", "-80"}, {"160", "-80"}}, 0, 0, kCanvas, 2},
      {"map units, not screen distance", Frame("0", "1000", "0", "10"), CoordinateType::Meters,
       {{"100", "0"}, {"0", "3"}}, 0, 0, {1000, 1000}, 2},
      {"one-digit seconds read as zero", kDmsFrame, CoordinateType::DegMinSec,
       {{"8:30:5", "46:30:00"}, {"8:30:09", "46:30:00"}}, 1805, 1800, {3600, 3600}, 2},
      {"two-digit seconds read exactly", kDmsFrame, CoordinateType::DegMinSec,
       {{"8:30:05", "46:30:00"}, {"8:30:09", "46:30:00"}}, 1805, 1800, {3600, 3600}, 1},
      {"zero canvas width puts the press at x 0", kStartFrame, CoordinateType::Meters,
       {{"0", "27500"}, {"12500", "27500"}}, 2048, 1024, {0, 2048}, 1},
      {"unreadable frame field reads 0", Frame("", "15000", "30000", "25000"), CoordinateType::Meters,
       {{"7500", "27500"}, {"12500", "27500"}}, 2048, 1024, kCanvas, 1},
      {"point texts read as leading numbers", kStartFrame, CoordinateType::Meters,
       {{"12500m", "27500 N"}, {"12400", "27500"}}, 2048, 1024, kCanvas, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    PointTable table = TableOf(row.points);
    Cursor cursor;
    const auto removed = Remove_Point(table, cursor, row.frame, row.notation, row.X, row.Y, row.canvas);
    EXPECT_EQ(removed, row.removed);
    std::vector<Texts> expected = row.points;
    if (row.removed) expected.erase(expected.begin() + (*row.removed - 1));
    EXPECT_EQ(Remaining(table), expected);
    EXPECT_EQ(table.PointCount(), static_cast<int>(expected.size()) + 1);
  }
}

TEST(Remove_Point, RenumbersTheRemainingPoints) {
  PointTable table = TableOf({{"10000", "30000"}, {"12500", "27500"}, {"15000", "25000"}, {"11000", "29000"}});
  Cursor cursor;
  ASSERT_EQ(Remove_Point(table, cursor, kStartFrame, CoordinateType::Meters, 2048, 1024, kCanvas), 2);
  ASSERT_EQ(table.size(), 3);
  EXPECT_EQ(table.row(1).name, "Pt 1");
  EXPECT_EQ(table.row(2).name, "Pt 2");
  EXPECT_EQ(table.row(3).name, "Pt 3");
  EXPECT_EQ(table.row(2).xText, "15000");
  EXPECT_EQ(table.PointCount(), 4);
}

TEST(Remove_Point, LeavesTheCursorOnTheLastPointRead) {
  const struct {
    const char* name;
    NotationChoice notation;
    std::vector<Texts> points;
    double x, y;
  } rows[] = {
      {"metres", CoordinateType::Meters, {{"12500", "27500"}, {"11000", "29000.5"}}, 11000, 29000.5},
      {"metres texts through the colon reading", CoordinateType::DegMinSec, {{"12500", "27500"}},
       (0 + 12 / 60.0) + 0 / 3600.0, (0 + 27 / 60.0) + 0 / 3600.0},
      {"nothing chosen still reads", CoordinateType::Meters, {{"90000", "90000"}}, 90000, 90000},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    PointTable table = TableOf(row.points);
    Cursor cursor{1, 2, "1:00:00", "2:00:00", false};
    Remove_Point(table, cursor, kStartFrame, row.notation, 2048, 1024, kCanvas);
    EXPECT_EQ(cursor.x, row.x);
    EXPECT_EQ(cursor.y, row.y);
    EXPECT_TRUE(cursor.computed);
    EXPECT_EQ(cursor.xDms, "1:00:00");
    EXPECT_EQ(cursor.yDms, "2:00:00");
  }
}

}  // namespace
}  // namespace velmaro

#include "core/capture.h"

#include <gtest/gtest.h>

#include <string>

#include "core/removal.h"

namespace velmaro {
namespace {

constexpr CanvasSize kCanvas{4096, 2048};

MapFrame Frame(std::string left, std::string right, std::string top, std::string bottom, std::string xCaption,
               std::string yCaption) {
  return MapFrame{std::move(left), std::move(right), std::move(top), std::move(bottom), std::move(xCaption),
                  std::move(yCaption)};
}

const MapFrame kEastNorth = Frame("10000", "15000", "30000", "25000", "X Coord. EAST", "Y Coord. NORTH");

struct CaptureRow {
  const char* name;
  MapFrame frame;
  NotationChoice notation;
  double x, y;
  CanvasSize canvas;
  const char* xLetter;
  const char* xText;
  const char* yLetter;
  const char* yText;
};

TEST(CapturePoint, FirstCaptureFillsRowOne) {
  const CaptureRow rows[] = {
      {"metres centre", kEastNorth, CoordinateType::Meters, 2048, 1024, kCanvas, "E", "12500", "N", "27500"},
      {"design captions give W and S", MapFrame{}, CoordinateType::Meters, 2048, 1024, kCanvas, "W", "12500", "S",
       "27500"},
      {"metres floored", kEastNorth, CoordinateType::Meters, 1, 1, kCanvas, "E", "10001", "N", "29997"},
      {"decimal degrees cut to five decimals",
       Frame("7", "8", "46", "47", "X Coord. EAST", "Y Coord. SOUTH"), CoordinateType::DecimalDegrees, 49, 5000000,
       {10000000, 10000000}, "E", "7", "S", "46.5"},
      {"colon texts", Frame("8:00:00", "9:00:00", "47:00:00", "46:00:00", "X Coord. EAST", "Y Coord. NORTH"),
       CoordinateType::DegMinSec, 2048, 1024, kCanvas, "E", "8:30:00", "N", "46:30:00"},
      {"empty frame field before any computation", Frame("", "15000", "30000", "", "X Coord. WEST", "Y Coord. SOUTH"),
       CoordinateType::Meters, 2048, 1024, kCanvas, "W", "0", "S", "0"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    PointTable table;
    Cursor cursor;
    const CaptureResult result = CapturePoint(table, cursor, row.frame, row.notation, row.x, row.y, row.canvas);
    EXPECT_EQ(result.outcome, CaptureOutcome::Captured);
    EXPECT_EQ(result.row, 1);
    EXPECT_EQ(table.PointCount(), 2);
    ASSERT_EQ(table.size(), 1);
    const PointRow& point = table.row(1);
    EXPECT_EQ(point.name, "Pt 1");
    EXPECT_EQ(point.xLetter, row.xLetter);
    EXPECT_EQ(point.xText, row.xText);
    EXPECT_EQ(point.yLetter, row.yLetter);
    EXPECT_EQ(point.yText, row.yText);
  }
}

TEST(CapturePoint, TenthCaptureIsPtTen) {
  PointTable table;
  Cursor cursor;
  CaptureResult result;
  for (int i = 0; i < 10; ++i) result = CapturePoint(table, cursor, kEastNorth, CoordinateType::Meters, i, i, kCanvas);
  EXPECT_EQ(result.row, 10);
  EXPECT_EQ(table.row(10).name, "Pt 10");
  EXPECT_EQ(table.PointCount(), 11);
}

TEST(CapturePoint, AnEmptyFieldRepeatsThePreviousValueFlooredAgain) {
  PointTable table;
  Cursor cursor;
  CapturePoint(table, cursor, kEastNorth, CoordinateType::Meters, 2048, 1024, kCanvas);
  MapFrame emptyLeft = kEastNorth;
  emptyLeft.left.clear();
  const CaptureResult result = CapturePoint(table, cursor, emptyLeft, CoordinateType::Meters, 0, 0, kCanvas);
  EXPECT_EQ(result.outcome, CaptureOutcome::Captured);
  EXPECT_EQ(table.row(2).name, "Pt 2");
  EXPECT_EQ(table.row(2).xText, "12500");
  EXPECT_EQ(table.row(2).yText, "30000");
}

TEST(CapturePoint, TheTableStopsAt250PointsUntilARemoval) {
  PointTable table;
  Cursor cursor;
  for (int i = 1; i <= kMaxPoints; ++i) {
    ASSERT_EQ(CapturePoint(table, cursor, kEastNorth, CoordinateType::Meters, i, i, kCanvas).row, i);
  }
  EXPECT_EQ(table.row(250).name, "Pt 250");
  EXPECT_EQ(table.PointCount(), 251);

  const Cursor before = cursor;
  const PointTable tableBefore = table;
  const CaptureResult refused = CapturePoint(table, cursor, kEastNorth, CoordinateType::Meters, 4000, 2000, kCanvas);
  EXPECT_EQ(refused.outcome, CaptureOutcome::TableFull);
  EXPECT_EQ(refused.row, 0);
  EXPECT_EQ(table.size(), 250);
  EXPECT_EQ(table.rows().back().xText, tableBefore.rows().back().xText);
  EXPECT_EQ(cursor.x, before.x);
  EXPECT_EQ(cursor.y, before.y);

  ASSERT_TRUE(Remove_Point(table, cursor, kEastNorth, CoordinateType::Meters, 1, 1, kCanvas).has_value());
  const CaptureResult again = CapturePoint(table, cursor, kEastNorth, CoordinateType::Meters, 4096, 0, kCanvas);
  EXPECT_EQ(again.outcome, CaptureOutcome::Captured);
  EXPECT_EQ(again.row, 250);
  EXPECT_EQ(table.row(250).name, "Pt 250");
  EXPECT_EQ(table.row(250).xText, "15000");
}

}  // namespace
}  // namespace velmaro

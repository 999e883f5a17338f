#include "core/map_frame.h"

#include <gtest/gtest.h>

#include "test_frames.h"

#include <optional>
#include <string>

namespace velmaro {
namespace {

constexpr CanvasSize kCanvas{4096, 2048};

using testing::Frame;
using testing::kDmsFrame;
using testing::kStartFrame;

TEST(ReadEdgeValue, ReadsByNotation) {
  const struct {
    const char* name;
    std::string text;
    NotationChoice notation;
    std::optional<double> expected;
  } rows[] = {
      {"metres", "10000", CoordinateType::Meters, 10000.0},
      {"metres empty", "", CoordinateType::Meters, std::nullopt},
      {"metres with a letter", "12a", CoordinateType::Meters, std::nullopt},
      {"colon text in metres is no number", "8:30:00", CoordinateType::Meters, std::nullopt},
      {"colon text", "8:30:00", CoordinateType::DegMinSec, 8.5},
      {"empty colon text reads 0", "", CoordinateType::DegMinSec, 0.0},
      {"decimal degrees", "9.8", CoordinateType::DecimalDegrees, 9.8},
      {"no notation", "9.8", std::nullopt, 9.8},
      {"no notation, letters", "abc", std::nullopt, std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ReadEdgeValue(row.text, row.notation), row.expected);
  }
}

struct TransformRow {
  const char* name;
  MapFrame frame;
  NotationChoice notation;
  double x, y;
  CanvasSize canvas;
  double expectedX, expectedY;
  bool expectedComputed;
};

TEST(Pixel2Map, InterpolatesBetweenTheEdgesOrKeepsTheOldValue) {
  // The cursor starts at (111, 222) so that a coordinate left alone is visible.
  const TransformRow rows[] = {
      {"top-left corner", kStartFrame, CoordinateType::Meters, 0, 0, kCanvas, 10000, 30000, true},
      {"bottom-right corner", kStartFrame, CoordinateType::Meters, 4096, 2048, kCanvas, 15000, 25000, true},
      {"centre", kStartFrame, CoordinateType::Meters, 2048, 1024, kCanvas, 12500, 27500, true},
      {"outside the canvas", kStartFrame, CoordinateType::Meters, -4096, 4096, kCanvas, 5000, 20000, true},
      // Here the quotient first and the product first differ in the last bit.
      {"order of evaluation", Frame("0.1", "0.7", "0", "1"), CoordinateType::DecimalDegrees, 3, 1, {11, 3},
       0.1 + 3 * ((0.7 - 0.1) / 11), 0 + 1 * ((1.0 - 0) / 3), true},
      {"colon texts", kDmsFrame, CoordinateType::DegMinSec, 2048, 1024, kCanvas, 8.5, 46.5, true},
      {"empty left edge keeps x", Frame("", "15000", "30000", "25000"), CoordinateType::Meters, 2048, 1024, kCanvas,
       111, 27500, true},
      {"unreadable bottom edge keeps y", Frame("10000", "15000", "30000", "2x"), CoordinateType::Meters, 2048, 1024,
       kCanvas, 12500, 222, true},
      {"zero width keeps x", kStartFrame, CoordinateType::Meters, 2048, 1024, {0, 2048}, 111, 27500, true},
      {"zero height keeps y", kStartFrame, CoordinateType::Meters, 2048, 1024, {4096, 0}, 12500, 222, true},
      {"nothing readable computes nothing", Frame("", "", "", ""), CoordinateType::Meters, 1, 1, kCanvas, 111, 222,
       false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Cursor cursor{111, 222, "", "", false};
    Pixel2Map(row.x, row.y, row.canvas, row.frame, row.notation, cursor);
    EXPECT_EQ(cursor.x, row.expectedX);
    EXPECT_EQ(cursor.y, row.expectedY);
    EXPECT_EQ(cursor.computed, row.expectedComputed);
  }
}

struct RoundRow {
  const char* name;
  NotationChoice notation;
  double x, y;
  double expectedX, expectedY;
  const char* textX;
  const char* textY;
};

TEST(RoundForCapture, RoundsByNotationAndWritesTheCellTexts) {
  const RoundRow rows[] = {
      {"metres floor", CoordinateType::Meters, 12345.9, 12345.0, 12345, 12345, "12345", "12345"},
      {"metres negative floors down", CoordinateType::Meters, -0.5, 27500, -1, 27500, "-1", "27500"},
      {"five decimals cut", CoordinateType::DecimalDegrees, 8.123456789, 8.5, 8.12345, 8.5, "8.12345", "8.5"},
      {"cut on the double product", CoordinateType::DecimalDegrees, 0.29999, 7.0000049, 0.29998, 7, "0.29998", "7"},
      {"colon texts keep the values", CoordinateType::DegMinSec, 8.5, 46.5, 8.5, 46.5, "8:30:00", "46:30:00"},
      {"no notation leaves values", std::nullopt, 12345.678, -0.5, 12345.678, -0.5, "12345.678", "-0.5"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Cursor cursor{row.x, row.y, "", "", true};
    const CellTexts texts = RoundForCapture(cursor, row.notation);
    EXPECT_EQ(cursor.x, row.expectedX);
    EXPECT_EQ(cursor.y, row.expectedY);
    EXPECT_EQ(texts.x, row.textX);
    EXPECT_EQ(texts.y, row.textY);
  }
}

TEST(RoundForCapture, FillsTheColonTextsOnlyInDegMinSec) {
  Cursor cursor{8.5, 46.5, "", "", true};
  RoundForCapture(cursor, CoordinateType::Meters);
  EXPECT_EQ(cursor.xDms, "");
  RoundForCapture(cursor, CoordinateType::DegMinSec);
  EXPECT_EQ(cursor.xDms, "8:00:00");
  EXPECT_EQ(cursor.yDms, "46:00:00");
}

TEST(HemisphereLetters, OnlyTheExactCaptionsGiveEastAndNorth) {
  const struct {
    const char* name;
    const char* xCaption;
    const char* yCaption;
    const char* x;
    const char* y;
  } rows[] = {
      {"recomputed east north", "X Coord. EAST", "Y Coord. NORTH", "E", "N"},
      {"recomputed west south", "X Coord. WEST", "Y Coord. SOUTH", "W", "S"},
      {"design captions", "X Coord. NORTH", "Y Coord. EAST", "W", "S"},
      {"other case", "x coord. east", "y coord. north", "W", "S"},
      {"trailing blank", "X Coord. EAST ", "Y Coord. NORTH ", "W", "S"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(XLetter(row.xCaption), row.x);
    EXPECT_EQ(YLetter(row.yCaption), row.y);
  }
}

TEST(RecomputeAxisCaptions, ComparesTheEdgeValuesAsNumbers) {
  const struct {
    const char* name;
    MapFrame frame;
    NotationChoice notation;
    const char* xCaption;
    const char* yCaption;
  } rows[] = {
      {"start values", kStartFrame, CoordinateType::Meters, "X Coord. EAST", "Y Coord. NORTH"},
      {"values growing down", Frame("9.8", "10.2", "33.5", "34.2"), CoordinateType::DecimalDegrees, "X Coord. EAST",
       "Y Coord. SOUTH"},
      {"values growing left", Frame("15000", "10000", "30000", "25000"), CoordinateType::Meters, "X Coord. WEST",
       "Y Coord. NORTH"},
      {"equal values", Frame("5", "5", "7", "7"), CoordinateType::Meters, "X Coord. WEST", "Y Coord. SOUTH"},
      {"colon texts", kDmsFrame, CoordinateType::DegMinSec, "X Coord. EAST", "Y Coord. NORTH"},
      {"no notation", kStartFrame, std::nullopt, "X Coord. EAST", "Y Coord. NORTH"},
      {"unreadable left keeps x caption", Frame("", "15000", "30000", "25000"), CoordinateType::Meters,
       "X Coord. NORTH", "Y Coord. NORTH"},
      {"unreadable top keeps y caption", Frame("10000", "15000", "3.0.0", "25000"), CoordinateType::Meters,
       "X Coord. EAST", "Y Coord. EAST"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    MapFrame frame = row.frame;
    RecomputeAxisCaptions(frame, row.notation);
    EXPECT_EQ(frame.xCaption, row.xCaption);
    EXPECT_EQ(frame.yCaption, row.yCaption);
  }
}

TEST(ReadoutText, ShowsTheLastComputedCoordinates) {
  const struct {
    const char* name;
    Cursor cursor;
    NotationChoice notation;
    const char* expected;
  } rows[] = {
      {"nothing computed yet", {0, 0, "", "", false}, CoordinateType::Meters, ""},
      {"nothing computed yet, colon texts", {0, 0, "", "", false}, CoordinateType::DegMinSec, ""},
      {"metres", {12500, 27500, "", "", true}, CoordinateType::Meters, "X= 12500  Y= 27500"},
      {"negative x", {-3.5, 46.5, "", "", true}, CoordinateType::DecimalDegrees, "X=-3.5  Y= 46.5"},
      {"colon texts", {8.5, 46.5, "8:30:00", "46:30:00", true}, CoordinateType::DegMinSec, "8:30:00  46:30:00"},
      {"no notation", {1, 2, "8:30:00", "46:30:00", true}, std::nullopt, "X= 1  Y= 2"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ReadoutText(row.cursor, row.notation), row.expected);
  }
}

}  // namespace
}  // namespace velmaro

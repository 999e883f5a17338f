#include "files/kml_file.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/files/test_folder.h"

namespace velmaro {
namespace {

constexpr CoordinateType kDms = CoordinateType::DegMinSec;
constexpr CoordinateType kDecimal = CoordinateType::DecimalDegrees;
constexpr CoordinateType kMeters = CoordinateType::Meters;

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n"
    "<extrude>0</extrude>\r\n"
    "<tessellate>0</tessellate>\r\n"
    "<Document>\r\n"
    "     <IconStyle>\r\n"
    "<Icon>\r\n"
    "<href>http://maps.google.com/mapfiles/kml/pushpin/ylw-pushpin.png</href>\r\n"
    "<scale>0.05</scale>\r\n"
    "</Icon>\r\n"
    "</IconStyle>\r\n";
const std::string kTail = "</Document>\r\n</kml>\r\n";

std::string Placemark(const std::string& name, const std::string& coordinates) {
  return "<Placemark>\r\n<name>" + name + "</name>\r\n<description>Pt</description>\r\n<Point>\r\n<coordinates>" +
         coordinates + "</coordinates>\r\n</Point>\r\n</Placemark>\r\n";
}

MapFrame FrameWith(std::string_view xCaption, std::string_view yCaption) {
  MapFrame frame;
  frame.xCaption = std::string(xCaption);
  frame.yCaption = std::string(yCaption);
  return frame;
}

PointTable TableOf(const std::vector<std::pair<std::string, std::string>>& cells) {
  PointTable table;
  // The letter columns are deliberately the opposite of the captions: the export must not read them.
  for (const auto& [x, y] : cells) table.append("W", x, "S", y);
  return table;
}

TEST(KmlText, EmptyTableIsHeadAndTailOnly) {
  EXPECT_EQ(KmlText(PointTable{}, FrameWith(kXEast, kYNorth), kDms), kHead + kTail);
}

TEST(KmlText, ThreePointsInTableOrder) {
  const PointTable table = TableOf({{"8.5", "46.5"}, {"9", "47.25"}, {"10.125", "-1"}});
  EXPECT_EQ(
      KmlText(table, FrameWith(kXEast, kYNorth), kDecimal),
      kHead + Placemark("Pt 1", "8.5,46.5") + Placemark("Pt 2", "9,47.25") + Placemark("Pt 3", "10.125,-1") + kTail);
}

TEST(KmlText, SeventhPointNameKeepsItsBlank) {
  PointTable table;
  for (int k = 0; k < 7; ++k) table.append("E", "-1", "N", "2");
  const std::string text = KmlText(table, FrameWith(kXWest, kYSouth), kDecimal);
  EXPECT_NE(text.find("<name>Pt 7</name>\r\n"), std::string::npos);
  EXPECT_EQ(text.find("<name>Pt 8</name>"), std::string::npos);
  EXPECT_NE(text.find(Placemark("Pt 7", "1,-2") + kTail), std::string::npos);
}

struct CoordinateCase {
  const char* name;
  CoordinateType notation;
  std::string_view xCaption;
  std::string_view yCaption;
  std::string xCell;
  std::string yCell;
  std::string coordinates;
};

void PrintTo(const CoordinateCase& c, std::ostream* os) { *os << c.name; }

class KmlCoordinates : public testing::TestWithParam<CoordinateCase> {};

TEST_P(KmlCoordinates, OnePlacemark) {
  const CoordinateCase& c = GetParam();
  const PointTable table = TableOf({{c.xCell, c.yCell}});
  EXPECT_EQ(KmlText(table, FrameWith(c.xCaption, c.yCaption), c.notation),
            kHead + Placemark("Pt 1", c.coordinates) + kTail);
}

const CoordinateCase kCoordinateCases[] = {
    {"dms_east_cut_to_five_decimals", kDms, kXEast, kYNorth, "46:30:05", "46:30:00", "46.50138,46.5"},
    {"dms_south_negates_latitude", kDms, kXEast, kYSouth, "8:30:00", "12:30:00", "8.5,-12.5"},
    {"dms_west_cut_before_sign", kDms, kXWest, kYNorth, "46:30:05", "0:00:00", "-46.50138,0"},
    {"dms_negative_floors_down", kDms, kXEast, kYNorth, "-12:30:05", "7:05:30", "-11.49862,7.09166"},
    {"dms_whole_degrees", kDms, kXEast, kYNorth, "7:00:00", "46:00:00", "7,46"},
    {"dms_garbage_reads_by_position", kDms, kXEast, kYNorth, "46", "", "0.77944,0"},
    {"decimal_west_negates", kDecimal, kXWest, kYNorth, "8.5", "46.5", "-8.5,46.5"},
    {"decimal_not_cut", kDecimal, kXEast, kYNorth, "12.3456789", "-0.000001", "12.3456789,-0.000001"},
    {"decimal_leading_number", kDecimal, kXEast, kYNorth, "8.5abc", " 46.25 N", "8.5,46.25"},
    {"decimal_no_number_is_zero", kDecimal, kXEast, kYNorth, "abc", "", "0,0"},
    {"zero_negated_stays_zero", kDecimal, kXWest, kYSouth, "0", "0.0", "0,0"},
    {"negative_cell_west_turns_positive", kDecimal, kXWest, kYSouth, "-8.5", "-46.5", "8.5,46.5"},
    {"design_caption_negates_longitude", kDecimal, kXDesignCaption, kYDesignCaption, "8.5", "46.5", "-8.5,46.5"},
    {"caption_match_is_exact", kDecimal, "x coord. east", "Y Coord. SOUTH ", "8.5", "46.5", "-8.5,46.5"},
    {"meters_read_as_numbers", kMeters, kXEast, kYNorth, "12500", "27500", "12500,27500"},
};

INSTANTIATE_TEST_SUITE_P(Cells, KmlCoordinates, testing::ValuesIn(kCoordinateCases),
                         [](const testing::TestParamInfo<CoordinateCase>& info) { return info.param.name; });

TEST(KmlFileOnDisk, WritesTheText) {
  const test::TestFolder folder;
  const std::string path = folder / "alps.kml";
  const PointTable table = TableOf({{"46:30:05", "12:30:00"}});
  const MapFrame frame = FrameWith(kXEast, kYSouth);

  ASSERT_FALSE(WriteKmlFile(path, table, frame, kDms));
  EXPECT_EQ(test::ReadBytes(path), kHead + Placemark("Pt 1", "46.50138,-12.5") + kTail);
}

}  // namespace
}  // namespace velmaro

#include "files/xy_file.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/files/test_folder.h"

namespace velmaro {
namespace {

struct CellCase {
  const char* name;
  std::string cell;
  std::string expected;
};

void PrintTo(const CellCase& c, std::ostream* os) { *os << c.name; }

class CsvCells : public testing::TestWithParam<CellCase> {};

TEST_P(CsvCells, QuotedOnlyWhenNeeded) { EXPECT_EQ(CsvCell(GetParam().cell), GetParam().expected); }

const CellCase kCellCases[] = {
    {"plain", "12500", "12500"},
    {"empty", "", ""},
    {"leading_blank_kept", " X coord", " X coord"},
    {"dms_colons", "46:30:05", "46:30:05"},
    {"comma", "12,5", "\"12,5\""},
    {"double_quote", "a\"b", "\"a\"\"b\""},
    {"only_a_quote", "\"", "\"\"\"\""},
    {"line_feed", "a\nb", "\"a\nb\""},
    {"carriage_return", "a\rb", "\"a\rb\""},
    {"comma_and_quote", "\"x\",y", "\"\"\"x\"\",y\""},
    {"semicolon_kept_plain", "a;b", "a;b"},
};

INSTANTIATE_TEST_SUITE_P(Cells, CsvCells, testing::ValuesIn(kCellCases),
                         [](const testing::TestParamInfo<CellCase>& info) { return info.param.name; });

struct Point {
  std::string xLetter, xText, yLetter, yText;
};

struct XyCase {
  const char* name;
  std::vector<Point> points;
  std::vector<int> removedRows;  // removed after capture, in this order
  std::string expected;
};

void PrintTo(const XyCase& c, std::ostream* os) { *os << c.name; }

PointTable TableOf(const std::vector<Point>& points, const std::vector<int>& removedRows) {
  PointTable table;
  for (const Point& p : points) table.append(p.xLetter, p.xText, p.yLetter, p.yText);
  for (const int row : removedRows) table.removeRow(row);
  return table;
}

class XyText : public testing::TestWithParam<XyCase> {};

TEST_P(XyText, HeaderThenOneLinePerPoint) {
  EXPECT_EQ(XyFileText(TableOf(GetParam().points, GetParam().removedRows)), GetParam().expected);
}

const std::string kHeader = ",, X coord,, Y coord\r\n";

const XyCase kXyCases[] = {
    {"empty_table_header_only", {}, {}, kHeader},
    {"one_meters_point", {{"E", "12500", "N", "27500"}}, {}, kHeader + "Pt 1,E,12500,N,27500\r\n"},
    {"three_points_in_order",
     {{"E", "1", "N", "2"}, {"W", "3", "S", "4"}, {"E", "5", "N", "6"}},
     {},
     kHeader + "Pt 1,E,1,N,2\r\nPt 2,W,3,S,4\r\nPt 3,E,5,N,6\r\n"},
    {"dms_and_decimal_texts",
     {{"E", "46:30:05", "N", "8:30:00"}, {"W", "8.50001", "S", "-12.5"}},
     {},
     kHeader + "Pt 1,E,46:30:05,N,8:30:00\r\nPt 2,W,8.50001,S,-12.5\r\n"},
    {"removed_row_leaves_no_gap",
     {{"E", "1", "N", "2"}, {"W", "3", "S", "4"}, {"E", "5", "N", "6"}},
     {2},
     kHeader + "Pt 1,E,1,N,2\r\nPt 2,E,5,N,6\r\n"},
    {"every_point_removed", {{"E", "1", "N", "2"}}, {1}, kHeader},
    {"cells_needing_quotes",
     {{"E", "12,5", "N", "say \"hi\""}},
     {},
     kHeader + "Pt 1,E,\"12,5\",N,\"say \"\"hi\"\"\"\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Tables, XyText, testing::ValuesIn(kXyCases),
                         [](const testing::TestParamInfo<XyCase>& info) { return info.param.name; });

TEST(XyFileOnDisk, WritesTheTextAndReplacesAnOldFile) {
  const test::TestFolder folder;
  const std::string path = folder / "sheet12.txt";
  test::WriteBytes(path, std::string(5000, 'o'));
  const PointTable table = TableOf({{"E", "12500", "N", "27500"}}, {});

  ASSERT_FALSE(WriteXyFile(path, table));
  EXPECT_EQ(test::ReadBytes(path), kHeader + "Pt 1,E,12500,N,27500\r\n");
}

TEST(XyFileOnDisk, CancelledDialogNameIsNoFile) {
  const test::TestFolder folder;
  const std::optional<WriteFailure> failure = WriteXyFile(folder / "*.txt", PointTable{});
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->reason, "Not a file name");
  EXPECT_FALSE(std::filesystem::exists(folder / "*.txt"));
}

}  // namespace
}  // namespace velmaro

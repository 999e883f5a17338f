#include "core/point_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmaro {
namespace {

PointTable TableOf(int points) {
  PointTable table;
  for (int i = 1; i <= points; ++i) table.append("E", std::to_string(i), "N", std::to_string(i * 10));
  return table;
}

std::vector<std::string> Names(const PointTable& table) {
  std::vector<std::string> names;
  for (const auto& row : table.rows()) names.push_back(row.name);
  return names;
}

std::vector<std::string> XTexts(const PointTable& table) {
  std::vector<std::string> texts;
  for (const auto& row : table.rows()) texts.push_back(row.xText);
  return texts;
}

TEST(PointName, IsPtABlankAndTheRow) {
  const struct {
    int row;
    const char* expected;
  } rows[] = {{1, "Pt 1"}, {10, "Pt 10"}, {17, "Pt 17"}, {250, "Pt 250"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(PointName(row.row), row.expected);
  }
}

TEST(PointTable, AppendFillsRowPointCountAndNamesIt) {
  PointTable table;
  EXPECT_EQ(table.PointCount(), 1);
  EXPECT_EQ(table.append("W", "12500", "S", "27500"), 1);
  EXPECT_EQ(table.PointCount(), 2);
  const PointRow& row = table.row(1);
  EXPECT_EQ(row.name, "Pt 1");
  EXPECT_EQ(row.xLetter, "W");
  EXPECT_EQ(row.xText, "12500");
  EXPECT_EQ(row.yLetter, "S");
  EXPECT_EQ(row.yText, "27500");
}

TEST(PointTable, HoldsAtMost250Points) {
  PointTable table = TableOf(kMaxPoints - 1);
  EXPECT_FALSE(table.full());
  EXPECT_EQ(table.append("E", "x", "N", "y"), 250);
  EXPECT_TRUE(table.full());
  EXPECT_EQ(table.PointCount(), 251);
  EXPECT_EQ(table.append("E", "x", "N", "y"), 0);
  EXPECT_EQ(table.size(), 250);
}

TEST(PointTable, RemoveRowMovesTheRestUpAndRenumbers) {
  const struct {
    const char* name;
    int points;
    int remove;
    bool removed;
    std::vector<std::string> xTexts;
  } rows[] = {
      {"second of four", 4, 2, true, {"1", "3", "4"}},
      {"first of four", 4, 1, true, {"2", "3", "4"}},
      {"last of four", 4, 4, true, {"1", "2", "3"}},
      {"only point", 1, 1, true, {}},
      {"header row", 4, 0, false, {"1", "2", "3", "4"}},
      {"row below the points", 4, 5, false, {"1", "2", "3", "4"}},
      {"negative row", 4, -1, false, {"1", "2", "3", "4"}},
      {"empty table", 0, 1, false, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    PointTable table = TableOf(row.points);
    EXPECT_EQ(table.removeRow(row.remove), row.removed);
    EXPECT_EQ(XTexts(table), row.xTexts);
    std::vector<std::string> expectedNames;
    for (std::size_t i = 1; i <= row.xTexts.size(); ++i) expectedNames.push_back(PointName(static_cast<int>(i)));
    EXPECT_EQ(Names(table), expectedNames);
    EXPECT_EQ(table.PointCount(), static_cast<int>(row.xTexts.size()) + 1);
  }
}

}  // namespace
}  // namespace velmaro

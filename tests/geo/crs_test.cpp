// CRS lookup, search and transformation on the rows of lookup.txt, search.txt and transform.txt.

#include <cmath>

#include "tests/geo/support.h"

namespace velmaro::test {
namespace {

using testing::Case;
using testing::CaseTestName;
using testing::ReadCases;

std::string KindName(geo::GeoErrorKind kind) {
  constexpr const char* kNames[] = {"UnknownCrs",   "UnsuitableCrs",      "NoCrs",       "NoTransformation",
                                    "TransformFailed", "OutsideArea",     "MapUnreadable", "SideFileUnreadable",
                                    "NotWritable",  "Exists",             "WriteFailed", "FormatUnavailable"};
  return kNames[static_cast<int>(kind)];
}

class Lookup : public ::testing::TestWithParam<Case> {};

TEST_P(Lookup, FindsTheCrsOrSaysWhyNot) {
  const Case& c = GetParam();
  const geo::CrsResult found = TheGeo().crs(c[0]);
  if (!found.crs) {
    ASSERT_TRUE(found.error) << c.where;
    EXPECT_EQ(KindName(found.error->kind), c[1]) << c.where << ": " << found.error->detail;
    return;
  }
  ASSERT_FALSE(found.error) << c.where;
  const geo::Crs& crs = *found.crs;
  if (c[1] == "WKT") {
    EXPECT_TRUE(crs.authority.empty() && crs.code.empty()) << c.where;
    EXPECT_TRUE(crs.definition.starts_with("PROJCRS[") || crs.definition.starts_with("GEOGCRS[")) << c.where;
  } else {
    EXPECT_EQ(crs.definition, c[1]) << c.where;
    EXPECT_EQ(crs.authority + ":" + crs.code, c[1]) << c.where;
  }
  EXPECT_EQ(crs.name, c[2]) << c.where;
  EXPECT_EQ(crs.geographic, c.integer(3) == 1) << c.where;
  EXPECT_EQ(crs.area.known, c[4] != "-") << c.where;
  if (crs.area.known) {
    EXPECT_FALSE(crs.area.name.empty()) << c.where;
    EXPECT_EQ(crs.area.west, c.number(4)) << c.where;
    EXPECT_EQ(crs.area.south, c.number(5)) << c.where;
    EXPECT_EQ(crs.area.east, c.number(6)) << c.where;
    EXPECT_EQ(crs.area.north, c.number(7)) << c.where;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Lookup, ::testing::ValuesIn(ReadCases(kGeoTests / "lookup.txt")),
                         [](const auto& info) { return CaseTestName(info.param, info.index); });

class Search : public ::testing::TestWithParam<Case> {};

TEST_P(Search, RanksTheCrs) {
  const Case& c = GetParam();
  const std::vector<geo::Crs> found = TheGeo().searchCrs(c[0], 50);
  if (c[1] == "-") {
    EXPECT_TRUE(found.empty()) << c.where << ": first " << (found.empty() ? "" : found[0].name);
    return;
  }
  std::size_t rank = 0;
  while (rank < found.size() && found[rank].definition != c[1]) ++rank;
  if (c.integer(2) == 0) {
    EXPECT_EQ(rank, found.size()) << c.where << ": found at " << rank + 1;
    return;
  }
  EXPECT_LT(rank, static_cast<std::size_t>(c.integer(2))) << c.where << ": found at " << rank + 1 << " of " << found.size();
  for (const geo::Crs& crs : found) {
    EXPECT_FALSE(crs.name.empty() || crs.area.name.empty()) << c.where << ": " << crs.definition;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Search, ::testing::ValuesIn(ReadCases(kGeoTests / "search.txt")),
                         [](const auto& info) { return CaseTestName(info.param, info.index); });

TEST(Search, StopsAtMaxResults) {
  EXPECT_EQ(TheGeo().searchCrs("UTM", 7).size(), 7u);
  EXPECT_TRUE(TheGeo().searchCrs("UTM", 0).empty());
}

class Transform : public ::testing::TestWithParam<Case> {};

// cs2cs prints 12 decimals; the same library on the same machine differs from it by that rounding only.
constexpr double kCs2csPrinted = 1e-11;

TEST_P(Transform, GivesWhatCs2csGives) {
  const Case& c = GetParam();
  const geo::Crs from = CrsOf(c[0]);
  geo::TransformerResult made =
      c[1] == "EPSG:4326" ? TheGeo().toWgs84(from) : TheGeo().transformer(from, CrsOf(c[1]));
  ASSERT_TRUE(made.transformer) << c.where << ": " << made.error->detail;
  const geo::Transformed out = made.transformer->transform({c.number(2), c.number(3)});
  ASSERT_TRUE(out.position) << c.where;
  EXPECT_NEAR(out.position->x, c.number(4), kCs2csPrinted) << c.where;
  EXPECT_NEAR(out.position->y, c.number(5), kCs2csPrinted) << c.where;
  EXPECT_EQ(out.outsideArea, c.integer(6) == 1) << c.where;
}

INSTANTIATE_TEST_SUITE_P(Table, Transform, ::testing::ValuesIn(ReadCases(kGeoTests / "transform.txt")),
                         [](const auto& info) { return CaseTestName(info.param, info.index); });

// echo 1e30 1e30 | cs2cs EPSG:27700 EPSG:4326  =>  *	* inf
TEST(Transform, APointPROJCannotTransformHasNoPosition) {
  geo::TransformerResult made = TheGeo().toWgs84(CrsOf("EPSG:27700"));
  ASSERT_TRUE(made.transformer);
  const geo::Transformed out = made.transformer->transform({1e30, 1e30});
  EXPECT_FALSE(out.position);
  EXPECT_TRUE(out.outsideArea);
  EXPECT_TRUE(made.transformer->transform({530000, 180000}).position) << "a failure does not stick";
}

}  // namespace
}  // namespace velmaro::test

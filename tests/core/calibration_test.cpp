// Runs the calibration table: exact frames recovered in each notation, residuals, refusals.
#include "core/calibration.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/common/case_table.h"

namespace velmaro {
namespace {
using testing::Case;

std::vector<ReferencePoint> Points(const std::string& field) {
  std::vector<ReferencePoint> points;
  std::istringstream all(field);
  for (std::string one; std::getline(all, one, ';');) {
    std::istringstream parts(one);
    std::string x, y, knownX, knownY;
    std::getline(parts >> std::ws, x, ','), std::getline(parts, y, ','), std::getline(parts, knownX, ',');
    std::getline(parts, knownY);
    points.push_back({std::stod(x), std::stod(y), knownX, knownY});
  }
  return points;
}

class CalibrationTable : public ::testing::TestWithParam<Case> {};
TEST_P(CalibrationTable, FitsOrRefuses) {
  const Case& row = GetParam();
  const std::map<std::string, NotationChoice> notations = {{"Meters", CoordinateType::Meters},
      {"DegMinSec", CoordinateType::DegMinSec}, {"DecimalDegrees", CoordinateType::DecimalDegrees}, {"none", {}}};
  const Calibration fit = Calibrate(Points(row[1]), notations.at(row[0]), CanvasSize{9000, 4500});
  if (row[2].front() == '!') {
    ASSERT_TRUE(fit.refusal);
    EXPECT_EQ(fit.refusal->rfind(row[2].substr(1), 0), 0u) << *fit.refusal;
    return;
  }
  ASSERT_FALSE(fit.refusal) << *fit.refusal;
  EXPECT_EQ(fit.edges, (std::array<std::string, 4>{row[2], row[3], row[4], row[5]}));
  // The fit's arithmetic errs by about 1e-11 at these magnitudes; the rows give 12 significant digits.
  EXPECT_NEAR(fit.largestResidual, row.number(6), 1e-9);
  EXPECT_NEAR(fit.roundingShift, row.number(7), 1e-9);
}
INSTANTIATE_TEST_SUITE_P(Table, CalibrationTable,
                         ::testing::ValuesIn(testing::ReadCases(VELMARO_CORE_CASES "/calibration.cases")));

}  // namespace
}  // namespace velmaro

// Runs the calibration table: exact frames recovered in each notation, residuals, refusals.
#include "core/calibration.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/common/case_table.h"

using namespace velmaro;

class CalibrationTable : public ::testing::TestWithParam<velmaro::testing::Case> {};
TEST_P(CalibrationTable, FitsOrRefuses) {
  const auto& row = GetParam();
  std::string field = row[1];
  for (char& c : field) c = (c == ',' || c == ';') ? ' ' : c;
  std::istringstream in(field);
  std::vector<ReferencePoint> points;
  for (ReferencePoint p; in >> p.x >> p.y >> p.xText >> p.yText;) points.push_back(p);
  const NotationChoice notation = row[0] == "Meters" ? CoordinateType::Meters
      : row[0] == "DegMinSec" ? CoordinateType::DegMinSec : row[0] == "none" ? NotationChoice() : CoordinateType::DecimalDegrees;
  const Calibration fit = Calibrate(points, notation, CanvasSize{9000, 4500});
  // A refusal reads "!" and the message; a fit its left edge (the rows give the message's start).
  const std::string outcome = fit.refusal ? "!" + *fit.refusal : fit.edges[0];
  EXPECT_EQ(outcome.substr(0, row[2].size()), row[2]);
  if (fit.refusal || row[2].front() == '!') return;
  EXPECT_EQ(fit.edges, (std::array<std::string, 4>{row[2], row[3], row[4], row[5]}));
  // The fit errs by about 1e-11 at these magnitudes; the rows give 12 significant digits.
  EXPECT_NEAR(fit.largestResidual, row.number(6), 1e-9);
  EXPECT_NEAR(fit.roundingShift, row.number(7), 1e-9);
}
INSTANTIATE_TEST_SUITE_P(Table, CalibrationTable,
                         ::testing::ValuesIn(velmaro::testing::ReadCases(VELMARO_CORE_CASES "/calibration.cases")));

#pragma once
// Curves and coarse fields of the sample sheet, in picture pixels.

#include <vector>

#include "sheet.h"

namespace sample_sheet {

// A smooth curve through the control points (uniform Catmull-Rom), `steps` points per span; the first
// and last control points are ends of the curve.
Polyline Spline(const Polyline& controls, int steps = 24);

// Point in a closed polygon (even-odd).
bool Inside(const Polyline& polygon, QPointF p);

// A scalar field sampled every `step` pixels over the whole picture; read back bilinearly.
class Field {
 public:
  explicit Field(int step, float initial = 0);
  int step() const { return step_; }
  int columns() const { return columns_; }
  int rows() const { return rows_; }
  float& at(int column, int row) { return values_[static_cast<std::size_t>(row) * columns_ + column]; }
  float at(int column, int row) const { return values_[static_cast<std::size_t>(row) * columns_ + column]; }
  double sample(double x, double y) const;  // bilinear; clamped at the picture's edges

 private:
  int step_;
  int columns_;
  int rows_;
  std::vector<float> values_;
};

// Distance in pixels to the nearest segment of any curve, up to `reach` (farther points keep `reach`).
Field DistanceField(const std::vector<Polyline>& curves, int step, double reach);

// The same, and beside it a value carried by the curves (one per curve point), taken from the nearest
// segment and interpolated along it; 0 beyond `reach`.
struct DistanceAndValue {
  Field distance;
  Field value;
};
DistanceAndValue DistanceFieldWithValue(const std::vector<Polyline>& curves,
                                        const std::vector<std::vector<float>>& values, int step, double reach);

}  // namespace sample_sheet

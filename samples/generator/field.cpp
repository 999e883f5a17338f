#include "field.h"

#include <algorithm>
#include <cmath>

namespace sample_sheet {

Polyline Spline(const Polyline& controls, int steps) {
  if (controls.size() < 2) return controls;
  Polyline curve;
  const std::size_t n = controls.size();
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const QPointF p0 = controls[i == 0 ? 0 : i - 1];
    const QPointF p1 = controls[i];
    const QPointF p2 = controls[i + 1];
    const QPointF p3 = controls[std::min(i + 2, n - 1)];
    for (int s = 0; s < steps; ++s) {
      const double t = static_cast<double>(s) / steps;
      const double t2 = t * t;
      const double t3 = t2 * t;
      curve.push_back(0.5 * ((2 * p1) + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2 +
                             (-p0 + 3 * p1 - 3 * p2 + p3) * t3));
    }
  }
  curve.push_back(controls.back());
  return curve;
}

bool Inside(const Polyline& polygon, QPointF p) {
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const QPointF a = polygon[i];
    const QPointF b = polygon[j];
    if ((a.y() > p.y()) != (b.y() > p.y()) &&
        p.x() < (b.x() - a.x()) * (p.y() - a.y()) / (b.y() - a.y()) + a.x())
      inside = !inside;
  }
  return inside;
}

Field::Field(int step, float initial)
    : step_(step), columns_(kWidth / step + 2), rows_(kHeight / step + 2),
      values_(static_cast<std::size_t>(columns_) * rows_, initial) {}

double Field::sample(double x, double y) const {
  const double gx = std::clamp(x / step_, 0.0, columns_ - 1.001);
  const double gy = std::clamp(y / step_, 0.0, rows_ - 1.001);
  const int cx = static_cast<int>(gx);
  const int cy = static_cast<int>(gy);
  const double tx = gx - cx;
  const double ty = gy - cy;
  const double top = at(cx, cy) * (1 - tx) + at(cx + 1, cy) * tx;
  const double bottom = at(cx, cy + 1) * (1 - tx) + at(cx + 1, cy + 1) * tx;
  return top * (1 - ty) + bottom * ty;
}

DistanceAndValue DistanceFieldWithValue(const std::vector<Polyline>& curves,
                                        const std::vector<std::vector<float>>& values, int step, double reach) {
  DistanceAndValue fields{Field(step, static_cast<float>(reach)), Field(step, 0)};
  for (std::size_t k = 0; k < curves.size(); ++k) {
    const Polyline& curve = curves[k];
    for (std::size_t i = 0; i + 1 < curve.size(); ++i) {
      const QPointF a = curve[i];
      const QPointF ab = curve[i + 1] - a;
      const double length2 = std::max(QPointF::dotProduct(ab, ab), 1e-12);
      const int c0 = std::max(0, static_cast<int>((std::min(a.x(), a.x() + ab.x()) - reach) / step));
      const int c1 = std::min(fields.distance.columns() - 1, static_cast<int>((std::max(a.x(), a.x() + ab.x()) + reach) / step) + 1);
      const int r0 = std::max(0, static_cast<int>((std::min(a.y(), a.y() + ab.y()) - reach) / step));
      const int r1 = std::min(fields.distance.rows() - 1, static_cast<int>((std::max(a.y(), a.y() + ab.y()) + reach) / step) + 1);
      for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
          const QPointF p(c * step, r * step);
          const double t = std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0);
          const QPointF d = p - (a + t * ab);
          const double distance = std::hypot(d.x(), d.y());
          if (distance >= fields.distance.at(c, r)) continue;
          fields.distance.at(c, r) = static_cast<float>(distance);
          if (k < values.size()) fields.value.at(c, r) = static_cast<float>(values[k][i] + (values[k][i + 1] - values[k][i]) * t);
        }
    }
  }
  return fields;
}

Field DistanceField(const std::vector<Polyline>& curves, int step, double reach) {
  return DistanceFieldWithValue(curves, {}, step, reach).distance;
}

}  // namespace sample_sheet

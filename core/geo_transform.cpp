#include "core/geo_transform.h"

#include <charconv>
#include <cmath>

namespace velmaro {
namespace {

// to_chars in fixed notation rounds the exact binary value correctly, as glibc's printf("%.10f") does.
double TenDecimals(double v) {
  if (!std::isfinite(v)) return v;
  char text[400];
  const auto written = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 10);
  double read = v;
  std::from_chars(text, written.ptr, read);
  return read;
}

}  // namespace

std::optional<GeoTransform> ToGeoTransform(const MapTransform& transform, double twipsPerPixel) {
  GeoTransform gt{};
  const double tpp = twipsPerPixel;
  switch (transform.model) {
    case TransformModel::Projective: return std::nullopt;
    case TransformModel::Edges: {
      if (!transform.xEdges || !transform.yEdges) return std::nullopt;
      const EdgeAxis& x = *transform.xEdges;
      const EdgeAxis& y = *transform.yEdges;
      if (x.side == 0 || y.side == 0) return std::nullopt;
      gt = {x.first, (x.second - x.first) / x.side * tpp, 0, y.first, 0, (y.second - y.first) / y.side * tpp};
      break;
    }
    case TransformModel::Helmert:
    case TransformModel::Affine: {
      const TransformCoefficients& k = transform.coefficients;
      gt = {k.a0, k.a1 * tpp, k.a2 * tpp, k.b0, k.b1 * tpp, k.b2 * tpp};
      break;
    }
  }
  for (double v : gt)
    if (!std::isfinite(v)) return std::nullopt;
  return gt;
}

MapTransform FromGeoTransform(const GeoTransform& gt, double twipsPerPixel, TransformModel model) {
  MapTransform transform;
  transform.model = model;
  const double tpp = twipsPerPixel;
  transform.coefficients = {gt[0], gt[1] / tpp, gt[2] / tpp, gt[3], gt[4] / tpp, gt[5] / tpp, 1, 0, 0};
  return transform;
}

WorldFile ToWorldFile(const GeoTransform& gt) {
  return {gt[1], gt[4], gt[2], gt[5], gt[0] + 0.5 * gt[1] + 0.5 * gt[2], gt[3] + 0.5 * gt[4] + 0.5 * gt[5]};
}

GeoTransform FromWorldFile(const WorldFile& w) {
  return {w.c - 0.5 * w.a - 0.5 * w.b, w.a, w.b, w.f - 0.5 * w.d - 0.5 * w.e, w.d, w.e};
}

WorldFile WithWorldFileDigits(const WorldFile& w) {
  return {TenDecimals(w.a), TenDecimals(w.d), TenDecimals(w.b), TenDecimals(w.e), TenDecimals(w.c), TenDecimals(w.f)};
}

}  // namespace velmaro

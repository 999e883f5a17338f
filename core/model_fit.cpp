#include "core/model_fit.h"

#include <algorithm>
#include <cmath>

#include "core/model_solvers.h"

namespace velmaro {
namespace {

using Space = FitRefusal::Space;

struct Sample {
  int index;  // in the list given
  double x, y, X, Y;
};

int MinimumPoints(TransformModel model) {
  switch (model) {
    case TransformModel::Helmert: return 2;
    case TransformModel::Affine: return 3;
    case TransformModel::Projective: return 4;
    case TransformModel::Edges: break;
  }
  return 0;
}

FitRefusal Refusal(FitRefusalKind kind, Space space, std::vector<int> points, double value, double limit) {
  FitRefusal refusal;
  refusal.kind = kind;
  refusal.space = space;
  refusal.points = std::move(points);
  refusal.value = value;
  refusal.limit = limit;
  return refusal;
}

// One side (picture twips or map units) of the switched-on points, with its resolution: the distance
// below which two places are one.
struct Side {
  Space space;
  std::vector<Place> p;
  double resolution;
  double unit;  // divides a distance into the unit the refusal reports (pixels, or 1 for map units)
};

std::optional<FitRefusal> FindRepeated(const Side& side, const std::vector<Sample>& samples) {
  for (std::size_t i = 0; i < side.p.size(); ++i) {
    for (std::size_t j = i + 1; j < side.p.size(); ++j) {
      const double d = std::hypot(side.p[i].first - side.p[j].first, side.p[i].second - side.p[j].second);
      if (d <= side.resolution)
        return Refusal(FitRefusalKind::RepeatedPoints, side.space, {samples[i].index, samples[j].index},
                       d / side.unit, side.resolution / side.unit);
    }
  }
  return std::nullopt;
}

// The largest distance of the points (all but `skip`) from their best-fitting line, the line through
// their centre along the principal direction of their spread.
double Thickness(const std::vector<Place>& p, std::size_t skip) {
  double cx = 0, cy = 0, n = 0;
  for (std::size_t i = 0; i < p.size(); ++i)
    if (i != skip) cx += p[i].first, cy += p[i].second, n += 1;
  cx /= n;
  cy /= n;
  double sxx = 0, sxy = 0, syy = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (i == skip) continue;
    const double dx = p[i].first - cx, dy = p[i].second - cy;
    sxx += dx * dx, sxy += dx * dy, syy += dy * dy;
  }
  // The line's direction is the principal axis of the 2 x 2 scatter matrix; its normal the other one.
  const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
  const double nx = -std::sin(angle), ny = std::cos(angle);
  double largest = 0;
  for (std::size_t i = 0; i < p.size(); ++i)
    if (i != skip) largest = std::max(largest, std::abs((p[i].first - cx) * nx + (p[i].second - cy) * ny));
  return largest;
}

std::optional<FitRefusal> FindCollinear(const Side& side, const std::vector<Sample>& samples, bool allButOne) {
  const auto refuse = [&](std::size_t skip, double thickness) {
    std::vector<int> on;
    for (std::size_t i = 0; i < samples.size(); ++i)
      if (i != skip) on.push_back(samples[i].index);
    return Refusal(FitRefusalKind::CollinearPoints, side.space, on, thickness / side.unit, side.resolution / side.unit);
  };
  const std::size_t none = side.p.size();
  const double all = Thickness(side.p, none);
  if (all <= side.resolution) return refuse(none, all);
  if (!allButOne) return std::nullopt;
  for (std::size_t skip = 0; skip < side.p.size(); ++skip) {
    const double rest = Thickness(side.p, skip);
    if (rest <= side.resolution) return refuse(skip, rest);
  }
  return std::nullopt;
}

// Where the line c0 + c1 x + c2 y = 0 meets the border of the canvas, in pixels (the first two meetings).
std::array<PicturePosition, 2> HorizonCrossings(const TransformCoefficients& k, CanvasSize canvas, double tpp) {
  std::vector<PicturePosition> hits;
  const auto add = [&](double x, double y) {
    if (x >= 0 && x <= canvas.width && y >= 0 && y <= canvas.height) hits.push_back({x / tpp, y / tpp});
  };
  if (k.c1 != 0) add(-k.c0 / k.c1, 0), add(-(k.c0 + k.c2 * canvas.height) / k.c1, canvas.height);
  if (k.c2 != 0) add(0, -k.c0 / k.c2), add(canvas.width, -(k.c0 + k.c1 * canvas.width) / k.c2);
  hits.resize(std::max<std::size_t>(hits.size(), 2), hits.empty() ? PicturePosition{} : hits.front());
  return {hits[0], hits[1]};
}

bool AllFinite(const TransformCoefficients& k) {
  for (double v : {k.a0, k.a1, k.a2, k.b0, k.b1, k.b2, k.c0, k.c1, k.c2})
    if (!std::isfinite(v)) return false;
  return true;
}

// The switched-on points, normalised, once they passed every check made before solving.
struct Prepared {
  std::vector<NormalisedPoint> points;
  Normalisation picture, map;
  bool pictureOnALine = false;
};

std::optional<FitRefusal> CheckLayout(TransformModel model, const std::vector<Sample>& samples, double tpp,
                                      Prepared& prepared) {
  Side picture{Space::Picture, {}, tpp / 2, tpp};
  Side map{Space::Map, {}, 0, 1};
  for (const Sample& s : samples) picture.p.emplace_back(s.x, s.y), map.p.emplace_back(s.X, s.Y);
  prepared.picture = Normalise(picture.p);
  prepared.map = Normalise(map.p);
  // Half a pixel in map units, by the points' own ratio of map spread to picture spread.
  map.resolution = picture.resolution * (prepared.picture.rms > 0 ? prepared.map.rms / prepared.picture.rms : 0);

  for (const Side* side : {&picture, &map})
    if (auto repeated = FindRepeated(*side, samples)) return repeated;
  prepared.pictureOnALine = Thickness(picture.p, picture.p.size()) <= picture.resolution;
  if (model == TransformModel::Helmert) return std::nullopt;  // two points are always on a line
  for (const Side* side : {&picture, &map})
    if (auto line = FindCollinear(*side, samples, model == TransformModel::Projective)) return line;
  return std::nullopt;
}

std::optional<FitRefusal> Prepare(TransformModel model, const std::vector<KnownPoint>& points, double tpp,
                                  Prepared& prepared) {
  if (model == TransformModel::Edges) return Refusal(FitRefusalKind::NotFittedHere, Space::Picture, {}, 0, 0);
  std::vector<Sample> samples;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const KnownPoint& p = points[i];
    if (!p.enabled) continue;
    const int index = static_cast<int>(i);
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.mapX) || !std::isfinite(p.mapY))
      return Refusal(FitRefusalKind::NotANumber, Space::Picture, {index}, 0, 0);
    samples.push_back({index, p.x, p.y, p.mapX, p.mapY});
  }
  const int needed = MinimumPoints(model);
  if (static_cast<int>(samples.size()) < needed)
    return Refusal(FitRefusalKind::TooFewPoints, Space::Picture, {}, static_cast<double>(samples.size()), needed);
  if (auto refusal = CheckLayout(model, samples, tpp, prepared)) return refusal;

  const Normalisation& pn = prepared.picture;
  const Normalisation& mn = prepared.map;
  for (const Sample& s : samples)
    prepared.points.push_back({(s.x - pn.cx) * pn.scale, (s.y - pn.cy) * pn.scale, (s.X - mn.cx) * mn.scale,
                               (s.Y - mn.cy) * mn.scale});
  return std::nullopt;
}

NormalisedFit Solve(TransformModel model, const Prepared& prepared, Handedness handedness) {
  if (model == TransformModel::Affine) return SolveAffine(prepared.points);
  if (model == TransformModel::Projective) return SolveProjective(prepared.points);
  // Points spanning an area choose the handedness that fits them better; on a line both fit alike.
  const NormalisedFit chosen = SolveHelmert(prepared.points, handedness);
  if (prepared.pictureOnALine) return chosen;
  const NormalisedFit turned =
      SolveHelmert(prepared.points, handedness == Handedness::Map ? Handedness::Picture : Handedness::Map);
  return turned.squaredError < chosen.squaredError ? turned : chosen;
}

}  // namespace

Residuals MeasureResiduals(const MapTransform& transform, const std::vector<KnownPoint>& points,
                           double twipsPerPixel) {
  Residuals result;
  double sumMap = 0, sumPixels = 0;
  int countMap = 0, countPixels = 0;
  for (const KnownPoint& point : points) {
    const MapPosition fitted = PictureToMap(transform, point.x, point.y);
    if (!fitted.x || !fitted.y) {
      result.points.emplace_back();
      continue;
    }
    Residual r;
    r.map = {point.mapX - *fitted.x, point.mapY - *fitted.y, std::hypot(point.mapX - *fitted.x, point.mapY - *fitted.y)};
    if (const auto at = MapToPicture(transform, point.mapX, point.mapY)) {
      const double dx = (at->x - point.x) / twipsPerPixel, dy = (at->y - point.y) / twipsPerPixel;
      r.pixels = Offset{dx, dy, std::hypot(dx, dy)};
    }
    if (point.enabled) {
      sumMap += r.map.length * r.map.length, ++countMap;
      if (r.pixels) sumPixels += r.pixels->length * r.pixels->length, ++countPixels;
    }
    result.points.push_back(r);
  }
  result.rmsMap = countMap > 0 ? std::sqrt(sumMap / countMap) : 0;
  result.rmsPixels = countPixels > 0 ? std::sqrt(sumPixels / countPixels) : 0;
  return result;
}

ModelFit FitModel(TransformModel model, const std::vector<KnownPoint>& points, const FitSettings& settings) {
  ModelFit fit;
  fit.transform.model = model;
  Prepared prepared;
  fit.refusal = Prepare(model, points, settings.twipsPerPixel, prepared);
  if (fit.refusal) return fit;

  const NormalisedFit solved = Solve(model, prepared, settings.handedness);
  fit.conditionNumber = solved.conditionNumber;
  const Matrix3 h = Denormalise(solved.h, prepared.picture, prepared.map);
  // Stored as X = a0 + a1 x + a2 y: the translation is the matrix's last column.
  TransformCoefficients& k = fit.transform.coefficients;
  k = {h[0][2], h[0][0], h[0][1], h[1][2], h[1][0], h[1][1], h[2][2], h[2][0], h[2][1]};
  if (!(solved.conditionNumber <= kConditionLimit) || !AllFinite(k)) {
    fit.refusal = Refusal(FitRefusalKind::IllConditioned, Space::Picture, {}, solved.conditionNumber, kConditionLimit);
    return fit;
  }
  if (!HorizonOutside(fit.transform, settings.canvas)) {
    fit.refusal = Refusal(FitRefusalKind::HorizonInPicture, Space::Picture, {}, 0, 0);
    fit.refusal->horizon = HorizonCrossings(k, settings.canvas, settings.twipsPerPixel);
    return fit;
  }
  // One sign over the picture, so c0 (the corner (0, 0)) is not zero: dividing by it makes c0 = 1.
  const double c0 = k.c0;
  for (double* v : {&k.a0, &k.a1, &k.a2, &k.b0, &k.b1, &k.b2, &k.c0, &k.c1, &k.c2}) *v /= c0;
  fit.residuals = MeasureResiduals(fit.transform, points, settings.twipsPerPixel);
  return fit;
}

}  // namespace velmaro

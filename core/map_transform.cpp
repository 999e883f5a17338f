#include "core/map_transform.h"

#include <array>
#include <cmath>
#include <vector>

namespace velmaro {
namespace {

bool IsLinear(TransformModel model) { return model == TransformModel::Helmert || model == TransformModel::Affine; }

std::optional<EdgeAxis> Axis(std::optional<double> first, std::optional<double> second, double side) {
  if (!first || !second) return std::nullopt;
  return EdgeAxis{*first, *second, side};
}

std::optional<double> Finite(double v) { return std::isfinite(v) ? std::optional<double>(v) : std::nullopt; }

double Denominator(const TransformCoefficients& k, double x, double y) { return k.c0 + x * k.c1 + y * k.c2; }

// Composite Gauss-Legendre rule over [0, length]: 16 panels of the 8-node rule.
struct Node {
  double position;
  double weight;
};
std::vector<Node> QuadratureNodes(double length) {
  static constexpr std::array<double, 4> kAbscissae = {0.18343464249564978, 0.525532409916329, 0.7966664774136267,
                                                       0.9602898564975362};
  static constexpr std::array<double, 4> kWeights = {0.36268378337836177, 0.31370664587788705, 0.22238103445337434,
                                                     0.10122853629037669};
  constexpr int kPanels = 16;
  const double half = length / kPanels / 2;
  std::vector<Node> nodes;
  for (int panel = 0; panel < kPanels; ++panel) {
    const double middle = (2 * panel + 1) * half;
    for (std::size_t i = 0; i < kAbscissae.size(); ++i) {
      nodes.push_back({middle - kAbscissae[i] * half, kWeights[i] * half});
      nodes.push_back({middle + kAbscissae[i] * half, kWeights[i] * half});
    }
  }
  return nodes;
}

// The least-squares line over [0, length] through samples of a function at the quadrature nodes:
// its values at 0 and at length.
std::pair<double, double> LineEnds(const std::vector<Node>& nodes, const std::vector<double>& values, double length) {
  double mean = 0, moment = 0, spread = 0;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const double u = nodes[i].position - length / 2;
    mean += nodes[i].weight * values[i];
    moment += nodes[i].weight * values[i] * u;
    spread += nodes[i].weight * u * u;
  }
  mean /= length;
  const double slope = moment / spread;
  return {mean - slope * length / 2, mean + slope * length / 2};
}

// X averaged over y at each x node and Y averaged over x at each y node: the parts of the model that
// depend on one picture axis alone, to which the frame's lines are then fitted.
std::optional<EdgeValues> ProjectiveClosestFrame(const MapTransform& transform, CanvasSize canvas) {
  if (!HorizonOutside(transform, canvas)) return std::nullopt;
  const std::vector<Node> xs = QuadratureNodes(canvas.width);
  const std::vector<Node> ys = QuadratureNodes(canvas.height);
  std::vector<double> xAlongX(xs.size(), 0.0), yAlongY(ys.size(), 0.0);
  for (std::size_t i = 0; i < xs.size(); ++i) {
    for (std::size_t j = 0; j < ys.size(); ++j) {
      const MapPosition m = PictureToMap(transform, xs[i].position, ys[j].position);
      if (!m.x || !m.y) return std::nullopt;
      xAlongX[i] += ys[j].weight * *m.x / canvas.height;
      yAlongY[j] += xs[i].weight * *m.y / canvas.width;
    }
  }
  const auto [left, right] = LineEnds(xs, xAlongX, canvas.width);
  const auto [top, bottom] = LineEnds(ys, yAlongY, canvas.height);
  return EdgeValues{left, right, top, bottom};
}

}  // namespace

MapTransform EdgesTransform(const MapFrame& frame, NotationChoice notation, CanvasSize canvas) {
  return EdgesTransform(ReadEdgeValue(frame.left, notation), ReadEdgeValue(frame.right, notation),
                        ReadEdgeValue(frame.top, notation), ReadEdgeValue(frame.bottom, notation), canvas);
}

MapTransform EdgesTransform(std::optional<double> left, std::optional<double> right, std::optional<double> top,
                            std::optional<double> bottom, CanvasSize canvas) {
  MapTransform transform;
  transform.xEdges = Axis(left, right, canvas.width);
  transform.yEdges = Axis(top, bottom, canvas.height);
  return transform;
}

std::optional<double> EdgeValue(const EdgeAxis& axis, double pointer) {
  if (axis.side == 0) return std::nullopt;
  return Finite(axis.first + pointer * ((axis.second - axis.first) / axis.side));
}

MapPosition PictureToMap(const MapTransform& transform, double x, double y) {
  if (transform.model == TransformModel::Edges) {
    return {transform.xEdges ? EdgeValue(*transform.xEdges, x) : std::nullopt,
            transform.yEdges ? EdgeValue(*transform.yEdges, y) : std::nullopt};
  }
  const TransformCoefficients& k = transform.coefficients;
  double X = k.a0 + x * k.a1 + y * k.a2;
  double Y = k.b0 + x * k.b1 + y * k.b2;
  if (!IsLinear(transform.model)) {
    const double d = Denominator(k, x, y);
    X /= d;
    Y /= d;
  }
  if (!std::isfinite(X) || !std::isfinite(Y)) return {};
  return {X, Y};
}

void PlaceCursor(Cursor& cursor, const MapPosition& map) {
  if (map.x) cursor.x = *map.x;
  if (map.y) cursor.y = *map.y;
  if (map.x || map.y) cursor.computed = true;
}

std::optional<PicturePosition> MapToPicture(const MapTransform& transform, double X, double Y) {
  double x = 0, y = 0;
  if (transform.model == TransformModel::Edges) {
    if (!transform.xEdges || !transform.yEdges) return std::nullopt;
    const EdgeAxis& ex = *transform.xEdges;
    const EdgeAxis& ey = *transform.yEdges;
    x = (X - ex.first) / ((ex.second - ex.first) / ex.side);
    y = (Y - ey.first) / ((ey.second - ey.first) / ey.side);
  } else {
    // Two linear equations in x and y: for affine models c = (1, 0, 0) and they are X - a0 = a1 x + a2 y.
    const TransformCoefficients& k = transform.coefficients;
    const bool linear = IsLinear(transform.model);
    const double c0 = linear ? 1 : k.c0, c1 = linear ? 0 : k.c1, c2 = linear ? 0 : k.c2;
    const double p = k.a1 - c1 * X, q = k.a2 - c2 * X, r = c0 * X - k.a0;
    const double s = k.b1 - c1 * Y, t = k.b2 - c2 * Y, u = c0 * Y - k.b0;
    const double det = p * t - q * s;
    x = (r * t - q * u) / det;
    y = (p * u - r * s) / det;
  }
  if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
  return PicturePosition{x, y};
}

bool HorizonOutside(const MapTransform& transform, CanvasSize canvas) {
  if (transform.model != TransformModel::Projective) return true;
  // The denominator is linear, so it keeps one sign over the picture exactly when it has that sign at
  // the four corners.
  const TransformCoefficients& k = transform.coefficients;
  const double corners[4] = {Denominator(k, 0, 0), Denominator(k, canvas.width, 0), Denominator(k, 0, canvas.height),
                             Denominator(k, canvas.width, canvas.height)};
  for (double d : corners)
    if (!(d * corners[0] > 0)) return false;
  return true;
}

std::optional<EdgeValues> ClosestFrame(const MapTransform& transform, CanvasSize canvas) {
  if (transform.model == TransformModel::Edges) {
    if (!transform.xEdges || !transform.yEdges) return std::nullopt;
    return EdgeValues{transform.xEdges->first, transform.xEdges->second, transform.yEdges->first,
                      transform.yEdges->second};
  }
  if (!(canvas.width > 0 && canvas.height > 0)) return std::nullopt;
  if (!IsLinear(transform.model)) return ProjectiveClosestFrame(transform, canvas);
  const MapPosition left = PictureToMap(transform, 0, canvas.height / 2);
  const MapPosition right = PictureToMap(transform, canvas.width, canvas.height / 2);
  const MapPosition top = PictureToMap(transform, canvas.width / 2, 0);
  const MapPosition bottom = PictureToMap(transform, canvas.width / 2, canvas.height);
  if (!left.x || !right.x || !top.y || !bottom.y) return std::nullopt;
  return EdgeValues{*left.x, *right.x, *top.y, *bottom.y};
}

AxisDirections Directions(const MapTransform& transform, CanvasSize canvas) {
  if (transform.model == TransformModel::Edges) {
    AxisDirections directions;
    if (transform.xEdges) directions.xGrowsRight = transform.xEdges->second > transform.xEdges->first;
    if (transform.yEdges) directions.yGrowsUp = transform.yEdges->second < transform.yEdges->first;
    return directions;
  }
  const std::optional<EdgeValues> frame = ClosestFrame(transform, canvas);
  if (!frame) return {};
  return {frame->right > frame->left, frame->bottom < frame->top};
}

void SetAxisCaptions(MapFrame& frame, const AxisDirections& directions) {
  if (directions.yGrowsUp) frame.yCaption = std::string(*directions.yGrowsUp ? kYNorth : kYSouth);
  if (directions.xGrowsRight) frame.xCaption = std::string(*directions.xGrowsRight ? kXEast : kXWest);
}

}  // namespace velmaro

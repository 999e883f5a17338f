#include "terrain.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace sample_sheet {
namespace {

constexpr int kStep = 4;           // pixels between the samples of the coarse fields
constexpr double kFar = 6000;      // beyond every distance on the sheet
constexpr double kLowWater = 402;  // metres, where the river leaves the sheet
constexpr double kFall = 66;       // metres the river falls across the sheet

struct Hill {
  QPointF centre;
  double metres;
  double spread;  // pixels
};

constexpr Hill kHills[] = {
    {{880, 760}, 290, 360},  {{2760, 2160}, 170, 300}, {{3360, 1700}, 150, 250}, {{2620, 600}, 180, 330},
    {{1650, 760}, 130, 260}, {{1900, 2330}, 110, 230}, {{560, 2620}, 90, 280},   {{3650, 300}, 120, 260},
    {{300, 1250}, 140, 300},
};

Field LakeMask(const Polyline& shore) {
  Field mask(kStep);
  for (int r = 0; r < mask.rows(); ++r)
    for (int c = 0; c < mask.columns(); ++c) mask.at(c, r) = Inside(shore, QPointF(c * kStep, r * kStep)) ? 1 : 0;
  return mask;
}

// A running mean over 15 points, ends kept, so that the small steps of the trace leave no zig-zag.
Polyline Smoothed(const Polyline& line) {
  constexpr int kHalf = 7;
  Polyline smooth = line;
  const int n = static_cast<int>(line.size());
  for (int i = 1; i + 1 < n; ++i) {
    const int half = std::min({kHalf, i, n - 1 - i});
    QPointF sum;
    for (int k = -half; k <= half; ++k) sum += line[i + k];
    smooth[i] = sum / (2 * half + 1);
  }
  return smooth;
}

}  // namespace

Terrain::Terrain(const World& world)
    : world_(world),
      waterDistance_(DistanceField({world.river, world.lakeShore}, kStep, kFar)),
      lakeDistance_(DistanceField({world.lakeShore}, kStep, kFar)),
      lake_(LakeMask(world.lakeShore)),
      streamDistance_(kStep),
      streamDepth_(kStep) {
  for (int r = 0; r < lake_.rows(); ++r)
    for (int c = 0; c < lake_.columns(); ++c)
      if (lake_.at(c, r) > 0.5f) {
        waterDistance_.at(c, r) = 0;
        lakeDistance_.at(c, r) = 0;
      }
  std::vector<std::vector<float>> depths;
  for (QPointF source : world.streamSources) {
    Polyline stream = traceStream(source);
    if (stream.empty()) continue;  // it ended in a hollow
    // A stream cuts deeper the farther it has run, from a shallow notch at its source.
    std::vector<float> depth;
    for (std::size_t i = 0; i < stream.size(); ++i)
      depth.push_back(static_cast<float>(std::min(42.0, 2.0 + 0.1 * static_cast<double>(i))));
    streams_.push_back(std::move(stream));
    depths.push_back(std::move(depth));
  }
  DistanceAndValue cut = DistanceFieldWithValue(streams_, depths, kStep, 160);
  streamDistance_ = std::move(cut.distance);
  streamDepth_ = std::move(cut.value);
}

double Terrain::waterDistance(double x, double y) const { return waterDistance_.sample(x, y); }

double Terrain::waterLevel(double x, double y) const {
  // The river falls evenly along the valley's axis; near the lake the level bends to the lake's own,
  // so the shore is one contour-free level.
  const QPointF low = world_.river.back();
  const QPointF high = world_.river.front();
  const QPointF axis = high - low;
  const double s = std::clamp(QPointF::dotProduct(QPointF(x, y) - low, axis) / QPointF::dotProduct(axis, axis), 0.0, 1.0);
  const QPointF lakeAxis = world_.lakeCentre - low;
  const double lakeS = QPointF::dotProduct(lakeAxis, axis) / QPointF::dotProduct(axis, axis);
  const double lakeLevel = kLowWater + kFall * lakeS;
  const double d = lakeDistance_.sample(x, y) / 320.0;
  const double w = std::exp(-d * d);
  return (kLowWater + kFall * s) * (1 - w) + lakeLevel * w;
}

double Terrain::valleyHeight(double x, double y) const {
  // A flat floor beside the water, then valley sides that steepen and ease off toward the hills.
  const double d = waterDistance_.sample(x, y);
  const double side = std::max(0.0, d - 55);
  const double rise = 0.03 * d + 200 * (1 - std::exp(-side / 560));
  const double damp = 1 - std::exp(-d / 260);
  double hills = 0;
  for (const Hill& hill : kHills) {
    const double dx = x - hill.centre.x();
    const double dy = y - hill.centre.y();
    hills += hill.metres * std::exp(-(dx * dx + dy * dy) / (2 * hill.spread * hill.spread));
  }
  return waterLevel(x, y) + rise + hills * damp;
}

double Terrain::roughness(double x, double y) const {
  const double d = waterDistance_.sample(x, y);
  const double calm = 1 - std::exp(-std::max(0.0, d - 40) / 160);
  const double rolling = Fractal(x / 430.0, y / 430.0, 17, 5) - 0.5;
  const double ridges = 0.5 - std::abs(Fractal(x / 700.0 + 9, y / 700.0 + 4, 29, 4) - 0.5) * 2;
  return (95 * rolling + 55 * ridges) * calm;
}

double Terrain::height(double x, double y) const {
  const double s = streamDistance_.sample(x, y);
  const double d = waterDistance_.sample(x, y);
  // No cut on the valley floor, where the stream runs out onto the flat.
  const double onSlope = std::pow(std::clamp((d - 50) / 150, 0.0, 1.0), 2);
  const double cut = streamDepth_.sample(x, y) * std::exp(-s * s / (55.0 * 55.0)) * onSlope;
  return valleyHeight(x, y) + roughness(x, y) - cut;
}

Polyline Terrain::traceStream(QPointF source) const {
  // Down the valley's slope in steps of 3 px until the river or the lake, turned aside by the slope of
  // the rough ground but never more than a right angle, so that no hollow traps it.
  Polyline stream{source};
  QPointF p = source;
  auto downhill = [&p](auto&& f) {
    const double e = 3.0;
    const QPointF g(f(p.x() + e, p.y()) - f(p.x() - e, p.y()), f(p.x(), p.y() + e) - f(p.x(), p.y() - e));
    const double length = std::hypot(g.x(), g.y());
    return length > 1e-9 ? -g / length : QPointF();
  };
  for (int step = 0; step < 3000; ++step) {
    // A stream that leaves the sheet runs on to another valley.
    if (waterDistance_.sample(p.x(), p.y()) < 3 || !kBody.adjusted(-30, -30, 30, 30).contains(p))
      return Smoothed(stream);
    // Two streams that meet flow on as one.
    for (const Polyline& other : streams_)
      for (QPointF q : other)
        if (std::hypot(q.x() - p.x(), q.y() - p.y()) < 28) {
          stream.push_back(q);
          return Smoothed(stream);
        }
    // On the valley floor a stream heads straight for the river; above it, down the valley's side.
    const bool onFloor = waterDistance_.sample(p.x(), p.y()) < 90;
    const QPointF valley = onFloor ? downhill([this](double x, double y) { return waterDistance_.sample(x, y); })
                                   : downhill([this](double x, double y) { return valleyHeight(x, y); });
    const QPointF rough = downhill([this](double x, double y) { return roughness(x, y); });
    QPointF direction = valley + (onFloor ? 0.0 : 0.6) * rough;
    const double length = std::hypot(direction.x(), direction.y());
    if (length < 1e-9) break;
    p += 3.0 * direction / length;
    stream.push_back(p);
  }
  return {};
}

HeightGrid::HeightGrid(const Terrain& terrain, int left, int top, int width, int height)
    : left_(left), top_(top), width_(width), height_(height), values_(static_cast<std::size_t>(width) * height) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      values_[static_cast<std::size_t>(y) * width + x] = static_cast<float>(terrain.height(left + x, top + y));
}

float HeightGrid::slopeX(int x, int y) const {
  const int a = std::max(x - 1, left_);
  const int b = std::min(x + 1, left_ + width_ - 1);
  return (at(b, y) - at(a, y)) / static_cast<float>(b - a);
}

float HeightGrid::slopeY(int x, int y) const {
  const int a = std::max(y - 1, top_);
  const int b = std::min(y + 1, top_ + height_ - 1);
  return (at(x, b) - at(x, a)) / static_cast<float>(b - a);
}

}  // namespace sample_sheet

#pragma once
// The sample sheet's ground: heights in metres for every pixel of the map body, shaped around the
// water of the World: a valley that falls with the river, a level lake, hills damped near the water,
// a little noise, and the streams that run down from their sources and cut their own small valleys.

#include <vector>

#include "features.h"
#include "field.h"

namespace sample_sheet {

class Terrain {
 public:
  explicit Terrain(const World& world);

  // Height in metres at a picture position (valid over the whole picture, meaningful in the body).
  double height(double x, double y) const;
  // Pixels to the nearest river or lake water (0 in the lake).
  double waterDistance(double x, double y) const;
  bool inLake(double x, double y) const { return lake_.sample(x, y) > 0.5; }
  // Pixels to the nearest stream (up to 160).
  double streamDistance(double x, double y) const { return streamDistance_.sample(x, y); }
  // The streams as drawn, each from its source down to the river.
  const std::vector<Polyline>& streams() const { return streams_; }

 private:
  double waterLevel(double x, double y) const;
  double valleyHeight(double x, double y) const;  // the valley and the hills, smooth
  double roughness(double x, double y) const;     // the noise on top, metres
  Polyline traceStream(QPointF source) const;  // joins a stream of streams_ that it meets

  const World& world_;
  Field waterDistance_;
  Field lakeDistance_;
  Field lake_;  // 1 inside the lake, 0 outside
  Field streamDistance_;
  Field streamDepth_;  // metres a stream has cut where it runs, growing downstream
  std::vector<Polyline> streams_;
};

// Heights for every pixel of a rectangle, with their slope: what the contours and the relief shading
// are drawn from.
class HeightGrid {
 public:
  HeightGrid(const Terrain& terrain, int left, int top, int width, int height);
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  float at(int x, int y) const { return values_[static_cast<std::size_t>(y - top_) * width_ + (x - left_)]; }
  // Central differences, metres per pixel; one-sided at the rectangle's edges.
  float slopeX(int x, int y) const;
  float slopeY(int x, int y) const;

 private:
  int left_, top_, width_, height_;
  std::vector<float> values_;
};

}  // namespace sample_sheet

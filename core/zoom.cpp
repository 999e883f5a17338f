#include "core/zoom.h"

#include <algorithm>
#include <cmath>

#include "core/scroll.h"

namespace velmaro {

namespace {
// Steps are counted in half powers of two; the tolerance keeps 1.4142135623730951 on its own step.
constexpr double kStepTolerance = 1e-9;
double StepIndex(double zoom) { return 2 * std::log2(zoom); }
}  // namespace

double FitZoom(double pictureWidth, double pictureHeight, double viewportWidth, double viewportHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0 || viewportWidth <= 0 || viewportHeight <= 0) return 1.0;
  return std::min({1.0, viewportWidth / pictureWidth, viewportHeight / pictureHeight});
}

double StepZoom(double zoom, int steps, double fit) {
  const double index = StepIndex(zoom);
  double target = index;
  if (steps > 0) target = std::floor(index + kStepTolerance) + steps;
  if (steps < 0) target = std::ceil(index - kStepTolerance) + steps;
  return std::clamp(std::exp2(target / 2), std::min(fit, 1.0), kMaxZoom);
}

double PixelToPicture(double pixel, double zoom, double twipsPerPixel) { return pixel / zoom * twipsPerPixel; }

int ClampOffset(int offset, int shownCanvas, int viewport) {
  const int travel = viewport - shownCanvas;
  return std::clamp(offset, std::min(0, travel), std::max(0, travel));
}

int ZoomedOffset(int offset, int anchor, double oldZoom, double newZoom, int shownCanvas, int viewport) {
  const double spot = (anchor - offset) / oldZoom;
  const int moved = static_cast<int>(std::lround(anchor - spot * newZoom));
  return ClampOffset(moved, shownCanvas, viewport);
}

int ScrollValueForOffset(double offset, double shownCanvas, double viewport) {
  const double overflow = shownCanvas - viewport;
  if (overflow == 0) return kScrollMin;
  const long value = std::lround(-offset * 100 / overflow);
  return static_cast<int>(std::clamp<long>(value, kScrollMin, kScrollMax));
}

}  // namespace velmaro

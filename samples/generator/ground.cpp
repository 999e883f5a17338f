#include "ground.h"

#include <algorithm>
#include <cmath>

#include "ink.h"
#include "noise.h"

namespace sample_sheet {
namespace {

constexpr double kContourInterval = 10;  // metres
constexpr int kIndexEvery = 5;           // every fifth contour is thicker and may carry a number

// Relief shading from the north-west, as a factor on the paper's brightness.
double Shade(double slopeX, double slopeY) {
  const double k = 2.2 / kMetresPerPixel;  // exaggerated a little, as printed relief is
  const double nx = -slopeX * k, ny = -slopeY * k, nz = 1.0;
  const double n = std::sqrt(nx * nx + ny * ny + nz * nz);
  const double lit = (nx * -0.5 + ny * -0.5 + nz * 0.7071) / n;
  return std::clamp(1 + 0.34 * (lit - 0.7071), 0.86, 1.04);
}

double ContourCoverage(double h, double slope) {
  if (slope < 1e-4) return 0;
  const double level = std::round(h / kContourInterval);
  const double pixels = std::abs(h - level * kContourInterval) / slope;
  const bool index = static_cast<long>(level) % kIndexEvery == 0;
  const double halfWidth = index ? 1.05 : 0.6;
  return std::clamp(halfWidth + 0.5 - pixels, 0.0, 1.0);
}

}  // namespace

double WoodCover(const World& world, const Terrain& terrain, double x, double y) {
  double f = Fractal(x / 560.0, y / 560.0, 31, 5);
  f -= 0.28 * std::exp(-terrain.waterDistance(x, y) / 70.0);
  for (const Settlement& s : world.settlements) {
    const double d = std::hypot(x - s.centre.x(), y - s.centre.y()) / (s.radius * 1.3);
    f -= 0.3 * std::exp(-d * d);
  }
  return f;
}

void PaintGround(QImage& image, const World& world, const Terrain& terrain, const HeightGrid& heights) {
  constexpr double kWoodLine = 0.55;
  for (int y = heights.top(); y < heights.top() + heights.height(); ++y) {
    for (int x = heights.left(); x < heights.left() + heights.width(); ++x) {
      const double wood = WoodCover(world, terrain, x, y);
      const double woodStep = (wood - kWoodLine) / 0.0025;
      Blend(image, x, y, ink::kForest, std::clamp(woodStep + 0.5, 0.0, 1.0));
      Blend(image, x, y, ink::kForestEdge, 0.8 * std::clamp(1.3 - std::abs(woodStep), 0.0, 1.0));

      const double sx = heights.slopeX(x, y), sy = heights.slopeY(x, y);
      QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      const double f = Shade(sx, sy);
      const QRgb p = line[x];
      auto lit = [f](int c) { return std::clamp(static_cast<int>(c * f + 0.5), 0, 255); };
      // Shadows lean to a cool grey-violet, as printed relief does.
      line[x] = qRgb(lit(qRed(p)), lit(qGreen(p)), std::clamp(lit(qBlue(p)) + static_cast<int>((1 - f) * 40), 0, 255));

      if (terrain.inLake(x, y)) {
        Blend(image, x, y, ink::kWater, 1.0);
        continue;
      }
      Blend(image, x, y, ink::kContour, 0.92 * ContourCoverage(heights.at(x, y), std::hypot(sx, sy)));
    }
  }
}

}  // namespace sample_sheet

namespace sample_sheet {

void PaintContourNumbers(QImage& image, const HeightGrid& heights, const Terrain& terrain,
                         const std::function<bool(QPointF)>& busy) {
  const double indexInterval = kContourInterval * kIndexEvery;
  std::vector<QPointF> placed;
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QFont font = SheetFont("Liberation Sans", 19);
  for (int gy = heights.top() + 160; gy < heights.top() + heights.height() - 100; gy += 310) {
    for (int gx = heights.left() + 150 + (gy / 310 % 2) * 150; gx < heights.left() + heights.width() - 100; gx += 300) {
      // The spot on an index contour nearest to the lattice point, on a moderate slope.
      double best = 1e9;
      QPoint spot;
      for (int y = gy - 90; y <= gy + 90; y += 2)
        for (int x = gx - 90; x <= gx + 90; x += 2) {
          const double h = heights.at(x, y);
          const double slope = std::hypot(heights.slopeX(x, y), heights.slopeY(x, y));
          if (slope < 0.12 || slope > 0.6) continue;
          const double off = std::abs(h - std::round(h / indexInterval) * indexInterval) / slope;
          const double score = off + 0.02 * std::hypot(x - gx, y - gy);
          if (off < 0.6 && score < best) {
            best = score;
            spot = QPoint(x, y);
          }
        }
      if (best > 1e8 || busy(spot) || terrain.waterDistance(spot.x(), spot.y()) < 45) continue;
      if (std::any_of(placed.begin(), placed.end(),
                      [&](QPointF p) { return std::hypot(p.x() - spot.x(), p.y() - spot.y()) < 260; }))
        continue;
      placed.push_back(spot);
      const double sx = heights.slopeX(spot.x(), spot.y()), sy = heights.slopeY(spot.x(), spot.y());
      // The top of the number faces uphill.
      const double degrees = std::atan2(sx, -sy) * 180 / M_PI;
      // The halo takes the ground's colour beside the line: the lightest pixel nearby, off every line.
      QColor ground = image.pixelColor(spot);
      for (int y = spot.y() - 12; y <= spot.y() + 12; y += 3)
        for (int x = spot.x() - 12; x <= spot.x() + 12; x += 3)
          if (image.pixelColor(x, y).lightness() > ground.lightness()) ground = image.pixelColor(x, y);
      const int level = static_cast<int>(std::lround(heights.at(spot.x(), spot.y()) / indexInterval) * indexInterval);
      DrawLabel(painter, QString::number(level), font, ink::kContour, spot, degrees, ground, 7);
    }
  }
}

}  // namespace sample_sheet

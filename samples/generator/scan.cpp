#include "scan.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ink.h"
#include "noise.h"

namespace sample_sheet {
namespace {

// [1 2 1] / 4 across and down.
void Soften(QImage& image) {
  const int w = image.width(), h = image.height();
  std::vector<QRgb> row(static_cast<std::size_t>(w));
  auto mix = [](QRgb a, QRgb b, QRgb c) {
    return qRgb((qRed(a) + 2 * qRed(b) + qRed(c) + 2) / 4, (qGreen(a) + 2 * qGreen(b) + qGreen(c) + 2) / 4,
                (qBlue(a) + 2 * qBlue(b) + qBlue(c) + 2) / 4);
  };
  for (int y = 0; y < h; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    std::copy(line, line + w, row.begin());
    for (int x = 1; x + 1 < w; ++x) line[x] = mix(row[x - 1], row[x], row[x + 1]);
  }
  std::vector<QRgb> above(static_cast<std::size_t>(w));
  std::copy_n(reinterpret_cast<QRgb*>(image.scanLine(0)), w, above.begin());
  for (int y = 1; y + 1 < h; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const QRgb* below = reinterpret_cast<const QRgb*>(image.scanLine(y + 1));
    for (int x = 0; x < w; ++x) {
      const QRgb here = line[x];
      line[x] = mix(above[x], here, below[x]);
      above[x] = here;
    }
  }
}

// The scanner's light: brightest a little left of the middle, falling off toward the corners, with the
// lid's shadow along the right edge; and the two folds of the sheet, a dark crease beside a light ridge.
double Light(int x, int y) {
  const double dx = (x - 1700.0) / 4000.0, dy = (y - 1400.0) / 3000.0;
  double f = 1.0 - 0.09 * (dx * dx + dy * dy);
  if (x > 3930) f -= 0.07 * std::pow((x - 3930) / 70.0, 2);
  auto crease = [](double d) { return -0.05 * std::exp(-d * d / 3.0) + 0.025 * std::exp(-(d - 5) * (d - 5) / 8.0); };
  f += crease(x - 2010.0) * (0.7 + 0.3 * ValueNoise(y / 200.0, 3, 41));
  f += crease(y - 1505.0) * (0.7 + 0.3 * ValueNoise(x / 200.0, 7, 43));
  return f;
}

}  // namespace

void PaintPaper(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const double m = 1 + 0.035 * (Fractal(x / 150.0, y / 150.0, 5, 3) - 0.5);
      line[x] = qRgb(std::clamp(static_cast<int>(ink::kPaper.red() * m), 0, 255),
                     std::clamp(static_cast<int>(ink::kPaper.green() * m), 0, 255),
                     std::clamp(static_cast<int>(ink::kPaper.blue() * m * 0.995), 0, 255));
    }
  }
}

void ApplyScan(QImage& image) {
  Soften(image);
  for (int y = 0; y < image.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const double grain = 2.0 * (Lattice(x, y, 97) + Lattice(x, y, 98) - 1.0);
      const double f = Light(x, y);
      const QRgb p = line[x];
      auto c = [&](int v) { return std::clamp(static_cast<int>(v * f + grain + 0.5), 0, 255); };
      line[x] = qRgb(c(qRed(p)), c(qGreen(p)), c(qBlue(p)));
    }
  }
}

}  // namespace sample_sheet

#include "map_picture/scaled_pixels.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmaro::map_picture {

namespace {

// The source index under each output position's centre (the first of two when reducing), kept in `limit`.
std::vector<int> SourceIndices(int first, int count, double factor, bool reducing, int low, int high) {
  std::vector<int> indices(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const double centre = (first + i + 0.5) / factor - (reducing ? 0.5 : 0.0);
    indices[static_cast<std::size_t>(i)] = std::clamp(static_cast<int>(std::floor(centre)), low, high);
  }
  return indices;
}

}  // namespace

QImage ScaledRgb888(const QImage& source, const QRect& limit, const QRect& shown, double factor) {
  QImage view(shown.size(), QImage::Format_RGB32);
  if (view.isNull() || limit.isEmpty()) return view;
  const bool reducing = factor < 1.0;
  const std::vector<int> columns =
      SourceIndices(shown.left(), shown.width(), factor, reducing, limit.left(), limit.right());
  const std::vector<int> rows = SourceIndices(shown.top(), shown.height(), factor, reducing, limit.top(), limit.bottom());
  for (int y = 0; y < shown.height(); ++y) {
    const int sy = rows[static_cast<std::size_t>(y)];
    const uchar* row = source.constScanLine(sy);
    const uchar* below = source.constScanLine(std::min(sy + 1, limit.bottom()));
    auto* out = reinterpret_cast<QRgb*>(view.scanLine(y));
    for (int x = 0; x < shown.width(); ++x) {
      const int sx = columns[static_cast<std::size_t>(x)];
      const uchar* p = row + 3 * sx;
      if (!reducing) {
        out[x] = qRgb(p[0], p[1], p[2]);
        continue;
      }
      const int right = sx < limit.right() ? 3 : 0;
      const uchar* q = below + 3 * sx;
      out[x] = qRgb((p[0] + p[right] + q[0] + q[right] + 2) / 4, (p[1] + p[right + 1] + q[1] + q[right + 1] + 2) / 4,
                    (p[2] + p[right + 2] + q[2] + q[right + 2] + 2) / 4);
    }
  }
  return view;
}

}  // namespace velmaro::map_picture

#include "map_picture/qt_picture.h"

#include "map_picture/memory_budget.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace velmaro::map_picture {
namespace {

constexpr std::int64_t kMebibyte = 1024 * 1024;

// Bytes that a read of `size` in the reader's `format` takes, plus the 32-bit copy when a conversion follows
// (conversions between formats of different depth cannot happen in place).
std::int64_t BytesToDecode(QSize size, QImage::Format format) {
  const int depth = format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
  const std::int64_t decoded = std::int64_t{size.width()} * size.height() * std::max(depth, 1) / 8;
  return depth == 32 ? decoded : decoded + PixelBytes(size);
}

int AllocationLimitMebibytes(std::int64_t allowedBytes) {
  return static_cast<int>(std::clamp<std::int64_t>(allowedBytes / kMebibyte + 1, 1, INT_MAX));
}

QImage::Format TargetFormat(const QImage& image) {
  return image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
}

}  // namespace

std::optional<QImage> DecodeWithQt(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);  // shares the bytes, no copy
  QImageReader reader(&buffer);
  const auto allocatable = AllocatableBytes();
  if (!allocatable) return std::nullopt;
  std::int64_t allowed = *allocatable;
  const QSize size = reader.size();
  if (size.isValid()) {
    const std::int64_t needed = BytesToDecode(size, reader.imageFormat());
    if (!FitsBudget(size, needed, *allocatable)) return std::nullopt;
    allowed = needed;
  }
  reader.setAllocationLimit(AllocationLimitMebibytes(allowed));
  QImage image = reader.read();
  if (image.isNull() || !SidesInRange(image.size())) return std::nullopt;
  image.convertTo(TargetFormat(image));
  if (image.isNull()) return std::nullopt;
  return image;
}

}  // namespace velmaro::map_picture

#include "ui/map_picture/map_picture_loader.h"

#include "ui/map_picture/jpeg_picture.h"
#include "ui/map_picture/memory_budget.h"
#include "ui/map_picture/picture_bytes.h"
#include "ui/map_picture/preview_reduction.h"
#include "ui/map_picture/qt_picture.h"

#include <cstdint>

namespace velmaro::map_picture {
namespace {

// A JPEG decoded by libjpeg-turbo at `divisor` when its colour space allows it and the pixels plus the
// decoder's own store fit into memory; nullopt sends CMYK pictures to Qt and refuses the rest.
std::optional<QImage> DecodeJpegWithinBudget(const QByteArray& bytes, const JpegHeader& header, int divisor,
                                             JpegSpeed speed) {
  const std::int64_t needed = PixelBytes(ReducedSize(header.size, divisor)) + JpegDecoderWorkBytes(header);
  if (!FitsInMemory(header.size, needed)) return std::nullopt;
  return DecodeJpeg(bytes, divisor, speed);
}

// The picture reduced by `divisor`, or, without one, by the preview divisor for `box` chosen from the picture's
// size. JPEG reduces while decoding; other formats decode whole and reduce afterwards.
std::optional<QImage> DecodeReduced(const QByteArray& bytes, std::optional<int> divisor, QSize box,
                                    JpegSpeed speed) {
  if (LooksLikeJpeg(bytes)) {
    const auto header = ReadJpegHeader(bytes);
    if (!header) return std::nullopt;
    if (header->decodableToRgb) {
      const int chosen = divisor.value_or(PreviewDivisor(header->size, box));
      // Unreduced, the fast transform would save little and the preview would differ from the canvas.
      return DecodeJpegWithinBudget(bytes, *header, chosen, chosen == 1 ? JpegSpeed::Accurate : speed);
    }
  }
  const auto full = DecodeWithQt(bytes);
  if (!full) return std::nullopt;
  const int chosen = divisor.value_or(PreviewDivisor(full->size(), box));
  QImage reduced = ReduceByDivisor(*full, chosen);
  if (reduced.isNull()) return std::nullopt;
  return reduced;
}

}  // namespace

std::optional<QImage> LoadFull(const QString& path) {
  const auto bytes = ReadPictureBytes(path);
  if (!bytes) return std::nullopt;
  return DecodeReduced(*bytes, 1, QSize(), JpegSpeed::Accurate);
}

std::optional<QImage> LoadPreview(const QString& path, QSize box) {
  const auto bytes = ReadPictureBytes(path);
  if (!bytes) return std::nullopt;
  return DecodeReduced(*bytes, std::nullopt, box, JpegSpeed::Fast);
}

}  // namespace velmaro::map_picture

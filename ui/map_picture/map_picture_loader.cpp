#include "ui/map_picture/map_picture_loader.h"

#include "ui/map_picture/jpeg_picture.h"
#include "ui/map_picture/memory_budget.h"
#include "ui/map_picture/picture_bytes.h"
#include "ui/map_picture/preview_reduction.h"
#include "ui/map_picture/qt_picture.h"

#include <cstdint>

namespace velmaro::map_picture {
namespace {

// Enough for every header short of a JPEG with unusually large embedded profiles or thumbnails before its
// frame header; those are read whole.
constexpr std::int64_t kHeaderProbeBytes = 1024 * 1024;

std::optional<QSize> SizeFromBytes(const QByteArray& bytes) {
  if (LooksLikeJpeg(bytes)) {
    const auto header = ReadJpegHeader(bytes);
    return header ? std::optional<QSize>(header->size) : std::nullopt;
  }
  return QtPictureSize(bytes);
}

// A JPEG decoded by libjpeg-turbo at `divisor` when its colour space allows it and the pixels plus the
// decoder's own store fit into memory; nullopt sends CMYK pictures to Qt and refuses the rest.
std::optional<QImage> DecodeJpegWithinBudget(const QByteArray& bytes, const JpegHeader& header, int divisor,
                                             JpegSpeed speed, std::int64_t extraBytes) {
  const std::int64_t needed =
      PixelBytes(ReducedSize(header.size, divisor)) + JpegDecoderWorkBytes(header) + extraBytes;
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
      return DecodeJpegWithinBudget(bytes, *header, chosen, chosen == 1 ? JpegSpeed::Accurate : speed, 0);
    }
  }
  const auto full = DecodeWithQt(bytes);
  if (!full) return std::nullopt;
  const int chosen = divisor.value_or(PreviewDivisor(full->size(), box));
  QImage reduced = ReduceByDivisor(*full, chosen);
  if (reduced.isNull()) return std::nullopt;
  return reduced;
}

// The full JPEG with room for its preview counted in the budget from the start, so that the preview never
// fails for want of memory after the large decode has succeeded.
std::optional<QImage> DecodeFullForPreview(const QByteArray& bytes, QSize box) {
  const auto header = LooksLikeJpeg(bytes) ? ReadJpegHeader(bytes) : std::nullopt;
  if (!header || !header->decodableToRgb) return DecodeReduced(bytes, 1, box, JpegSpeed::Accurate);
  const int divisor = PreviewDivisor(header->size, box);
  const std::int64_t previewBytes = divisor == 1 ? 0 : PixelBytes(ReducedSize(header->size, divisor));
  return DecodeJpegWithinBudget(bytes, *header, 1, JpegSpeed::Accurate, previewBytes);
}

}  // namespace

std::optional<QSize> PictureSize(const QString& path) {
  auto bytes = ReadPictureBytes(path, kHeaderProbeBytes);
  if (!bytes) return std::nullopt;
  auto size = SizeFromBytes(*bytes);
  if (!size && bytes->size() == kHeaderProbeBytes) {
    bytes = ReadPictureBytes(path);
    if (bytes) size = SizeFromBytes(*bytes);
  }
  if (!size || !SidesInRange(*size)) return std::nullopt;
  return size;
}

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

std::optional<MapPicture> LoadMapPicture(const QString& path, QSize box) {
  std::optional<QImage> full;
  {
    const auto bytes = ReadPictureBytes(path);  // released before the preview is made
    if (!bytes) return std::nullopt;
    full = DecodeFullForPreview(*bytes, box);
  }
  if (!full) return std::nullopt;
  QImage preview = ReduceByDivisor(*full, PreviewDivisor(full->size(), box));
  if (preview.isNull()) return std::nullopt;
  return MapPicture{std::move(*full), std::move(preview)};
}

}  // namespace velmaro::map_picture

#include "map_picture/map_picture_loader.h"

#include "map_picture/jpeg_decoder.h"
#include "map_picture/memory_budget.h"
#include "map_picture/picture_bytes.h"
#include "map_picture/pixel_buffer.h"
#include "map_picture/preview_reduction.h"
#include "map_picture/qt_picture.h"

#include <atomic>

namespace velmaro::map_picture {
namespace {

std::optional<QImage> LoadWithQt(const QString& path) {
  const auto bytes = ReadPictureBytes(path);
  if (!bytes) return std::nullopt;
  return DecodeWithQt(*bytes);
}

std::optional<QImage> DecodeJpeg(JpegDecoder& decoder) {
  if (!FitsInMemory(decoder.size(), RgbBytes(decoder.size()) + decoder.workBytes())) return std::nullopt;
  PixelImage picture = NewPixelImage(decoder.size(), QImage::Format_RGB888);
  if (picture.image.isNull()) return std::nullopt;
  const std::atomic<bool> never{false};
  const int height = decoder.size().height();
  const auto wholePicture = [height](int) { return height; };
  if (decoder.decode(picture.rows, picture.bytesPerLine, never, wholePicture) != JpegDecoder::Outcome::Decoded)
    return std::nullopt;
  return std::move(picture.image);
}

}  // namespace

std::optional<QImage> LoadFull(const QString& path) {
  std::unique_ptr<JpegDecoder> decoder;
  switch (JpegDecoder::Open(path, decoder)) {
    case JpegDecoder::Opening::Refused: return std::nullopt;
    case JpegDecoder::Opening::NotJpeg: return LoadWithQt(path);
    case JpegDecoder::Opening::Opened: break;
  }
  if (!decoder->decodableToRgb()) return LoadWithQt(path);
  return DecodeJpeg(*decoder);
}

std::optional<QImage> PreviewOf(const QImage& full, QSize box) {
  QImage preview = ReduceByDivisor(full, PreviewDivisor(full.size(), box));
  if (preview.isNull()) return std::nullopt;
  return preview;
}

}  // namespace velmaro::map_picture

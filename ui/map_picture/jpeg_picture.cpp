#include "ui/map_picture/jpeg_picture.h"

#include "ui/map_picture/pixel_buffer.h"

#include <turbojpeg.h>

#include <QtGlobal>

#include <memory>

namespace velmaro::map_picture {
namespace {

struct TurboJpegHandleCloser {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using DecompressorHandle = std::unique_ptr<void, TurboJpegHandleCloser>;

DecompressorHandle NewDecompressor() { return DecompressorHandle(tjInitDecompress()); }

// Format_RGB32 is 0xffRRGGBB in a native 32-bit word; the byte order of that word decides the decoder's layout.
// The alpha variants are used because only they guarantee 0xff in the fourth byte, which RGB32 requires.
constexpr int kNativeRgb32Layout = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRA : TJPF_ARGB;

bool IsStartOfFrame(unsigned char marker) {
  // SOF0..SOF15 without DHT (C4), JPG (C8) and DAC (CC), which share the range.
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool IsProgressiveFrame(unsigned char marker) {
  return marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
}

// Walks the marker segments up to the first start-of-frame; 0 when none comes before the scan data.
unsigned char FindStartOfFrame(const QByteArray& bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype size = bytes.size();
  qsizetype at = 2;
  while (at + 4 <= size) {
    if (data[at] != 0xFF) return 0;
    const unsigned char marker = data[at + 1];
    if (marker == 0xFF) { ++at; continue; }  // fill byte before a marker
    if (IsStartOfFrame(marker)) return marker;
    if (marker == 0xDA || marker == 0xD9) return 0;
    const bool standalone = marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
    at += standalone ? 2 : 2 + (qsizetype{data[at + 2]} << 8 | data[at + 3]);
  }
  return 0;
}

int DecodeFlags(JpegSpeed speed) {
  // Stopping at the first warning ends a damaged file early instead of decoding grey rows to be thrown away;
  // the scan limit keeps a hostile progressive file from spinning through thousands of scans.
  const int safety = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;
  return speed == JpegSpeed::Fast ? safety | TJFLAG_FASTDCT : safety | TJFLAG_ACCURATEDCT;
}

bool IsSupportedDivisor(int divisor) { return divisor == 1 || divisor == 2 || divisor == 4 || divisor == 8; }

}  // namespace

bool LooksLikeJpeg(const QByteArray& bytes) {
  return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF;
}

std::optional<JpegHeader> ReadJpegHeader(const QByteArray& bytes) {
  if (!LooksLikeJpeg(bytes)) return std::nullopt;
  const DecompressorHandle handle = NewDecompressor();
  if (!handle) return std::nullopt;
  int width = 0, height = 0, subsampling = 0, colorspace = 0;
  if (tjDecompressHeader3(handle.get(), reinterpret_cast<const unsigned char*>(bytes.constData()),
                          static_cast<unsigned long>(bytes.size()), &width, &height, &subsampling,
                          &colorspace) != 0) {
    return std::nullopt;
  }
  JpegHeader header;
  header.size = QSize(width, height);
  header.decodableToRgb = colorspace != TJCS_CMYK && colorspace != TJCS_YCCK;
  header.progressive = IsProgressiveFrame(FindStartOfFrame(bytes));
  return header;
}

std::int64_t JpegDecoderWorkBytes(const JpegHeader& header) {
  if (!header.progressive) return 0;
  const std::int64_t blocks = std::int64_t{(header.size.width() + 7) / 8} * ((header.size.height() + 7) / 8);
  return blocks * 3 * 64 * 2;
}

std::optional<QImage> DecodeJpeg(const QByteArray& bytes, int divisor, JpegSpeed speed) {
  const auto header = ReadJpegHeader(bytes);
  if (!header || !header->decodableToRgb || !IsSupportedDivisor(divisor)) return std::nullopt;
  const tjscalingfactor scale{1, divisor};
  QImage image = NewPixelImage(QSize(TJSCALED(header->size.width(), scale), TJSCALED(header->size.height(), scale)),
                               QImage::Format_RGB32);
  if (image.isNull()) return std::nullopt;
  const DecompressorHandle handle = NewDecompressor();
  if (!handle) return std::nullopt;
  // Passing the scaled size makes the decoder pick exactly this scale; the pitch lets it write into the image's
  // own rows, so the pixels are never copied.
  const int result = tjDecompress2(handle.get(), reinterpret_cast<const unsigned char*>(bytes.constData()),
                                   static_cast<unsigned long>(bytes.size()), image.bits(), image.width(),
                                   static_cast<int>(image.bytesPerLine()), image.height(), kNativeRgb32Layout,
                                   DecodeFlags(speed));
  if (result != 0) return std::nullopt;
  return image;
}

}  // namespace velmaro::map_picture

#include "tests/map_picture/test_pictures.h"

#include <turbojpeg.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace velmaro::map_picture::testing {
namespace {

std::uint32_t Mix(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
  std::uint32_t h = x * 0x9E3779B1u ^ y * 0x85EBCA77u ^ seed * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  return h ^ (h >> 12);
}

// Offset of the height field (two bytes, then two of width) of the first SOF0/SOF1/SOF2 frame header.
qsizetype FrameSizeOffset(const QByteArray& jpeg) {
  for (qsizetype at = 2; at + 9 < jpeg.size(); ++at) {
    const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
    if (static_cast<unsigned char>(jpeg[at]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) return at + 5;
  }
  return -1;
}

// Calls `visit` with the absolute difference of every channel of every pixel; false when the sizes differ.
template <typename Visit>
bool ForEachChannelDifference(const QImage& a, const QImage& b, Visit visit) {
  if (a.size() != b.size()) return false;
  const QImage left = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QImage right = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < left.height(); ++y) {
    const auto* l = reinterpret_cast<const QRgb*>(left.constScanLine(y));
    const auto* r = reinterpret_cast<const QRgb*>(right.constScanLine(y));
    for (int x = 0; x < left.width(); ++x) {
      visit(std::abs(qRed(l[x]) - qRed(r[x])));
      visit(std::abs(qGreen(l[x]) - qGreen(r[x])));
      visit(std::abs(qBlue(l[x]) - qBlue(r[x])));
      visit(std::abs(qAlpha(l[x]) - qAlpha(r[x])));
    }
  }
  return true;
}

}  // namespace

QImage TexturedPicture(QSize size, std::uint32_t seed) {
  QImage image(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      const int red = (x * 255) / std::max(1, size.width() - 1);
      const int green = (y * 255) / std::max(1, size.height() - 1);
      const int blue = ((x / 16 + y / 16) % 2) ? 200 : 40;
      const int grain = static_cast<int>(Mix(x, y, seed) % 9) - 4;
      row[x] = qRgb(std::clamp(red + grain, 0, 255), std::clamp(green + grain, 0, 255), blue);
    }
  }
  return image;
}

int LargestChannelDifference(const QImage& a, const QImage& b) {
  int largest = 0;
  const bool sameSize =
      ForEachChannelDifference(a, b, [&](int difference) { largest = std::max(largest, difference); });
  return sameSize ? largest : 256;
}

double MeanChannelDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  std::int64_t count = 0;
  const bool sameSize = ForEachChannelDifference(a, b, [&](int difference) {
    sum += difference;
    ++count;
  });
  return !sameSize ? 256.0 : count == 0 ? 0.0 : sum / count;
}

QImage DecodedByQt(const QString& path) {
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  return reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QByteArray EncodeJpeg(const QImage& pixels, int quality, int subsampling) {
  const QImage rgb = pixels.convertToFormat(QImage::Format_RGB32);
  std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitCompress(), tjDestroy);
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  const int pixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
  if (tjCompress2(handle.get(), rgb.constBits(), rgb.width(), static_cast<int>(rgb.bytesPerLine()), rgb.height(),
                  pixelFormat, &jpeg, &size, subsampling, quality, 0) != 0) {
    tjFree(jpeg);
    return {};
  }
  QByteArray bytes(reinterpret_cast<const char*>(jpeg), static_cast<qsizetype>(size));
  tjFree(jpeg);
  return bytes;
}

QByteArray EncodeCmykJpeg(const QImage& pixels, int quality) {
  const QImage rgb = pixels.convertToFormat(QImage::Format_RGB32);
  std::vector<unsigned char> cmyk(static_cast<std::size_t>(rgb.width()) * rgb.height() * 4);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) {
      unsigned char* target = &cmyk[(static_cast<std::size_t>(y) * rgb.width() + x) * 4];
      target[0] = static_cast<unsigned char>(255 - qRed(row[x]));
      target[1] = static_cast<unsigned char>(255 - qGreen(row[x]));
      target[2] = static_cast<unsigned char>(255 - qBlue(row[x]));
      target[3] = 0;
    }
  }
  std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitCompress(), tjDestroy);
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  const int result = tjCompress2(handle.get(), cmyk.data(), rgb.width(), 0, rgb.height(), TJPF_CMYK, &jpeg, &size,
                                 TJSAMP_444, quality, 0);
  QByteArray bytes = result == 0 ? QByteArray(reinterpret_cast<const char*>(jpeg), qsizetype(size)) : QByteArray();
  tjFree(jpeg);
  return bytes;
}

QByteArray QtProgressiveJpeg(const QImage& image, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "JPEG");
  writer.setQuality(quality);
  writer.setProgressiveScanWrite(true);
  writer.write(image);
  return bytes;
}

QByteArray WithClaimedJpegSize(QByteArray jpeg, QSize claimed) {
  const qsizetype at = FrameSizeOffset(jpeg);
  if (at < 0) return {};
  jpeg[at] = static_cast<char>(claimed.height() >> 8);
  jpeg[at + 1] = static_cast<char>(claimed.height() & 0xFF);
  jpeg[at + 2] = static_cast<char>(claimed.width() >> 8);
  jpeg[at + 3] = static_cast<char>(claimed.width() & 0xFF);
  return jpeg;
}

QByteArray QtEncoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format, 95);
  return bytes;
}

QString TestFolder::Path(const QString& name) const { return dir_.filePath(name); }

QString TestFolder::Write(const QString& name, const QByteArray& bytes) const {
  const QString path = Path(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  return path;
}

}  // namespace velmaro::map_picture::testing

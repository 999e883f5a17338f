#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>

namespace velmaro::map_picture::testing {

// A picture with smooth gradients, hard edges and fine detail, different in every row and column, so that a
// swapped channel, a lost row or a shifted column shows in the pixels. Format_RGB32, same for the same seed.
QImage TexturedPicture(QSize size, std::uint32_t seed);

// The largest difference of any channel, alpha included, between two images of the same size, both read as
// premultiplied ARGB32 (the same as RGB32 for opaque pictures); 256 when their sizes differ.
int LargestChannelDifference(const QImage& a, const QImage& b);

// The mean absolute difference over all channels and pixels of two images of the same size, read as
// LargestChannelDifference reads them; 256 when their sizes differ.
double MeanChannelDifference(const QImage& a, const QImage& b);

// The picture as Qt's own reader decodes the file, as premultiplied ARGB32: the reference for the loader.
QImage DecodedByQt(const QString& path);

// A JPEG made by libjpeg-turbo from `pixels` (RGB32) with the given chroma subsampling (TJSAMP_*).
QByteArray EncodeJpeg(const QImage& pixels, int quality, int subsampling);

// A four-component (YCCK) JPEG made by libjpeg-turbo from `pixels` (RGB32) as plain C = 255 - R, M, Y, K = 0.
QByteArray EncodeCmykJpeg(const QImage& pixels, int quality);

// Bytes of `image` as a progressive JPEG written by Qt.
QByteArray QtProgressiveJpeg(const QImage& image, int quality);

// A JPEG's bytes with the frame header's height and width replaced by `claimed`; the data stay as they were.
QByteArray WithClaimedJpegSize(QByteArray jpeg, QSize claimed);

// Bytes of `image` in `format` ("PNG", "BMP", "JPEG") written by Qt.
QByteArray QtEncoded(const QImage& image, const char* format);

// A temporary folder for one test; `Write` puts bytes into a file of that name inside it and returns its path.
class TestFolder {
 public:
  QString Path(const QString& name) const;
  QString Write(const QString& name, const QByteArray& bytes) const;

 private:
  QTemporaryDir dir_;
};

}  // namespace velmaro::map_picture::testing

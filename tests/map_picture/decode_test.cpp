// The loader's pixels against Qt's own reader on the same file: sizes exact, pixels within the rounding of
// two libjpeg builds (JPEG) or exact (lossless formats).
#include "tests/map_picture/test_pictures.h"
#include "ui/map_picture/map_picture_loader.h"

#include <turbojpeg.h>

#include <gtest/gtest.h>

#include <functional>

namespace velmaro::map_picture {
namespace {

using testing::TestFolder;

struct DecodeCase {
  const char* name;
  QSize size;
  std::function<QByteArray(const QImage&)> encode;
  QImage::Format expectedFormat;
  int tolerance;  // largest channel difference allowed against Qt's decode
};

QImage WithAlphaRamp(const QImage& image) {
  QImage withAlpha = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < withAlpha.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(withAlpha.scanLine(y));
    for (int x = 0; x < withAlpha.width(); ++x) row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), x % 256);
  }
  return withAlpha;
}

// Both decoders are libjpeg-turbo with the accurate inverse DCT and smooth upsampling; a difference of 1 allows
// for a different build's rounding in the colour conversion.
constexpr int kJpegTolerance = 1;

const DecodeCase kDecodeCases[] = {
    {"Jpeg420", {320, 240}, [](const QImage& p) { return testing::EncodeJpeg(p, 90, TJSAMP_420); },
     QImage::Format_RGB32, kJpegTolerance},
    {"Jpeg444OddSize", {333, 211}, [](const QImage& p) { return testing::EncodeJpeg(p, 95, TJSAMP_444); },
     QImage::Format_RGB32, kJpegTolerance},
    {"Jpeg422NotMultipleOfBlock", {17, 9}, [](const QImage& p) { return testing::EncodeJpeg(p, 80, TJSAMP_422); },
     QImage::Format_RGB32, kJpegTolerance},
    {"JpegOnePixel", {1, 1}, [](const QImage& p) { return testing::EncodeJpeg(p, 90, TJSAMP_420); },
     QImage::Format_RGB32, kJpegTolerance},
    {"JpegGrey", {200, 150}, [](const QImage& p) { return testing::EncodeJpeg(p, 90, TJSAMP_GRAY); },
     QImage::Format_RGB32, kJpegTolerance},
    {"JpegProgressive", {300, 200}, [](const QImage& p) { return testing::QtProgressiveJpeg(p, 90); },
     QImage::Format_RGB32, kJpegTolerance},
    {"JpegCmykThroughQt", {120, 80}, [](const QImage& p) { return testing::EncodeCmykJpeg(p, 90); },
     QImage::Format_RGB32, 0},
    {"Png", {257, 129}, [](const QImage& p) { return testing::QtEncoded(p, "PNG"); }, QImage::Format_RGB32, 0},
    {"PngPalette", {64, 48},
     [](const QImage& p) { return testing::QtEncoded(p.convertToFormat(QImage::Format_Indexed8), "PNG"); },
     QImage::Format_RGB32, 0},
    {"PngGrey", {90, 70},
     [](const QImage& p) { return testing::QtEncoded(p.convertToFormat(QImage::Format_Grayscale8), "PNG"); },
     QImage::Format_RGB32, 0},
    {"PngAlpha", {300, 20}, [](const QImage& p) { return testing::QtEncoded(WithAlphaRamp(p), "PNG"); },
     QImage::Format_ARGB32_Premultiplied, 0},
    {"Bmp", {101, 77}, [](const QImage& p) { return testing::QtEncoded(p, "BMP"); }, QImage::Format_RGB32, 0},
};

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, FullPictureMatchesQtsDecodeAtExactSize) {
  const DecodeCase& row = GetParam();
  TestFolder folder;
  const QString path = folder.Write("map.jpg", row.encode(testing::TexturedPicture(row.size, 7)));
  const QImage reference = testing::DecodedByQt(path);
  ASSERT_EQ(reference.size(), row.size) << "the test picture itself did not come out right";

  const auto full = LoadFull(path);
  ASSERT_TRUE(full.has_value());
  EXPECT_EQ(full->size(), row.size);
  EXPECT_EQ(full->format(), row.expectedFormat);
  EXPECT_LE(testing::LargestChannelDifference(*full, reference), row.tolerance);
}

TEST_P(DecodeTest, OpeningGivesTheSamePixelsAsLoadFull) {
  const DecodeCase& row = GetParam();
  TestFolder folder;
  const QString path = folder.Write("map.jpg", row.encode(testing::TexturedPicture(row.size, 11)));
  const auto full = LoadFull(path);
  const auto opened = LoadMapPicture(path, QSize(40, 30));
  ASSERT_TRUE(full.has_value());
  ASSERT_TRUE(opened.has_value());
  EXPECT_EQ(opened->full, *full);
  EXPECT_EQ(PictureSize(path), std::optional<QSize>(row.size));
}

INSTANTIATE_TEST_SUITE_P(Formats, DecodeTest, ::testing::ValuesIn(kDecodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmaro::map_picture

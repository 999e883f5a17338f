// The preview: which reduction is chosen for a box, how sizes round, how blocks are averaged, and that the
// loader's previews come out at the chosen size with the picture's content.
#include "tests/map_picture/test_pictures.h"
#include "ui/map_picture/map_picture_loader.h"
#include "ui/map_picture/preview_reduction.h"

#include <turbojpeg.h>

#include <gtest/gtest.h>

#include <random>

namespace velmaro::map_picture {
namespace {

using testing::TestFolder;

struct DivisorCase {
  const char* name;
  QSize picture;
  QSize box;
  int expected;
};

const DivisorCase kDivisorCases[] = {
    {"Map72MegapixelsInPreviewBox", {9800, 7350}, kPreviewBoxPixels, 8},
    {"Map300MegapixelsInPreviewBox", {20000, 15000}, kPreviewBoxPixels, 8},
    {"ExactlyEightBoxes", {4696, 3688}, kPreviewBoxPixels, 8},
    {"OneRowShortOfEightBoxes", {4696, 3680}, kPreviewBoxPixels, 4},
    {"RoundingUpReachesTheBox", {4689, 3681}, kPreviewBoxPixels, 8},
    {"OneColumnShortAfterRounding", {4688, 3688}, kPreviewBoxPixels, 4},
    {"TwiceTheBox", {1174, 922}, kPreviewBoxPixels, 2},
    {"JustUnderTwiceTheBox", {1172, 922}, kPreviewBoxPixels, 1},
    {"AsLargeAsTheBox", {587, 461}, kPreviewBoxPixels, 1},
    {"SmallerThanTheBox", {400, 300}, kPreviewBoxPixels, 1},
    {"WideStripLimitedByHeight", {20000, 500}, kPreviewBoxPixels, 1},
    {"TallStripLimitedByWidth", {1200, 30000}, kPreviewBoxPixels, 2},
    {"EmptyBox", {100, 100}, {0, 0}, 8},
};

class PreviewDivisorTest : public ::testing::TestWithParam<DivisorCase> {};

TEST_P(PreviewDivisorTest, LargestReductionThatStillCoversTheBox) {
  const DivisorCase& row = GetParam();
  EXPECT_EQ(PreviewDivisor(row.picture, row.box), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Choices, PreviewDivisorTest, ::testing::ValuesIn(kDivisorCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ReducedSizeCase {
  const char* name;
  QSize picture;
  int divisor;
  QSize expected;
};

const ReducedSizeCase kReducedSizeCases[] = {
    {"WholeBlocks", {16, 8}, 8, {2, 1}},
    {"PartialBlocksRoundUp", {17, 9}, 8, {3, 2}},
    {"OnePixel", {1, 1}, 8, {1, 1}},
    {"Halved", {9801, 7351}, 2, {4901, 3676}},
    {"Unreduced", {333, 211}, 1, {333, 211}},
};

class ReducedSizeTest : public ::testing::TestWithParam<ReducedSizeCase> {};

TEST_P(ReducedSizeTest, RoundsPartialBlocksUp) {
  const ReducedSizeCase& row = GetParam();
  EXPECT_EQ(ReducedSize(row.picture, row.divisor), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReducedSizeTest, ::testing::ValuesIn(kReducedSizeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The stored 32-bit word, without the unpremultiplying that QImage::pixel applies to premultiplied formats.
QRgb StoredPixel(const QImage& image, int x, int y) {
  return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
}

// The block mean written the plain way, one target pixel at a time, rounding halves up.
QRgb BlockMean(const QImage& source, int targetX, int targetY, int divisor) {
  int sums[4] = {0, 0, 0, 0};
  int count = 0;
  for (int y = targetY * divisor; y < std::min(source.height(), (targetY + 1) * divisor); ++y) {
    for (int x = targetX * divisor; x < std::min(source.width(), (targetX + 1) * divisor); ++x) {
      const QRgb pixel = StoredPixel(source, x, y);
      sums[0] += qRed(pixel), sums[1] += qGreen(pixel), sums[2] += qBlue(pixel), sums[3] += qAlpha(pixel);
      ++count;
    }
  }
  return qRgba((sums[0] + count / 2) / count, (sums[1] + count / 2) / count, (sums[2] + count / 2) / count,
               (sums[3] + count / 2) / count);
}

QImage RandomPicture(QSize size, QImage::Format format, unsigned seed) {
  std::mt19937 random(seed);
  QImage image(size, format);
  for (int y = 0; y < size.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      const int alpha = format == QImage::Format_RGB32 ? 255 : int(random() % 256);
      const auto channel = [&] { return int(random() % 256) * alpha / 255; };  // valid premultiplied values
      row[x] = qRgba(channel(), channel(), channel(), alpha);
    }
  }
  return image;
}

struct ReductionCase {
  const char* name;
  QSize size;
  int divisor;
  QImage::Format format;
};

const ReductionCase kReductionCases[] = {
    {"HalfOfEvenSize", {64, 32}, 2, QImage::Format_RGB32},
    {"HalfOfOddSize", {63, 31}, 2, QImage::Format_RGB32},
    {"QuarterWithPartialEdges", {37, 22}, 4, QImage::Format_RGB32},
    {"EighthWithPartialEdges", {70, 45}, 8, QImage::Format_RGB32},
    {"EighthSmallerThanOneBlock", {5, 3}, 8, QImage::Format_RGB32},
    {"EighthPremultiplied", {41, 19}, 8, QImage::Format_ARGB32_Premultiplied},
};

class ReductionTest : public ::testing::TestWithParam<ReductionCase> {};

TEST_P(ReductionTest, EveryPixelIsTheRoundedMeanOfItsBlock) {
  const ReductionCase& row = GetParam();
  const QImage source = RandomPicture(row.size, row.format, 42);
  const QImage reduced = ReduceByDivisor(source, row.divisor);
  ASSERT_EQ(reduced.size(), ReducedSize(row.size, row.divisor));
  EXPECT_EQ(reduced.format(), row.format);
  for (int y = 0; y < reduced.height(); ++y) {
    for (int x = 0; x < reduced.width(); ++x) {
      ASSERT_EQ(StoredPixel(reduced, x, y), BlockMean(source, x, y, row.divisor)) << "at " << x << ", " << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Blocks, ReductionTest, ::testing::ValuesIn(kReductionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Reduction, HandWorkedRowRoundsHalvesUpAndKeepsTheLoneEdgePixel) {
  QImage source(3, 1, QImage::Format_RGB32);
  source.setPixel(0, 0, qRgb(10, 0, 255));
  source.setPixel(1, 0, qRgb(21, 1, 254));
  source.setPixel(2, 0, qRgb(99, 7, 3));
  const QImage reduced = ReduceByDivisor(source, 2);
  ASSERT_EQ(reduced.size(), QSize(2, 1));
  EXPECT_EQ(reduced.pixel(0, 0), qRgb(16, 1, 255));  // 15.5, 0.5 and 254.5 round up
  EXPECT_EQ(reduced.pixel(1, 0), qRgb(99, 7, 3));
}

TEST(Reduction, DivisorOneSharesThePixelsAndOthersAreRefused) {
  const QImage source = RandomPicture({8, 8}, QImage::Format_RGB32, 1);
  EXPECT_EQ(ReduceByDivisor(source, 1).constBits(), source.constBits());
  EXPECT_TRUE(ReduceByDivisor(source, 3).isNull());
  EXPECT_TRUE(ReduceByDivisor(source.convertToFormat(QImage::Format_RGB888), 2).isNull());
}

struct LoadedPreviewCase {
  const char* name;
  const char* format;  // "JPEG" through libjpeg-turbo, else Qt's writer
  QSize picture;
  QSize box;
  int expectedDivisor;
  double tolerance;  // mean channel difference between LoadPreview and the block means of the full picture
};

// A scaled JPEG decode filters in the frequency domain and on the subsampled chroma planes, not by pixel
// blocks: beside the hard edges of the test picture single pixels differ by dozens of levels, but on average
// the two agree within three levels. A column shifted by one costs more than seven, swapped channels forty.
constexpr double kScaledDecodeTolerance = 4.0;

const LoadedPreviewCase kLoadedPreviewCases[] = {
    {"JpegEighth", "JPEG", {960, 720}, {100, 80}, 8, kScaledDecodeTolerance},
    {"JpegQuarter", "JPEG", {600, 400}, {150, 100}, 4, kScaledDecodeTolerance},
    {"JpegHalfOddSize", "JPEG", {401, 303}, {150, 150}, 2, kScaledDecodeTolerance},
    {"JpegSmallerThanBox", "JPEG", {50, 40}, kPreviewBoxPixels, 1, 0},
    {"PngEighth", "PNG", {801, 601}, {100, 75}, 8, 0},
    {"BmpHalf", "BMP", {300, 200}, {150, 100}, 2, 0},
};

class LoadedPreviewTest : public ::testing::TestWithParam<LoadedPreviewCase> {};

TEST_P(LoadedPreviewTest, PreviewHasTheChosenSizeAndTheBlockMeansOfTheFullPicture) {
  const LoadedPreviewCase& row = GetParam();
  const QImage picture = testing::TexturedPicture(row.picture, 3);
  const QByteArray bytes = QByteArray(row.format) == "JPEG" ? testing::EncodeJpeg(picture, 90, TJSAMP_420)
                                                            : testing::QtEncoded(picture, row.format);
  TestFolder folder;
  const QString path = folder.Write("map", bytes);
  const QSize expectedSize = ReducedSize(row.picture, row.expectedDivisor);

  const auto preview = LoadPreview(path, row.box);
  const auto opened = LoadMapPicture(path, row.box);
  ASSERT_TRUE(preview.has_value());
  ASSERT_TRUE(opened.has_value());
  EXPECT_EQ(preview->size(), expectedSize);
  EXPECT_EQ(opened->preview.size(), expectedSize);
  const QImage blockMeans = ReduceByDivisor(opened->full, row.expectedDivisor);
  EXPECT_EQ(opened->preview, blockMeans);
  EXPECT_LE(testing::MeanChannelDifference(*preview, blockMeans), row.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Loads, LoadedPreviewTest, ::testing::ValuesIn(kLoadedPreviewCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmaro::map_picture

#include "map_picture/preview_reduction.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace velmaro::map_picture {
namespace {

constexpr std::array<int, 4> kDivisorsLargestFirst = {8, 4, 2, 1};

bool IsSupportedDivisor(int divisor) { return divisor == 1 || divisor == 2 || divisor == 4 || divisor == 8; }

int CeilDiv(int value, int divisor) { return (value + divisor - 1) / divisor; }

bool IsSupportedFormat(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied;
}

// Block sums are kept two channels to a 32-bit word (red and blue, alpha and green), each in 16 bits: an 8 x 8
// block sums to at most 64 x 255 = 16320, so the halves never spill into each other, and one pass adds two
// channels per instruction. This pass reads every source pixel once and dominates the reduction.
constexpr std::uint32_t kEvenChannels = 0x00FF00FFu;

struct BlockSums {
  std::uint32_t redBlue = 0;
  std::uint32_t alphaGreen = 0;
};

// Adds one source row into the sums of its target row; the divisor is a template constant so the block unrolls.
template <int Divisor>
void AccumulateRow(const QRgb* row, int width, BlockSums* sums) {
  const int wholeBlocks = width / Divisor;
  for (int block = 0; block < wholeBlocks; ++block) {
    std::uint32_t redBlue = 0, alphaGreen = 0;
    for (int i = 0; i < Divisor; ++i) {
      const QRgb pixel = row[block * Divisor + i];
      redBlue += pixel & kEvenChannels;
      alphaGreen += (pixel >> 8) & kEvenChannels;
    }
    sums[block].redBlue += redBlue;
    sums[block].alphaGreen += alphaGreen;
  }
  for (int x = wholeBlocks * Divisor; x < width; ++x) {
    sums[wholeBlocks].redBlue += row[x] & kEvenChannels;
    sums[wholeBlocks].alphaGreen += (row[x] >> 8) & kEvenChannels;
  }
}

int RoundedMean(std::uint32_t sum, std::uint32_t count) { return static_cast<int>((sum + count / 2) / count); }

// Writes the block means of one target row; `rows` is the number of source rows the blocks held.
void WriteMeans(const std::vector<BlockSums>& sums, int sourceWidth, int divisor, int rows, QRgb* target) {
  for (std::size_t x = 0; x < sums.size(); ++x) {
    const int left = static_cast<int>(x) * divisor;
    const int columns = left + divisor <= sourceWidth ? divisor : sourceWidth - left;
    const auto count = static_cast<std::uint32_t>(columns * rows);
    const BlockSums& sum = sums[x];
    target[x] = qRgba(RoundedMean(sum.redBlue >> 16, count), RoundedMean(sum.alphaGreen & 0xFFFF, count),
                      RoundedMean(sum.redBlue & 0xFFFF, count), RoundedMean(sum.alphaGreen >> 16, count));
  }
}

template <int Divisor>
void ReduceInto(const QImage& source, QImage& target) {
  const int width = source.width();
  const int height = source.height();
  std::vector<BlockSums> sums(static_cast<std::size_t>(target.width()));
  for (int y = 0; y < target.height(); ++y) {
    std::fill(sums.begin(), sums.end(), BlockSums{});
    const int firstRow = y * Divisor;
    const int rows = firstRow + Divisor <= height ? Divisor : height - firstRow;
    for (int r = 0; r < rows; ++r) {
      AccumulateRow<Divisor>(reinterpret_cast<const QRgb*>(source.constScanLine(firstRow + r)), width, sums.data());
    }
    WriteMeans(sums, width, Divisor, rows, reinterpret_cast<QRgb*>(target.scanLine(y)));
  }
}

// Pictures of three bytes a pixel, red first (the JPEG decoder's rows), in two passes: the block's rows are added
// byte by byte into 16-bit column sums (at most 8 x 255), a loop the compiler turns into vector additions, and
// then each block adds its columns' sums per channel. The first pass reads every source byte and dominates; done
// per pixel with a sum per block it cost three times as long, which showed beside the decoder at a gigapixel.
void CopyColumns(const uchar* __restrict row, std::size_t bytes, std::uint16_t* __restrict sums) {
  for (std::size_t i = 0; i < bytes; ++i) sums[i] = row[i];
}

void AddColumns(const uchar* __restrict row, std::size_t bytes, std::uint16_t* __restrict sums) {
  for (std::size_t i = 0; i < bytes; ++i) sums[i] = static_cast<std::uint16_t>(sums[i] + row[i]);
}

// The mean of `count` columns' sums from `sum` on, `pixels` pixels in all. Whole blocks pass their pixel count as
// a constant, so that the three divisions become shifts: with a count known only at run time they took a fifth of
// the reduction.
template <typename Pixels>
QRgb BlockMean(const std::uint16_t* sum, int count, Pixels pixels) {
  std::uint32_t red = 0, green = 0, blue = 0;
  for (int i = 0; i < count; ++i) {
    red += sum[3 * i];
    green += sum[3 * i + 1];
    blue += sum[3 * i + 2];
  }
  const auto mean = [pixels](std::uint32_t total) { return static_cast<int>((total + pixels / 2) / pixels); };
  return qRgb(mean(red), mean(green), mean(blue));
}

template <int Divisor>
void ReduceRgb888Row(const uchar* const* rows, int rowCount, int width, std::vector<std::uint16_t>& columns,
                     QRgb* target) {
  const std::size_t bytes = static_cast<std::size_t>(width) * 3;
  CopyColumns(rows[0], bytes, columns.data());
  for (int r = 1; r < rowCount; ++r) AddColumns(rows[r], bytes, columns.data());
  const int wholeBlocks = width / Divisor;
  const std::uint16_t* sums = columns.data();
  if (rowCount == Divisor) {
    constexpr std::integral_constant<std::uint32_t, Divisor * Divisor> kBlockPixels{};
    for (int x = 0; x < wholeBlocks; ++x) target[x] = BlockMean(sums + x * Divisor * 3, Divisor, kBlockPixels);
  } else {  // the last rows of the picture, fewer than a block
    const auto pixels = static_cast<std::uint32_t>(Divisor * rowCount);
    for (int x = 0; x < wholeBlocks; ++x) target[x] = BlockMean(sums + x * Divisor * 3, Divisor, pixels);
  }
  const int lastColumns = width - wholeBlocks * Divisor;  // the last block may be narrower
  if (lastColumns > 0)
    target[wholeBlocks] = BlockMean(sums + wholeBlocks * Divisor * 3, lastColumns,
                                    static_cast<std::uint32_t>(lastColumns * rowCount));
}

template <int Divisor>
void ReduceRgb888Into(const uchar* pixels, qsizetype bytesPerLine, QSize size, int firstTarget, int endTarget,
                      QImage& target) {
  std::vector<std::uint16_t> columns(static_cast<std::size_t>(size.width()) * 3);
  const uchar* rows[Divisor] = {};
  for (int y = firstTarget; y < endTarget; ++y) {
    const int firstRow = y * Divisor;
    const int rowCount = std::min(Divisor, size.height() - firstRow);
    for (int r = 0; r < rowCount; ++r) rows[r] = pixels + (firstRow + r) * bytesPerLine;
    ReduceRgb888Row<Divisor>(rows, rowCount, size.width(), columns, reinterpret_cast<QRgb*>(target.scanLine(y)));
  }
}

}  // namespace

void ReduceRgb888Rows(const uchar* pixels, qsizetype bytesPerLine, QSize size, int divisor, int firstTarget,
                      int endTarget, QImage& target) {
  switch (divisor) {
    case 1: ReduceRgb888Into<1>(pixels, bytesPerLine, size, firstTarget, endTarget, target); return;
    case 2: ReduceRgb888Into<2>(pixels, bytesPerLine, size, firstTarget, endTarget, target); return;
    case 4: ReduceRgb888Into<4>(pixels, bytesPerLine, size, firstTarget, endTarget, target); return;
    case 8: ReduceRgb888Into<8>(pixels, bytesPerLine, size, firstTarget, endTarget, target); return;
    default: return;
  }
}

int PreviewDivisor(QSize picture, QSize box) {
  for (const int divisor : kDivisorsLargestFirst) {
    const QSize reduced = ReducedSize(picture, divisor);
    if (reduced.width() >= box.width() && reduced.height() >= box.height()) return divisor;
  }
  return 1;
}

QSize ReducedSize(QSize picture, int divisor) {
  return {CeilDiv(picture.width(), divisor), CeilDiv(picture.height(), divisor)};
}

QImage ReduceByDivisor(const QImage& source, int divisor) {
  if (source.format() == QImage::Format_RGB888 && IsSupportedDivisor(divisor)) {
    QImage target(ReducedSize(source.size(), divisor), QImage::Format_RGB32);
    if (target.isNull()) return {};
    ReduceRgb888Rows(source.constBits(), source.bytesPerLine(), source.size(), divisor, 0, target.height(), target);
    return target;
  }
  if (source.isNull() || !IsSupportedFormat(source.format())) return {};
  if (divisor == 1) return source;
  QImage target(ReducedSize(source.size(), divisor), source.format());
  if (target.isNull()) return {};
  switch (divisor) {
    case 2: ReduceInto<2>(source, target); return target;
    case 4: ReduceInto<4>(source, target); return target;
    case 8: ReduceInto<8>(source, target); return target;
    default: return {};
  }
}

}  // namespace velmaro::map_picture

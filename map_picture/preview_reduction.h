#pragma once

#include <QImage>
#include <QSize>

namespace velmaro::map_picture {

// The preview is the picture reduced by a whole divisor of 1, 2, 4 or 8 on both sides: the JPEG decoder produces
// exactly these scales straight from the compressed data, and the same reduction made from full pixels gives
// the same preview size.

// The largest divisor whose reduced picture still covers `box` on both sides, so that stretching the preview to
// the box never enlarges it; 1 when the picture itself is smaller than the box on either side. A box with a
// side of 0 or less is covered by any picture and gives 8.
int PreviewDivisor(QSize picture, QSize box);

// The size of `picture` reduced by `divisor`, rounding up: a partial block at the right or bottom edge still
// gives a pixel (the same rounding as the JPEG decoder's scaled output).
QSize ReducedSize(QSize picture, int divisor);

// `source` reduced by `divisor` (1, 2, 4 or 8), each target pixel the mean of its block of source pixels (a
// partial edge block averages the pixels it has). Works on 32-bit formats (RGB32, ARGB32, ARGB32_Premultiplied),
// keeping the format (divisor 1 returns `source` itself, sharing its pixels), and on RGB888, giving RGB32. A
// null image for any other format or divisor, or when the target cannot be allocated.
QImage ReduceByDivisor(const QImage& source, int divisor);

// Rows firstTarget..endTarget - 1 of the RGB32 `target`, the reduction by `divisor` of a picture of `size` in
// RGB888 whose rows lie `bytesPerLine` apart from `pixels`. Reads only the source rows of those target rows,
// so a picture can be reduced while its later rows are still being decoded.
void ReduceRgb888Rows(const uchar* pixels, qsizetype bytesPerLine, QSize size, int divisor, int firstTarget,
                      int endTarget, QImage& target);

}  // namespace velmaro::map_picture

#pragma once
// A zoomed view of a map held at 3 bytes a pixel, sampled straight from its rows. Qt would convert each
// sampled pixel through its generic path, which on a gigapixel map costs more than a frame.

#include <QImage>
#include <QRect>

namespace velmaro::map_picture {

// The part `shown` (canvas pixels, the picture at `factor`) of the RGB888 `source`, as RGB32: one pass over
// the output, reading only the source pixels within `limit` that it shows. Enlarged pixels are repeated
// sharply; a reduced view averages the 2 x 2 source pixels nearest each output pixel's centre.
QImage ScaledRgb888(const QImage& source, const QRect& limit, const QRect& shown, double factor);

}  // namespace velmaro::map_picture

#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace velmaro::map_picture {

// Loading the map picture for the canvas and the preview.
//
// The kind of picture is decided by its bytes, never by its name: JPEG goes through libjpeg-turbo, decoded
// straight into the image's own pixels (and, for the preview, decoded directly at 1/2, 1/4 or 1/8 scale);
// every other format Qt's plugins read (PNG, BMP, GIF, TIFF where installed) goes through Qt's image reader.
//
// Every function refuses, with nullopt, a path that gives no picture: a missing file, a folder, an empty file,
// bytes no decoder recognises, a truncated or damaged file (any decoder warning counts as damage), a side of 0
// or above kMaxPictureSide (65000) pixels, or a picture whose pixels would take more than 80 % of the memory
// available now. Sizes are checked from the header before the pixels are allocated, so a small file claiming
// 65535 x 65535 pixels is refused at once. On nullopt the caller keeps showing what it showed before.
//
// Memory: a load holds the file's bytes and the pixels it returns at its peak (a preview of a format other than
// JPEG also the full pixels it is reduced from); there is no second full-size copy. The functions may be called from any one thread at a time per call (they share no state).

// The whole picture at its stored size.
std::optional<QImage> LoadFull(const QString& path);

// The picture reduced by 1, 2, 4 or 8: the largest of these divisors whose result still covers `box` on both
// sides (see PreviewDivisor), so a stretched preview is never enlarged. JPEG is decoded at that scale directly
// with the fast inverse DCT, which takes a fraction of a full decode; other formats are decoded whole and
// reduced by block means.
std::optional<QImage> LoadPreview(const QString& path, QSize box);

}  // namespace velmaro::map_picture

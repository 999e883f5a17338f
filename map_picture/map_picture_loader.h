#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace velmaro::map_picture {

// Loading the map picture at once, on the calling thread (the window decodes JPEG maps in the background
// with MapDecode, and uses this for every other picture).
//
// The kind of picture is decided by its bytes, never by its name: JPEG goes through libjpeg-turbo, decoded
// straight into the image's own pixels at 3 bytes a pixel (Format_RGB888); every other format Qt's plugins
// read (PNG, BMP, GIF, TIFF where installed, and CMYK JPEG) goes through Qt's image reader, as Format_RGB32 or,
// with transparency, Format_ARGB32_Premultiplied.
//
// A path that gives no picture is refused with nullopt: a missing file, a folder, an empty file, bytes no
// decoder recognises, a truncated or damaged file (any decoder warning counts as damage), a side of 0 or above
// kMaxPictureSide (65000) pixels, or a picture whose pixels would take more than 80 % of the memory available
// now. Sizes are checked from the header before the pixels are allocated, so a small file claiming 65535 x
// 65535 pixels is refused at once. On nullopt the caller keeps showing what it showed before.
std::optional<QImage> LoadFull(const QString& path);

// The preview of a loaded picture: `full` reduced by PreviewDivisor for `box`, by block means, as RGB32 (or
// the loader's alpha format); nullopt when the reduction cannot be allocated.
std::optional<QImage> PreviewOf(const QImage& full, QSize box);

}  // namespace velmaro::map_picture

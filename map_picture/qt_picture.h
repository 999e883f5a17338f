#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <optional>

namespace velmaro::map_picture {

// Pictures in the formats that Qt's image plugins read (PNG, BMP, GIF, TIFF where its plugin is installed, and
// JPEG colour spaces that libjpeg-turbo cannot turn into RGB). The format is recognised from the bytes.

// The whole picture as Format_RGB32, or Format_ARGB32_Premultiplied when it has an alpha channel. Qt's default
// allocation limit (256 MB) would refuse large maps, so the limit is raised to what the memory budget allows,
// including a decoder format wider than 32 bits that still has to be converted. nullopt when the picture does
// not fit the budget, when a side exceeds kMaxPictureSide, or when the bytes do not decode.
std::optional<QImage> DecodeWithQt(const QByteArray& bytes);

}  // namespace velmaro::map_picture

#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <cstdint>
#include <optional>

namespace velmaro::map_picture {

// JPEG decoding through libjpeg-turbo, straight into the pixel buffer of the returned image.

// True when `bytes` start with the JPEG start-of-image marker; the file's name plays no part.
bool LooksLikeJpeg(const QByteArray& bytes);

struct JpegHeader {
  QSize size;                 // pixels, as stored (no orientation tag is applied)
  bool decodableToRgb = true; // false for CMYK and YCCK pictures, which the decoder cannot turn into RGB
  bool progressive = false;   // progressive pictures keep all their coefficients in memory while decoding
};

// The header of a JPEG picture; nullopt when `bytes` hold no readable JPEG header.
std::optional<JpegHeader> ReadJpegHeader(const QByteArray& bytes);

// Memory the decoder itself needs beside the target pixels when decoding the whole picture, in bytes: the
// coefficient store of a progressive picture (up to 3 components x 64 coefficients x 2 bytes per 8x8 block),
// nothing for a baseline picture, which is decoded a band of rows at a time.
std::int64_t JpegDecoderWorkBytes(const JpegHeader& header);

enum class JpegSpeed {
  Accurate,  // the accurate inverse DCT and smooth chroma upsampling: for the picture the user measures on
  Fast       // the fast inverse DCT: for a reduced preview. Smooth upsampling stays: plain upsampling fringes hard
             // edges by dozens of levels and saves nothing measurable at reduced scales.
};

// Decodes `bytes` reduced by `divisor` (1, 2, 4 or 8; sizes round up) into a new Format_RGB32 image. The caller
// checks the memory budget first. nullopt on any decoder error and on any warning: a truncated or damaged file
// is refused rather than shown with grey or smeared rows. Also nullopt for a picture that is not
// decodableToRgb, for an unsupported divisor, or when the image cannot be allocated.
std::optional<QImage> DecodeJpeg(const QByteArray& bytes, int divisor, JpegSpeed speed);

}  // namespace velmaro::map_picture

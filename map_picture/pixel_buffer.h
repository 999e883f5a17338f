#pragma once

#include <QImage>
#include <QSize>

#include <cstddef>
#include <memory>

namespace velmaro::map_picture {

// A new, uninitialised image for a decoder to fill, and the memory behind it.
//
// Large images get their pixels from an anonymous mapping of their own, whose pages the kernel supplies only when
// they are first written or prepared (PreparePages), and which goes back whole when it is let go. The memory is
// shared between the image (and its copies) and whoever else holds `memory`: a decoder on another
// thread keeps writing into it safely after the window has let the image go. Rows are `bytesPerLine` apart,
// each a multiple of 4 bytes. A null image when the memory cannot be had.
struct PixelImage {
  QImage image;
  std::shared_ptr<void> memory;
  uchar* rows = nullptr;
  qsizetype bytesPerLine = 0;
};
PixelImage NewPixelImage(QSize size, QImage::Format format);

// Asks the kernel to supply the pages of [begin, begin + length) now, without writing to them: a thread
// that calls this ahead of a decoder takes the cost of clearing fresh memory off the decoder's path, and
// pages already written keep their bytes. Returns false when the system cannot do it (nothing is harmed).
bool PreparePages(uchar* begin, std::size_t length);

}  // namespace velmaro::map_picture

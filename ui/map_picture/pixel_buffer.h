#pragma once

#include <QImage>
#include <QSize>

namespace velmaro::map_picture {

// A new, uninitialised image of `size` in a 32-bit `format` for a decoder to fill.
//
// Large images get their pixels from an anonymous mapping that asks the kernel for transparent huge pages: a
// 300-megapixel map otherwise takes some 300 000 page faults of 4 KiB while the decoder first writes it, which
// costs about a quarter of the decode itself. The image owns the mapping and releases it when its last copy
// goes; copies share it and detach as usual. Small images, and systems without huge pages, use Qt's own
// allocation. A null image when the memory cannot be had.
QImage NewPixelImage(QSize size, QImage::Format format);

}  // namespace velmaro::map_picture

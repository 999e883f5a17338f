#include "ui/map_picture/pixel_buffer.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace velmaro::map_picture {
namespace {

#if defined(__linux__) && defined(MADV_HUGEPAGE)

constexpr std::size_t kHugePageBytes = 2 * 1024 * 1024;
// Below this the page faults cost too little to be worth a mapping of its own.
constexpr std::int64_t kHugePageThresholdBytes = 16 * 1024 * 1024;

struct Mapping {
  void* base;
  std::size_t length;
};

void ReleaseMapping(void* info) {
  auto* mapping = static_cast<Mapping*>(info);
  munmap(mapping->base, mapping->length);
  delete mapping;
}

// Huge pages only back 2 MiB-aligned ranges, so the mapping gets one extra huge page of slack to align into.
QImage NewHugePageImage(QSize size, QImage::Format format, std::int64_t bytes) {
  const std::size_t length = static_cast<std::size_t>(bytes) + kHugePageBytes;
  void* base = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return {};
  const auto address = reinterpret_cast<std::uintptr_t>(base);
  auto* pixels = reinterpret_cast<uchar*>((address + kHugePageBytes - 1) & ~(kHugePageBytes - 1));
  madvise(pixels, static_cast<std::size_t>(bytes), MADV_HUGEPAGE);  // a refusal only costs speed
  auto* mapping = new Mapping{base, length};
  QImage image(pixels, size.width(), size.height(), qsizetype{size.width()} * 4, format, ReleaseMapping, mapping);
  if (image.isNull()) ReleaseMapping(mapping);
  return image;
}

#endif

}  // namespace

QImage NewPixelImage(QSize size, QImage::Format format) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  const std::int64_t bytes = std::int64_t{size.width()} * size.height() * 4;
  if (size.width() > 0 && size.height() > 0 && bytes >= kHugePageThresholdBytes) {
    return NewHugePageImage(size, format, bytes);
  }
#endif
  return QImage(size, format);
}

}  // namespace velmaro::map_picture

#include "map_picture/pixel_buffer.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace velmaro::map_picture {
namespace {

// Below this the page faults cost too little to be worth a mapping of its own.
constexpr std::int64_t kMappingThresholdBytes = 16 * 1024 * 1024;

qsizetype AlignedBytesPerLine(int width, QImage::Format format) {
  const qsizetype bits = qsizetype{width} * QImage::toPixelFormat(format).bitsPerPixel();
  return (bits + 31) / 32 * 4;
}

void ReleaseShared(void* info) { delete static_cast<std::shared_ptr<void>*>(info); }

#if defined(__linux__)
// Plain pages, no transparent huge pages: a huge page is a 2 MiB block of free memory, and on a virtual machine
// whose host takes such blocks back while they are free (free page reporting), each one is fetched from the
// host again when first written. Preparing a gigapixel map's 3 GB took 3 to 10 s in huge pages and 1.3 to 1.7 s
// in 4 KiB pages on this machine; small pages come from memory the host keeps.
std::shared_ptr<void> MapPixels(std::size_t bytes, uchar*& rows) {
  void* base = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return nullptr;
  rows = static_cast<uchar*>(base);
#if defined(MADV_NOHUGEPAGE)
  madvise(base, bytes, MADV_NOHUGEPAGE);  // where huge pages are the system's default; a refusal only costs speed
#endif
  return std::shared_ptr<void>(base, [bytes](void* mapped) { munmap(mapped, bytes); });
}
#endif

std::shared_ptr<void> AllocatePixels(std::size_t bytes, uchar*& rows) {
#if defined(__linux__)
  if (static_cast<std::int64_t>(bytes) >= kMappingThresholdBytes) return MapPixels(bytes, rows);
#endif
  void* memory = std::malloc(bytes);
  rows = static_cast<uchar*>(memory);
  if (!memory) return nullptr;
  return std::shared_ptr<void>(memory, std::free);
}

}  // namespace

PixelImage NewPixelImage(QSize size, QImage::Format format) {
  if (size.width() <= 0 || size.height() <= 0) return {};
  PixelImage result;
  result.bytesPerLine = AlignedBytesPerLine(size.width(), format);
  result.memory = AllocatePixels(static_cast<std::size_t>(result.bytesPerLine) * static_cast<std::size_t>(size.height()),
                                 result.rows);
  if (!result.memory) return {};
  auto* owner = new std::shared_ptr<void>(result.memory);
  result.image = QImage(result.rows, size.width(), size.height(), result.bytesPerLine, format, ReleaseShared, owner);
  if (result.image.isNull()) {
    delete owner;
    return {};
  }
  return result;
}

bool PreparePages(uchar* begin, std::size_t length) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
  // madvise wants a page-aligned start; the part of the first page before `begin` is the caller's own memory.
  constexpr std::uintptr_t kPage = 4096;
  const auto start = reinterpret_cast<std::uintptr_t>(begin) & ~(kPage - 1);
  const std::size_t span = length + (reinterpret_cast<std::uintptr_t>(begin) - start);
  return madvise(reinterpret_cast<void*>(start), span, MADV_POPULATE_WRITE) == 0;
#else
  (void)begin;
  (void)length;
  return false;
#endif
}

}  // namespace velmaro::map_picture

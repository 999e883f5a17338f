#include "map_picture/picture_bytes.h"

#include "map_picture/memory_budget.h"

#include <QFile>
#include <QFileInfo>

namespace velmaro::map_picture {
namespace {

bool ReadExactly(QFile& file, char* target, std::int64_t count) {
  while (count > 0) {
    const qint64 got = file.read(target, count);
    if (got <= 0) return false;  // a file that shrank while being read is as damaged as a truncated one
    target += got;
    count -= got;
  }
  return true;
}

}  // namespace

std::optional<QByteArray> ReadPictureBytes(const QString& path) {
  const QFileInfo info(path);
  // isFile() follows links and is false for folders, devices and pipes, which would block or never end.
  if (path.isEmpty() || !info.isFile()) return std::nullopt;
  const std::int64_t count = info.size();
  if (count <= 0) return std::nullopt;
  const auto allocatable = AllocatableBytes();
  if (!allocatable || count > *allocatable) return std::nullopt;

  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes(count, Qt::Uninitialized);
  if (!ReadExactly(file, bytes.data(), count)) return std::nullopt;
  return bytes;
}

}  // namespace velmaro::map_picture

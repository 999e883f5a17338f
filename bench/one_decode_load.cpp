#include "bench/one_decode_load.h"

#include "ui/map_picture/map_picture_loader.h"
#include "ui/map_picture/preview_reduction.h"

#include <utility>

namespace velmaro::bench {

std::optional<MapPicture> LoadMapPicture(const QString& path, QSize box) {
  std::optional<QImage> full = map_picture::LoadFull(path);
  if (!full) return std::nullopt;
  QImage preview = map_picture::ReduceByDivisor(*full, map_picture::PreviewDivisor(full->size(), box));
  if (preview.isNull()) return std::nullopt;
  return MapPicture{std::move(*full), std::move(preview)};
}

}  // namespace velmaro::bench

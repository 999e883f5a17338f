#include "map_picture/reduced_copies.h"

#include <QPainter>

#include "map_picture/preview_reduction.h"

namespace velmaro::map_picture {

void ReducedCopies::clear() {
  copies_.clear();
  changedBeforeFirstCopy_.clear();
}

void ReducedCopies::refresh(const QImage& picture, const QRect& area) {
  if (copies_.empty()) {
    changedBeforeFirstCopy_.push_back(area);
    return;
  }
  QRect changed = area;
  for (std::size_t k = 0; k < copies_.size(); ++k) {
    const int divisor = k == 0 ? kFirstReduction : 2;
    const QImage& larger = k == 0 ? picture : copies_[k - 1];
    // Whole blocks of the larger image's pixels, so each reduced pixel averages exactly its own block.
    changed = QRect(QPoint(changed.left() / divisor, changed.top() / divisor),
                    QPoint(changed.right() / divisor, changed.bottom() / divisor))
                  .intersected(copies_[k].rect());
    if (changed.isEmpty()) return;
    const QRect blocks(changed.topLeft() * divisor, changed.size() * divisor);
    const QImage piece = ReduceByDivisor(larger.copy(blocks.intersected(larger.rect())), divisor);
    QPainter painter(&copies_[k]);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(changed.topLeft(), piece);
  }
}

void ReducedCopies::offer(const QImage& picture, QImage reduced, int divisor) {
  const std::vector<QRect> changed = std::move(changedBeforeFirstCopy_);
  changedBeforeFirstCopy_.clear();
  if (!copies_.empty() || divisor != kFirstReduction || reduced.size() != ReducedSize(picture.size(), divisor)) return;
  copies_.push_back(std::move(reduced));
  for (const QRect& area : changed) refresh(picture, area);
  double scale = 0;
  sourceFor(picture, 0.0, scale);
}

const QImage& ReducedCopies::sourceFor(const QImage& picture, double zoom, double& scale) {
  scale = 1.0;
  if (zoom * kFirstReduction > 1.0 || picture.width() < kFirstReduction || picture.height() < kFirstReduction)
    return picture;
  if (copies_.empty()) {
    copies_.push_back(ReduceByDivisor(picture, kFirstReduction));
    changedBeforeFirstCopy_.clear();  // the copy holds them already
  }
  scale = 1.0 / kFirstReduction;
  std::size_t level = 0;
  while (scale / 2 >= zoom && copies_[level].width() >= 2 && copies_[level].height() >= 2) {
    if (copies_.size() <= level + 1) copies_.push_back(ReduceByDivisor(copies_[level], 2));
    scale /= 2;
    ++level;
  }
  return copies_[level];
}

}  // namespace velmaro::map_picture

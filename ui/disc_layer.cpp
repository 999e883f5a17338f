#include "ui/disc_layer.h"

#include <QPainter>
#include <algorithm>

namespace velmaro::ui {

QRect Disc::square() const {
  // The disc paints within its radius and two pixels around it; one pixel more on every side.
  const int margin = static_cast<int>(radius) + 3;
  return QRect(centre.toPoint() - QPoint(margin, margin), QSize(2 * margin + 1, 2 * margin + 1));
}

void DiscLayer::newPicture() {
  ++generation_;
  waiting_.clear();
  underSettledDiscs_.clear();
}

DiscUndo DiscLayer::draw(QImage& picture, int settledRows, const Disc& disc) {
  const QRect square = disc.square();
  if (square.bottom() >= settledRows) {
    waiting_.push_back(Waiting{++serial_, disc});
    return DiscUndo{square.topLeft(), QImage(), generation_, serial_};
  }
  DiscUndo undo{square.topLeft(), picture.copy(square), generation_, 0};
  paint(picture, disc);
  return undo;
}

void DiscLayer::drawSettled(QImage& picture, int settledRows) {
  // Settled rows only grow, so a waiting disc is drawn once; what it covers is kept for taking it back.
  for (auto waiting = waiting_.begin(); waiting != waiting_.end();) {
    const QRect square = waiting->disc.square();
    if (square.bottom() >= settledRows) {
      ++waiting;
      continue;
    }
    underSettledDiscs_[waiting->serial] = DiscUndo{square.topLeft(), picture.copy(square), generation_, 0};
    paint(picture, waiting->disc);
    waiting = waiting_.erase(waiting);
  }
}

void DiscLayer::takeBack(QImage& picture, const DiscUndo& undo) {
  if (undo.generation != generation_) return;
  if (!undo.waitingDisc) {
    if (!undo.pixels.isNull()) putBack(picture, undo.topLeft, undo.pixels);
    return;
  }
  const auto waiting = std::find_if(waiting_.begin(), waiting_.end(),
                                    [&](const Waiting& w) { return w.serial == undo.waitingDisc; });
  if (waiting != waiting_.end()) {
    waiting_.erase(waiting);
    return;
  }
  const auto under = underSettledDiscs_.find(undo.waitingDisc);
  if (under == underSettledDiscs_.end()) return;
  putBack(picture, under->second.topLeft, under->second.pixels);
  underSettledDiscs_.erase(under);
}

void DiscLayer::paint(QImage& picture, const Disc& disc) {
  {
    QPainter painter(&picture);
    painter.setPen(disc.outline);
    painter.setBrush(disc.solid ? QBrush(disc.fill) : Qt::NoBrush);
    painter.drawEllipse(disc.centre, disc.radius, disc.radius);
  }
  changed_(disc.square());
}

void DiscLayer::putBack(QImage& picture, const QPoint& topLeft, const QImage& pixels) {
  if (picture.isNull()) return;
  {
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(topLeft, pixels);
  }
  changed_(QRect(topLeft, pixels.size()));
}

}  // namespace velmaro::ui

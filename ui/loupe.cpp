#include "ui/loupe.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "ui/design_colours.h"

namespace velmaro::ui {

namespace {
constexpr int kLensDiameter = 160;
constexpr int kTextHeight = 20;
constexpr int kGap = 24;  // between the pointer and the loupe, so the loupe never hides the spot
}  // namespace

Loupe::Loupe(QWidget* parent) : QWidget(parent) {
  setObjectName("Loupe");
  setAttribute(Qt::WA_TransparentForMouseEvents);
  resize(kLensDiameter, kLensDiameter + kTextHeight);
  hide();
}

void Loupe::showAt(QPoint pointer, const QImage& picture, QRect ready, QPointF spot, const QString& coordinates) {
  picture_ = &picture;
  ready_ = ready.intersected(picture.rect());
  spot_ = spot;
  coordinates_ = coordinates;
  const QSize room = parentWidget() ? parentWidget()->size() : QSize();
  QPoint place = pointer + QPoint(kGap, kGap);
  if (place.x() + width() > room.width()) place.setX(pointer.x() - kGap - width());
  if (place.y() + height() > room.height()) place.setY(pointer.y() - kGap - height());
  move(place);
  show();
  raise();
  update();
}

void Loupe::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF lens(0.5, 0.5, kLensDiameter - 1, kLensDiameter - 1);
  QPainterPath round;
  round.addEllipse(lens);
  painter.save();
  painter.setClipPath(round);
  painter.fillRect(lens, kLightGrey);
  if (picture_ && !picture_->isNull()) paintMagnified(painter, lens);
  painter.restore();
  const QPointF centre = lens.center();
  // Red on a white halo, so the cross stays visible on red and dark map ink alike.
  for (const QPen& pen : {QPen(Qt::white, 3), QPen(Qt::red, 1)}) {
    painter.setPen(pen);
    painter.drawLine(QPointF(centre.x() - 12, centre.y()), QPointF(centre.x() + 12, centre.y()));
    painter.drawLine(QPointF(centre.x(), centre.y() - 12), QPointF(centre.x(), centre.y() + 12));
  }
  painter.setPen(QPen(Qt::black, 2));
  painter.drawEllipse(lens.adjusted(1, 1, -1, -1));
  const QRectF label(0, kLensDiameter, width(), kTextHeight);
  painter.fillRect(label, QColor(255, 255, 225));
  painter.setPen(Qt::black);
  painter.drawText(label, Qt::AlignCenter, coordinates_);
}

void Loupe::paintMagnified(QPainter& painter, const QRectF& lens) {
  // Only the few picture pixels under the lens are drawn, each as a sharp square, so the spot (which may
  // fall between pixels when the map is zoomed) sits exactly under the cross-hair.
  const double half = lens.width() / 2 / kLoupeMagnification + 1;
  const QRect from = QRect(QPoint(static_cast<int>(std::floor(spot_.x() - half)), static_cast<int>(std::floor(spot_.y() - half))),
                           QPoint(static_cast<int>(std::ceil(spot_.x() + half)), static_cast<int>(std::ceil(spot_.y() + half))))
                         .intersected(ready_);
  if (from.isEmpty()) return;
  const QPointF origin = lens.center() + (QPointF(from.topLeft()) - spot_) * kLoupeMagnification;
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRectF(origin, QSizeF(from.size()) * kLoupeMagnification), *picture_, from);
}

}  // namespace velmaro::ui

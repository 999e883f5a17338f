#include "ui/window_icon.h"

#include <QPainter>
#include <QPixmap>

namespace velmaro::ui {

QIcon WindowIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(64, 64, 64), 1));
  painter.setBrush(QColor(236, 226, 190));
  painter.drawRect(3, 5, 26, 22);
  painter.setPen(QPen(QColor(60, 130, 200), 2));
  painter.drawLine(6, 20, 14, 13);
  painter.drawLine(14, 13, 26, 17);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 0, 0));
  painter.drawEllipse(QPointF(17, 12), 4, 4);
  return QIcon(pixmap);
}

}  // namespace velmaro::ui

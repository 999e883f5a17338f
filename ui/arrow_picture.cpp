#include "ui/arrow_picture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QStyleOptionFocusRect>

namespace velmaro::ui {

ArrowPicture::ArrowPicture(ArrowDirection direction, QColor background, QWidget* parent)
    : QWidget(parent), direction_(direction), background_(background) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

namespace {

// The red triangle of a 16 x 16 picture.
QPolygonF Triangle(ArrowDirection direction) {
  switch (direction) {
    case ArrowDirection::Up: return QPolygonF({{8, 2}, {14, 13}, {2, 13}});
    case ArrowDirection::Down: return QPolygonF({{2, 3}, {14, 3}, {8, 14}});
    case ArrowDirection::Left: return QPolygonF({{2, 8}, {13, 2}, {13, 14}});
    case ArrowDirection::Right: return QPolygonF({{3, 2}, {14, 8}, {3, 14}});
  }
  return {};
}

}  // namespace

void ArrowPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), background_);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 0, 0));
  const QPointF offset((width() - 16) / 2.0, (height() - 16) / 2.0);
  painter.drawPolygon(Triangle(direction_).translated(offset));
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(1, 1, -1, -1);
    focus.backgroundColor = background_;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

void ArrowPicture::keyPressEvent(QKeyEvent* event) {
  const bool press = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!press) break;
      emit clicked();  // held down, the key repeats the click, as a held arrow key steps a scroll bar
      return;
    default: break;
  }
  QWidget::keyPressEvent(event);
}

void ArrowPicture::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

}  // namespace velmaro::ui

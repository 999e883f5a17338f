#include "ui/map_canvas.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleHints>
#include <cmath>

#include "ui/twips.h"

namespace velmaro::ui {

namespace {
const QColor kBackground(224, 224, 224);
}  // namespace

int ButtonCode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    case Qt::XButton1: return 8;
    case Qt::XButton2: return 16;
    default: return 0;
  }
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
  return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) | (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
         (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

MapCanvas::MapCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName("Picture1");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void MapCanvas::setPicture(QImage picture) {
  picture_ = std::move(picture);
  ++generation_;
  resize(picture_.size());
  update();
}

void MapCanvas::dropPicture() {
  picture_ = QImage();
  ++generation_;
  update();
}

QImage MapCanvas::copyPixels(const QRect& rect) const {
  if (!picture_.isNull()) return picture_.copy(rect);
  QImage background(rect.size(), QImage::Format_RGB32);
  background.fill(kBackground);
  return background;
}

void MapCanvas::restorePixels(const QPoint& topLeft, const QImage& pixels) {
  if (picture_.isNull()) return;
  {
    QPainter painter(&picture_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(topLeft, pixels);
  }
  update(QRect(topLeft, pixels.size()));
}

double MapCanvas::widthTwips() const { return ToTwips(width(), TwipsPerPixel(this)); }
double MapCanvas::heightTwips() const { return ToTwips(height(), TwipsPerPixel(this)); }

void MapCanvas::circle(double xTwips, double yTwips, double radiusTwips, QColor outline) {
  if (picture_.isNull()) {
    if (size().isEmpty()) return;
    picture_ = QImage(size(), QImage::Format_RGB32);
    picture_.fill(kBackground);
  }
  const double tpp = TwipsPerPixel(this);
  const QPointF centre(xTwips / tpp, yTwips / tpp);
  const double radius = radiusTwips / tpp;
  {
    QPainter painter(&picture_);
    painter.setPen(outline);
    painter.setBrush(fillSolid_ ? QBrush(fillColour_) : Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
  }
  const int margin = static_cast<int>(radius) + 2;
  update(QRect(centre.toPoint() - QPoint(margin, margin), QSize(2 * margin + 1, 2 * margin + 1)));
}

void MapCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  for (const QRect& exposed : event->region()) {
    const QRect inPicture = exposed.intersected(picture_.rect());
    if (!inPicture.isEmpty()) painter.drawImage(inPicture.topLeft(), picture_, inPicture);
    const QRegion rest = QRegion(exposed).subtracted(QRegion(inPicture));
    for (const QRect& r : rest) painter.fillRect(r, kBackground);
  }
}

void MapCanvas::mousePressEvent(QMouseEvent* event) { emitMouseDown(*event); }

void MapCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  const QStyleHints& hints = *QGuiApplication::styleHints();
  const QPointF moved = event->globalPosition() - lastPressPlace_;
  const int distance = hints.mouseDoubleClickDistance();
  const bool near = std::abs(moved.x()) <= distance && std::abs(moved.y()) <= distance;
  // The first half must have been a press on this canvas, not an old one here and a new one elsewhere.
  const bool soon = event->timestamp() - lastPressTime_ <= static_cast<quint64>(hints.mouseDoubleClickInterval());
  if (!(near && soon)) emitMouseDown(*event);
}

void MapCanvas::emitMouseDown(const QMouseEvent& event) {
  lastPressPlace_ = event.globalPosition();
  lastPressTime_ = event.timestamp();
  const double tpp = TwipsPerPixel(this);
  emit mouseDown(ButtonCode(event.button()), ShiftCode(event.modifiers()), ToTwips(event.position().x(), tpp),
                 ToTwips(event.position().y(), tpp));
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  const double tpp = TwipsPerPixel(this);
  emit mouseMove(ButtonCode(event->button()), ShiftCode(event->modifiers()), ToTwips(event->position().x(), tpp),
                 ToTwips(event->position().y(), tpp));
}

}  // namespace velmaro::ui

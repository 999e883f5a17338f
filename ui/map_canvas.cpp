#include "ui/map_canvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "core/zoom.h"
#include "map_picture/scaled_pixels.h"
#include "ui/design_colours.h"
#include "ui/mouse_codes.h"
#include "ui/twips.h"

namespace velmaro::ui {

MapCanvas::MapCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName("Picture1");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void MapCanvas::setPicture(QImage picture) {
  const int rows = picture.height();
  newPicture(std::move(picture), rows);
}

void MapCanvas::setLoadingPicture(QImage picture) { newPicture(std::move(picture), 0); }

void MapCanvas::newPicture(QImage picture, int readyRows) {
  picture_ = std::move(picture);
  readyRows_ = readyRows;
  settledRows_ = readyRows;
  reduced_.clear();
  discs_.newPicture();
  zoom_ = 1.0;
  resize(picture_.size());
  update();
  emit pictureReplaced();
}

void MapCanvas::setDecodedRows(int ready, int settled) {
  ready = std::min(ready, picture_.height());
  settled = std::min(settled, ready);
  if (settled > settledRows_) {
    settledRows_ = settled;
    discs_.drawSettled(picture_, settledRows_);
  }
  if (ready <= readyRows_) return;
  const QRect fresh(0, readyRows_, picture_.width(), ready - readyRows_);
  readyRows_ = ready;
  update(zoom_ == 1.0 ? fresh : shownRect(fresh).adjusted(-1, -1, 1, 1));
}

void MapCanvas::dropPicture() {
  picture_ = QImage();
  readyRows_ = 0;
  settledRows_ = 0;
  reduced_.clear();
  discs_.newPicture();
  update();
  emit pictureReplaced();
}

double MapCanvas::widthTwips() const { return ToTwips(unzoomedSize().width(), TwipsPerPixel(this)); }
double MapCanvas::heightTwips() const { return ToTwips(unzoomedSize().height(), TwipsPerPixel(this)); }
double MapCanvas::shownWidthTwips() const { return ToTwips(width(), TwipsPerPixel(this)); }
double MapCanvas::shownHeightTwips() const { return ToTwips(height(), TwipsPerPixel(this)); }

void MapCanvas::setZoom(double zoom) {
  if (zoom_ == 1.0) unzoomed_ = size();
  zoom_ = zoom;
  resize(zoom == 1.0 ? unzoomed_ : shownRect(QRectF(QPointF(0, 0), QSizeF(unzoomed_))).size());
  update();
}

QRect MapCanvas::shownRect(const QRectF& pictureRect) const {
  const QRectF shown(pictureRect.topLeft() * zoom_, pictureRect.size() * zoom_);
  return shown.toAlignedRect();
}

void MapCanvas::offerReduced(QImage reduced, int divisor) {
  if (loading()) return;
  reduced_.offer(picture_, std::move(reduced), divisor);
}

void MapCanvas::pictureChanged(const QRect& area) {
  reduced_.refresh(picture_, area);
  update(zoom_ == 1.0 ? area : shownRect(area).adjusted(-1, -1, 1, 1));
}

DiscUndo MapCanvas::circle(double xTwips, double yTwips, double radiusTwips, QColor outline) {
  if (picture_.isNull()) {
    if (size().isEmpty()) return DiscUndo{};
    picture_ = QImage(size(), QImage::Format_RGB32);
    picture_.fill(kLightGrey);
    readyRows_ = settledRows_ = picture_.height();
  }
  const double tpp = TwipsPerPixel(this);
  const Disc disc{QPointF(xTwips / tpp, yTwips / tpp), radiusTwips / tpp, outline, fillColour_, fillSolid_};
  return discs_.draw(picture_, settledRows_, disc);
}

void MapCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (zoom_ != 1.0) {
    painter.fillRect(event->rect(), kLightGrey);
    if (picture_.isNull()) return;
    // Reduced copies are made from a whole picture; while it loads, its ready rows are scaled directly.
    double scale = 1.0;
    const QImage& source = zoom_ < 1.0 && !loading() ? reduced_.sourceFor(picture_, zoom_, scale) : picture_;
    const QRect limit = loading() ? readyRect() : source.rect();
    for (const QRect& exposed : event->region()) paintScaled(painter, exposed, source, zoom_ / scale, limit);
    return;
  }
  for (const QRect& exposed : event->region()) {
    const QRect inPicture = exposed.intersected(readyRect());
    if (!inPicture.isEmpty()) painter.drawImage(inPicture.topLeft(), picture_, inPicture);
    const QRegion rest = QRegion(exposed).subtracted(QRegion(inPicture));
    for (const QRect& r : rest) painter.fillRect(r, kLightGrey);
  }
}

void MapCanvas::paintScaled(QPainter& painter, const QRect& exposed, const QImage& source, double factor,
                            const QRect& limit) {
  // Whole source pixels that cover the exposed part, drawn at their exact places, so neighbouring
  // exposed parts meet without a seam. Enlarged pixels stay sharp; reductions are smoothed.
  const QRect wanted(QPoint(static_cast<int>(std::floor(exposed.left() / factor)),
                            static_cast<int>(std::floor(exposed.top() / factor))),
                     QPoint(static_cast<int>(std::ceil((exposed.right() + 1) / factor)),
                            static_cast<int>(std::ceil((exposed.bottom() + 1) / factor))));
  const QRect from = wanted.intersected(limit);
  if (from.isEmpty()) return;
  if (source.format() == QImage::Format_RGB888) {
    const QRect shown = exposed.intersected(QRectF(QPointF(limit.topLeft()) * factor, QSizeF(limit.size()) * factor).toRect());
    if (!shown.isEmpty()) painter.drawImage(shown.topLeft(), map_picture::ScaledRgb888(source, limit, shown, factor));
    return;
  }
  painter.save();
  painter.setClipRect(exposed);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, factor < 1.0);
  painter.drawImage(QRectF(QPointF(from.topLeft()) * factor, QSizeF(from.size()) * factor), source, from);
  painter.restore();
}

void MapCanvas::mousePressEvent(QMouseEvent* event) { emitMouseDown(presses_.pressed(*event)); }
void MapCanvas::mouseDoubleClickEvent(QMouseEvent* event) { emitMouseDown(presses_.doubleClicked(*event)); }
void MapCanvas::mouseReleaseEvent(QMouseEvent* event) { emitMouseDown(presses_.released(*event)); }

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pan = presses_.moved(*event);
  if (!pan.isNull()) emit panRequested(pan);
  emit mouseMove(event->position().toPoint());
}

void MapCanvas::emitMouseDown(const std::optional<PressReader::Down>& down) {
  if (!down) return;
  const double tpp = TwipsPerPixel(this);
  emit mouseDown(ButtonCode(down->button), ShiftCode(down->modifiers), PixelToPicture(down->place.x(), zoom_, tpp),
                 PixelToPicture(down->place.y(), zoom_, tpp));
}

void MapCanvas::leaveEvent(QEvent* /*event*/) { emit pointerLeft(); }

void MapCanvas::wheelEvent(QWheelEvent* event) {
  emit wheelTurned(event->angleDelta(), event->modifiers(), event->position().toPoint());
  event->accept();
}

}  // namespace velmaro::ui

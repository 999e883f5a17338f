#include "ui/map_canvas.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleHints>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "core/zoom.h"
#include "ui/map_picture/preview_reduction.h"
#include "ui/scaled_pixels.h"
#include "ui/twips.h"

namespace velmaro::ui {

namespace {
const QColor kBackground(224, 224, 224);
constexpr int kFirstReduction = 8;
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
  const int rows = picture.height();
  newPicture(std::move(picture), rows);
}

void MapCanvas::setLoadingPicture(QImage picture) { newPicture(std::move(picture), 0); }

void MapCanvas::newPicture(QImage picture, int readyRows) {
  picture_ = std::move(picture);
  readyRows_ = readyRows;
  reduced_.clear();
  drawnBeforeReduced_.clear();
  waiting_.clear();
  underWaitedDiscs_.clear();
  zoom_ = 1.0;
  ++generation_;
  resize(picture_.size());
  update();
}

void MapCanvas::setReadyRows(int rows) {
  rows = std::min(rows, picture_.height());
  if (rows <= readyRows_) return;
  const QRect fresh(0, readyRows_, picture_.width(), rows - readyRows_);
  readyRows_ = rows;
  drawDiscsNowReady();
  update(zoom_ == 1.0 ? fresh : shownRect(fresh).adjusted(-1, -1, 1, 1));
}

void MapCanvas::drawDiscsNowReady() {
  // Ready rows only grow, so a waiting disc is drawn once; what it covers is kept for taking it back.
  for (auto disc = waiting_.begin(); disc != waiting_.end();) {
    const QRect square = disc->touched.adjusted(-1, -1, 1, 1);
    if (square.bottom() >= readyRows_) {
      ++disc;
      continue;
    }
    underWaitedDiscs_[disc->serial] = Snapshot{square.topLeft(), picture_.copy(square), generation_, 0};
    drawDisc(*disc);
    disc = waiting_.erase(disc);
  }
}

void MapCanvas::dropPicture() {
  picture_ = QImage();
  readyRows_ = 0;
  reduced_.clear();
  drawnBeforeReduced_.clear();
  waiting_.clear();
  underWaitedDiscs_.clear();
  ++generation_;
  update();
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

void MapCanvas::refreshReduced(const QRect& area) {
  if (reduced_.empty()) {
    drawnBeforeReduced_.push_back(area);  // for a reduced copy offered once the picture is whole
    return;
  }
  QRect changed = area;
  for (std::size_t k = 0; k < reduced_.size(); ++k) {
    const int divisor = k == 0 ? kFirstReduction : 2;
    const QImage& larger = k == 0 ? picture_ : reduced_[k - 1];
    // Whole blocks of the larger image's pixels, so each reduced pixel averages exactly its own block.
    changed = QRect(QPoint(changed.left() / divisor, changed.top() / divisor),
                    QPoint(changed.right() / divisor, changed.bottom() / divisor))
                  .intersected(reduced_[k].rect());
    if (changed.isEmpty()) return;
    const QRect blocks(changed.topLeft() * divisor, changed.size() * divisor);
    const QImage piece = map_picture::ReduceByDivisor(larger.copy(blocks.intersected(larger.rect())), divisor);
    QPainter painter(&reduced_[k]);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(changed.topLeft(), piece);
  }
}

void MapCanvas::offerReduced(QImage reduced, int divisor) {
  const std::vector<QRect> drawn = std::move(drawnBeforeReduced_);
  drawnBeforeReduced_.clear();
  if (loading() || !reduced_.empty() || divisor != kFirstReduction ||
      reduced.size() != map_picture::ReducedSize(picture_.size(), divisor))
    return;
  reduced_.push_back(std::move(reduced));
  for (const QRect& area : drawn) refreshReduced(area);
  // The smaller copies are made now, while the map has just arrived, not on the first zoom out.
  double scale = 0;
  reducedFor(0.0, scale);
}

const QImage& MapCanvas::reducedFor(double zoom, double& scale) {
  // Down to 1/8 the picture itself is scaled, which reads only the pixels the view samples; below that the
  // reduced copies, the first made from the whole picture by block means, the rest halving it.
  scale = 1.0;
  if (zoom * kFirstReduction > 1.0 || picture_.width() < kFirstReduction || picture_.height() < kFirstReduction)
    return picture_;
  if (reduced_.empty()) {
    reduced_.push_back(map_picture::ReduceByDivisor(picture_, kFirstReduction));
    drawnBeforeReduced_.clear();  // the copy holds them already
  }
  scale = 1.0 / kFirstReduction;
  std::size_t level = 0;
  while (scale / 2 >= zoom && reduced_[level].width() >= 2 && reduced_[level].height() >= 2) {
    if (reduced_.size() <= level + 1) reduced_.push_back(map_picture::ReduceByDivisor(reduced_[level], 2));
    scale /= 2;
    ++level;
  }
  return reduced_[level];
}

MapCanvas::Snapshot MapCanvas::snapshotBeforeCircle(const QRect& rect) const {
  Snapshot snapshot{rect.topLeft(), QImage(), generation_, 0};
  if (picture_.isNull()) {
    snapshot.pixels = QImage(rect.size(), QImage::Format_RGB32);
    snapshot.pixels.fill(kBackground);
  } else if (rect.bottom() < readyRows_) {
    snapshot.pixels = picture_.copy(rect);
  } else {
    snapshot.waitingDisc = discSerial_ + 1;  // the serial the next circle takes
  }
  return snapshot;
}

void MapCanvas::restore(const Snapshot& snapshot) {
  if (snapshot.generation != generation_) return;
  if (!snapshot.waitingDisc) {
    if (!snapshot.pixels.isNull()) restorePixels(snapshot.topLeft, snapshot.pixels);
    return;
  }
  const auto waiting = std::find_if(waiting_.begin(), waiting_.end(),
                                    [&](const WaitingDisc& disc) { return disc.serial == snapshot.waitingDisc; });
  if (waiting != waiting_.end()) {
    waiting_.erase(waiting);
    return;
  }
  const auto under = underWaitedDiscs_.find(snapshot.waitingDisc);
  if (under == underWaitedDiscs_.end()) return;
  restorePixels(under->second.topLeft, under->second.pixels);
  underWaitedDiscs_.erase(under);
}

void MapCanvas::restorePixels(const QPoint& topLeft, const QImage& pixels) {
  if (picture_.isNull()) return;
  {
    QPainter painter(&picture_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(topLeft, pixels);
  }
  const QRect area(topLeft, pixels.size());
  refreshReduced(area);
  update(shownRect(area));
}

void MapCanvas::circle(double xTwips, double yTwips, double radiusTwips, QColor outline) {
  if (picture_.isNull()) {
    if (size().isEmpty()) return;
    picture_ = QImage(size(), QImage::Format_RGB32);
    picture_.fill(kBackground);
    readyRows_ = picture_.height();
  }
  const double tpp = TwipsPerPixel(this);
  const QPointF centre(xTwips / tpp, yTwips / tpp);
  const double radius = radiusTwips / tpp;
  const int margin = static_cast<int>(radius) + 2;
  const QRect touched(centre.toPoint() - QPoint(margin, margin), QSize(2 * margin + 1, 2 * margin + 1));
  const WaitingDisc disc{++discSerial_, centre, radius, outline, fillColour_, fillSolid_, touched};
  // The rows under a disc (and the pixel around its square) must be decoded before it is drawn.
  if (touched.bottom() + 1 >= readyRows_ && !picture_.isNull())
    waiting_.push_back(disc);
  else
    drawDisc(disc);
}

void MapCanvas::drawDisc(const WaitingDisc& disc) {
  {
    QPainter painter(&picture_);
    painter.setPen(disc.outline);
    painter.setBrush(disc.solid ? QBrush(disc.fill) : Qt::NoBrush);
    painter.drawEllipse(disc.centre, disc.radius, disc.radius);
  }
  refreshReduced(disc.touched);
  update(zoom_ == 1.0 ? disc.touched : shownRect(disc.touched).adjusted(-1, -1, 1, 1));
}

void MapCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (zoom_ != 1.0) {
    painter.fillRect(event->rect(), kBackground);
    if (picture_.isNull()) return;
    // Reduced copies are made from a whole picture; while it loads, its ready rows are scaled directly.
    double scale = 1.0;
    const QImage& source = zoom_ < 1.0 && !loading() ? reducedFor(zoom_, scale) : picture_;
    const QRect limit = loading() ? readyRect() : source.rect();
    for (const QRect& exposed : event->region()) paintScaled(painter, exposed, source, zoom_ / scale, limit);
    return;
  }
  for (const QRect& exposed : event->region()) {
    const QRect inPicture = exposed.intersected(readyRect());
    if (!inPicture.isEmpty()) painter.drawImage(inPicture.topLeft(), picture_, inPicture);
    const QRegion rest = QRegion(exposed).subtracted(QRegion(inPicture));
    for (const QRect& r : rest) painter.fillRect(r, kBackground);
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
    if (!shown.isEmpty()) painter.drawImage(shown.topLeft(), ScaledRgb888(source, limit, shown, factor));
    return;
  }
  painter.save();
  painter.setClipRect(exposed);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, factor < 1.0);
  painter.drawImage(QRectF(QPointF(from.topLeft()) * factor, QSizeF(from.size()) * factor), source, from);
  painter.restore();
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton)
    pressOrHoldMiddle(*event);
  else
    emitMouseDown(*event);
}

void MapCanvas::pressOrHoldMiddle(const QMouseEvent& event) {
  // The values, not the event: Qt shares an event's point with later events of the same device.
  heldMiddle_ = Press{event.button(), event.modifiers(), event.position(), event.globalPosition(), event.timestamp()};
  dragLast_ = event.globalPosition();
  panning_ = false;
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::MiddleButton || !heldMiddle_) return;
  if (!panning_) emitMouseDown(*heldMiddle_);
  heldMiddle_.reset();
  panning_ = false;
}

void MapCanvas::leaveEvent(QEvent* /*event*/) { emit pointerLeft(); }

void MapCanvas::wheelEvent(QWheelEvent* event) {
  emit wheelTurned(event->angleDelta(), event->modifiers(), event->position().toPoint());
  event->accept();
}

void MapCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  const QStyleHints& hints = *QGuiApplication::styleHints();
  const QPointF moved = event->globalPosition() - lastPressPlace_;
  const int distance = hints.mouseDoubleClickDistance();
  const bool near = std::abs(moved.x()) <= distance && std::abs(moved.y()) <= distance;
  // The first half must have been a press on this canvas, not an old one here and a new one elsewhere.
  const bool soon = event->timestamp() - lastPressTime_ <= static_cast<quint64>(hints.mouseDoubleClickInterval());
  if (near && soon) return;
  if (event->button() == Qt::MiddleButton)
    pressOrHoldMiddle(*event);
  else
    emitMouseDown(*event);
}

void MapCanvas::emitMouseDown(const QMouseEvent& event) {
  emitMouseDown(Press{event.button(), event.modifiers(), event.position(), event.globalPosition(), event.timestamp()});
}

void MapCanvas::emitMouseDown(const Press& press) {
  lastPressPlace_ = press.global;
  lastPressTime_ = press.time;
  const double tpp = TwipsPerPixel(this);
  emit mouseDown(ButtonCode(press.button), ShiftCode(press.modifiers), PixelToPicture(press.place.x(), zoom_, tpp),
                 PixelToPicture(press.place.y(), zoom_, tpp));
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (heldMiddle_ && event->buttons().testFlag(Qt::MiddleButton)) {
    const QPointF travelled = event->globalPosition() - heldMiddle_->global;
    if (!panning_ && travelled.manhattanLength() >= QGuiApplication::styleHints()->startDragDistance()) panning_ = true;
    const QPoint delta = (event->globalPosition() - dragLast_).toPoint();
    if (panning_ && !delta.isNull()) {
      dragLast_ += QPointF(delta);
      emit panRequested(delta);
    }
  }
  const double tpp = TwipsPerPixel(this);
  emit mouseMove(ButtonCode(event->button()), ShiftCode(event->modifiers()),
                 PixelToPicture(event->position().x(), zoom_, tpp), PixelToPicture(event->position().y(), zoom_, tpp));
  emit pointerAt(event->position().toPoint());
}

}  // namespace velmaro::ui

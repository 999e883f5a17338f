#include "ui/preview_image.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace velmaro::ui {

PreviewImage::PreviewImage(QWidget* parent) : QWidget(parent) {
  setObjectName("Image1");
  setMouseTracking(true);
}

void PreviewImage::setPicture(QImage picture) {
  readyRows_ = picture.height();
  picture_ = std::move(picture);
  update();
}

void PreviewImage::setLoadingPicture(QImage picture) {
  picture_ = std::move(picture);
  readyRows_ = 0;
  update();
}

void PreviewImage::setReadyRows(int rows) {
  if (rows == readyRows_) return;
  // Only the strip the new rows change is painted again: repainting the whole preview at every step of a
  // decode scaled the ready rows of a gigapixel map's 5000 x 3125 preview some 125 times. The strip starts
  // two rows above the old end, both in the preview and on screen: smooth scaling drew them from the last
  // ready row alone, and the line between the rows and the white below them.
  const double scale = picture_.isNull() ? 0.0 : static_cast<double>(height()) / picture_.height();
  const int top = static_cast<int>(std::floor(std::max(readyRows_ - 2, 0) * scale)) - 2;
  const bool whole = rows < readyRows_ || rows >= picture_.height();
  readyRows_ = rows;
  if (whole) return update();
  update(QRect(0, top, width(), static_cast<int>(std::ceil(rows * scale)) + 2 - top));
}

void PreviewImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_.isNull()) {
    painter.fillRect(rect(), Qt::white);  // the blank placeholder until a map is loaded
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (readyRows_ >= picture_.height()) {
    painter.drawImage(rect(), picture_);
    return;
  }
  // Smooth scaling reads one row beyond the rows it draws, so the last ready row waits for the next.
  const int rows = std::max(readyRows_ - 1, 0);
  const double scale = static_cast<double>(height()) / picture_.height();
  const QRectF ready(0, 0, width(), rows * scale);
  if (rows > 0) painter.drawImage(ready, picture_, QRectF(0, 0, picture_.width(), rows));
  painter.fillRect(QRectF(0, ready.bottom(), width(), height() - ready.height()), Qt::white);
}

void PreviewImage::mouseMoveEvent(QMouseEvent*) { emit mouseMove(); }

}  // namespace velmaro::ui

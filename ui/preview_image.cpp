#include "ui/preview_image.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

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
  readyRows_ = rows;
  update();
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

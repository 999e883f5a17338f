#include "ui/preview_image.h"

#include <QMouseEvent>
#include <QPainter>

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
  const double scale = static_cast<double>(height()) / picture_.height();
  const QRectF ready(0, 0, width(), readyRows_ * scale);
  painter.drawImage(ready, picture_, QRectF(0, 0, picture_.width(), readyRows_));
  painter.fillRect(QRectF(0, ready.bottom(), width(), height() - ready.height()), Qt::white);
}

void PreviewImage::mouseMoveEvent(QMouseEvent*) { emit mouseMove(); }

}  // namespace velmaro::ui

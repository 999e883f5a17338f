#include "ui/preview_image.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmaro::ui {

PreviewImage::PreviewImage(QWidget* parent) : QWidget(parent) {
  setObjectName("Image1");
  setMouseTracking(true);
}

void PreviewImage::setPicture(QImage picture) {
  picture_ = std::move(picture);
  update();
}

void PreviewImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_.isNull()) {
    painter.fillRect(rect(), Qt::white);  // the blank placeholder until a map is loaded
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(rect(), picture_);
}

void PreviewImage::mouseMoveEvent(QMouseEvent*) { emit mouseMove(); }

}  // namespace velmaro::ui

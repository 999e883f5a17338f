#pragma once
// Image1: the preview of the whole map, stretched to its box (proportions not kept). Pointer movement
// over it is reported so the window can recompute the axis captions.

#include <QImage>
#include <QWidget>

namespace velmaro::ui {

class PreviewImage : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewImage(QWidget* parent = nullptr);
  void setPicture(QImage picture);
  const QImage& picture() const { return picture_; }

 signals:
  void mouseMove();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace velmaro::ui

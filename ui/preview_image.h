#pragma once
// Image1: the preview of the whole map, stretched to its box (proportions not kept). Pointer movement
// over it is reported so the window can recompute the axis captions. A preview still being made from
// a map's decoded rows shows its ready rows at their places and white below them.

#include <QImage>
#include <QWidget>

namespace velmaro::ui {

class PreviewImage : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewImage(QWidget* parent = nullptr);
  void setPicture(QImage picture);
  // A preview whose rows another thread is still writing: none is ready yet.
  void setLoadingPicture(QImage picture);
  void setReadyRows(int rows);
  const QImage& picture() const { return picture_; }

 signals:
  void mouseMove();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
  int readyRows_ = 0;
};

}  // namespace velmaro::ui

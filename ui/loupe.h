#pragma once
// The loupe: a small round magnifier that follows the pointer over the map. It shows the picture
// around a spot six times its 1:1 size, pixel-sharp, with a cross-hair on the spot and the spot's map
// coordinates below. It takes no presses: they fall through to the canvas under it. Nothing about it
// is saved; the window decides when it shows.

#include <QImage>
#include <QPointF>
#include <QString>
#include <QWidget>

namespace velmaro::ui {

inline constexpr int kLoupeMagnification = 6;

class Loupe : public QWidget {
  Q_OBJECT
 public:
  explicit Loupe(QWidget* parent);

  // Shows `picture` around `spot` (picture pixels, fractional) beside `pointer` (a position in the
  // parent), on whichever side keeps the loupe inside the parent. Only the picture's `ready` part is
  // read: below it a decoder may still be writing.
  void showAt(QPoint pointer, const QImage& picture, QRect ready, QPointF spot, const QString& coordinates);

  QPointF spot() const { return spot_; }
  QString coordinates() const { return coordinates_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void paintMagnified(QPainter& painter, const QRectF& lens);

  const QImage* picture_ = nullptr;
  QRect ready_;
  QPointF spot_;
  QString coordinates_;
};

}  // namespace velmaro::ui

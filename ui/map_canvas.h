#pragma once
// Picture1: the map canvas. It holds the map at full size (it sizes itself to its picture), shows it
// inside the viewport that clips it, and reports presses in twips from its own top-left corner. Circles
// are drawn into the picture itself (ui/disc_layer), so markers stay until a new picture replaces them; a
// canvas without a map draws them on its empty grey face, which it then holds as its picture. What a press
// means (a double-click is one press, a middle drag pans) is read by ui/press_reader. Only the exposed part
// is painted, so scrolling a 300-megapixel map stays cheap.
// Zoom: the canvas shows its picture at a factor (1 at every new picture) and takes the zoomed size on
// screen; positions it reports and takes stay in picture twips at 1:1 whatever the zoom. Views below 1/8
// come from the reduced copies (map_picture/reduced_copies). A frame never scales the whole picture.
// A picture still being decoded holds pixels only in its top rows. The canvas reads only its ready rows
// (decoded) and writes only its settled rows (decoded and read by no other thread any more); see
// map_picture/map_decode.h for who may touch which rows when.

#include <QColor>
#include <QImage>
#include <QWidget>

#include "map_picture/reduced_copies.h"
#include "ui/disc_layer.h"
#include "ui/press_reader.h"

namespace velmaro::ui {

class MapCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit MapCanvas(QWidget* parent = nullptr);

  // The canvas takes the picture's size (auto-size). The previous picture and its markers are gone.
  void setPicture(QImage picture);
  const QImage& picture() const { return picture_; }

  // A picture whose rows another thread is still decoding: none of them is ready yet.
  void setLoadingPicture(QImage picture);
  // The rows above `ready` are decoded and may be read; those above `settled` (never more than `ready`)
  // may also be written. The full height for both ends the loading.
  void setDecodedRows(int ready, int settled);
  bool loading() const { return readyRows_ < picture_.height(); }
  // The part of the picture that holds pixels (all of it once loaded).
  QRect readyRect() const { return QRect(0, 0, picture_.width(), readyRows_); }

  // Frees the picture's pixels (and its markers) but keeps the canvas's size; the canvas shows its
  // background until the next picture arrives.
  void dropPicture();

  // The picture's size at 1:1 (the space of presses, discs and the transform), and its size as shown.
  double widthTwips() const;
  double heightTwips() const;
  QSize unzoomedSize() const { return zoom_ == 1.0 ? size() : unzoomed_; }
  double shownWidthTwips() const;
  double shownHeightTwips() const;

  // The canvas takes the zoomed size; its position in the viewport is the caller's.
  void setZoom(double zoom);
  double zoom() const { return zoom_; }

  // The first reduced copy for zooming out, when the map's preview is that copy already; taken only once
  // the picture is whole.
  void offerReduced(QImage reduced, int divisor);

  // Drawing state, as a picture box keeps it between calls.
  void setFillColor(QColor colour) { fillColour_ = colour; }
  void setFillStyleSolid(bool solid) { fillSolid_ = solid; }
  QColor fillColor() const { return fillColour_; }
  bool fillStyleSolid() const { return fillSolid_; }

  // A circle centred at (x, y) twips with the given radius in twips, outlined in `outline` and filled
  // with the fill colour when the fill style is solid. Without a picture the canvas first takes its grey
  // background, at its present size, as the picture to draw on. Returns what takes the circle back.
  DiscUndo circle(double xTwips, double yTwips, double radiusTwips, QColor outline);
  // Takes a circle back; one drawn on another picture (or before the picture was dropped) is left alone.
  void takeBack(const DiscUndo& undo) { discs_.takeBack(picture_, undo); }

 signals:
  void mouseDown(int button, int shift, double xTwips, double yTwips);
  // The pointer moved over the canvas, at this canvas pixel.
  void mouseMove(QPoint canvasPixel);
  void pointerLeft();
  // A middle drag asks to move the map by whole screen pixels.
  void panRequested(QPoint delta);
  void wheelTurned(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPoint canvasPixel);
  // A new picture, or none: whatever showed the old one's pixels must let them go.
  void pictureReplaced();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void newPicture(QImage picture, int readyRows);
  void pictureChanged(const QRect& area);
  void emitMouseDown(const std::optional<PressReader::Down>& down);
  void paintScaled(QPainter& painter, const QRect& exposed, const QImage& source, double factor, const QRect& limit);
  QRect shownRect(const QRectF& pictureRect) const;

  QImage picture_;
  int readyRows_ = 0;
  int settledRows_ = 0;
  QColor fillColour_ = Qt::black;
  bool fillSolid_ = false;
  double zoom_ = 1.0;
  QSize unzoomed_;
  map_picture::ReducedCopies reduced_;
  DiscLayer discs_{[this](const QRect& area) { pictureChanged(area); }};
  PressReader presses_;
};

}  // namespace velmaro::ui

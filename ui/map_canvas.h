#pragma once
// Picture1: the map canvas. It holds the map at full size (it sizes itself to its picture), shows it
// inside the viewport that clips it, and reports presses and moves in twips from its own top-left
// corner. Circles are drawn into the picture itself, so markers stay until a new picture replaces them;
// a canvas without a map draws them on its empty grey face, which it then holds as its picture.
// The second press of a double-click is no press of its own: a double-click makes one mouse-down.
// Only the exposed part is painted, so scrolling a 300-megapixel map stays cheap.
// Zoom: the canvas shows its picture at a factor (1 at every new picture) and takes the zoomed size on
// screen; positions it reports and takes stay in picture twips at 1:1 whatever the zoom. Down to 1/8
// the picture itself is scaled smoothly; views below come from copies reduced by 8 and then by halves,
// made once (or offered: the preview of a large map is that copy already) and kept up to date by
// refreshReduced. A frame never scales the whole picture.
// The middle button captures like the left one, but a middle drag pans: the press is decided on release,
// a capture when the pointer moved less than the drag distance, a pan otherwise.
// A picture still being decoded holds pixels only in its top rows (readyRows). The canvas shows those and
// its background below, never reads or writes the rows below, and keeps a disc that reaches into them
// until the decode has passed it.

#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <map>
#include <optional>
#include <vector>

namespace velmaro::ui {

// Button codes of the press event: 1 left, 2 right, 4 middle (others 8, 16).
int ButtonCode(Qt::MouseButton button);
int ShiftCode(Qt::KeyboardModifiers modifiers);

class MapCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit MapCanvas(QWidget* parent = nullptr);

  // The canvas takes the picture's size (auto-size). The previous picture and its markers are gone.
  void setPicture(QImage picture);
  const QImage& picture() const { return picture_; }

  // A picture whose rows are still being decoded by another thread: none of them is ready yet.
  void setLoadingPicture(QImage picture);
  // The decode has written every row above `rows`; the full height ends the loading.
  void setReadyRows(int rows);
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

  // Brings the reduced copies up to date with the picture inside `area` (picture pixels), after
  // anything drew into the picture.
  void refreshReduced(const QRect& area);
  // A copy of the whole picture reduced by `divisor` (block means), taken as the first reduced copy
  // when it is the one the canvas would make and has none yet; the discs drawn since the picture came
  // are added to it.
  void offerReduced(QImage reduced, int divisor);

  // Drawing state, as a picture box keeps it between calls.
  void setFillColor(QColor colour) { fillColour_ = colour; }
  void setFillStyleSolid(bool solid) { fillSolid_ = solid; }
  QColor fillColor() const { return fillColour_; }
  bool fillStyleSolid() const { return fillSolid_; }

  // A circle centred at (x, y) twips with the given radius in twips, outlined in `outline` and filled
  // with the fill colour when the fill style is solid. Without a picture the canvas first takes its
  // grey background, at its present size, as the picture to draw on.
  void circle(double xTwips, double yTwips, double radiusTwips, QColor outline);

  // For taking a disc back: what lies under `rect` (picture pixels) before the next circle is drawn
  // there, and putting it back. A canvas without a picture gives its background. Under rows not decoded
  // yet the disc itself waits, and the canvas keeps the pixels it covers once it is drawn. Every new or
  // dropped picture starts a new generation, so a snapshot is never put onto a picture it did not come from.
  struct Snapshot {
    QPoint topLeft;
    QImage pixels;
    quint64 generation = 0;
    quint64 waitingDisc = 0;  // the disc that waited for its rows, when not 0
  };
  Snapshot snapshotBeforeCircle(const QRect& rect) const;
  void restore(const Snapshot& snapshot);
  quint64 pictureGeneration() const { return generation_; }

 signals:
  void mouseDown(int button, int shift, double xTwips, double yTwips);
  void mouseMove(int button, int shift, double xTwips, double yTwips);
  // Pointer at a canvas pixel, for the loupe.
  void pointerAt(QPoint canvasPixel);
  void pointerLeft();
  // A middle drag asks to move the map by whole screen pixels.
  void panRequested(QPoint delta);
  void wheelTurned(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPoint canvasPixel);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // Qt reports a second quick press of the same button as a double-click. Within the double-click
  // distance and interval of the canvas's last press it is the second half of one double-click and no
  // mouse-down; farther away (or later) it is a press of its own.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  struct Press {
    Qt::MouseButton button;
    Qt::KeyboardModifiers modifiers;
    QPointF place;   // on the canvas
    QPointF global;  // on the screen
    quint64 time;
  };
  void emitMouseDown(const QMouseEvent& event);
  void emitMouseDown(const Press& press);
  void pressOrHoldMiddle(const QMouseEvent& event);
  struct WaitingDisc {
    quint64 serial;
    QPointF centre;
    double radius;  // pixels
    QColor outline, fill;
    bool solid;
    QRect touched;
  };
  void newPicture(QImage picture, int readyRows);
  void drawDisc(const WaitingDisc& disc);
  void drawDiscsNowReady();
  void restorePixels(const QPoint& topLeft, const QImage& pixels);
  void paintScaled(QPainter& painter, const QRect& exposed, const QImage& source, double factor, const QRect& limit);
  const QImage& reducedFor(double zoom, double& scale);
  QRect shownRect(const QRectF& pictureRect) const;

  QImage picture_;
  QPointF lastPressPlace_;  // screen position
  quint64 lastPressTime_ = 0;
  QColor fillColour_ = Qt::black;
  bool fillSolid_ = false;
  double zoom_ = 1.0;
  QSize unzoomed_;
  std::vector<QImage> reduced_;  // [k] is the picture at 1 / 2^(k+3)
  std::vector<QRect> drawnBeforeReduced_;
  std::optional<Press> heldMiddle_;
  QPointF dragLast_;  // screen position
  bool panning_ = false;
  quint64 generation_ = 0;
  int readyRows_ = 0;
  quint64 discSerial_ = 0;
  std::vector<WaitingDisc> waiting_;
  std::map<quint64, Snapshot> underWaitedDiscs_;
};

}  // namespace velmaro::ui

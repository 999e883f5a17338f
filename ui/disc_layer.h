#pragma once
// The discs drawn into the map picture (red for a capture, green for a removal), and taking them back.
// Drawing a disc returns what takes it back, so the square of pixels a disc may change is worked out in
// one place. A picture still being decoded may be written only in its settled rows (decoded, and read by
// no other thread any more): a disc whose square reaches below them waits, and is drawn as soon as the
// rows settle; taking it back before then simply forgets it.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <functional>
#include <map>
#include <vector>

namespace velmaro::ui {

// Centre and radius in picture pixels; outlined, and filled when `solid`, as a picture box draws a circle.
struct Disc {
  QPointF centre;
  double radius = 0;
  QColor outline;
  QColor fill;
  bool solid = false;

  // The pixels the disc may change, with one pixel more on every side: what is kept for taking it back,
  // and the rows it waits for.
  QRect square() const;
};

// What takes a disc back: the pixels under its square before it was drawn, or, for a disc that had to wait
// for its rows, the disc's serial. It belongs to the picture of one generation only.
struct DiscUndo {
  QPoint topLeft;
  QImage pixels;
  quint64 generation = 0;
  quint64 waitingDisc = 0;
};

class DiscLayer {
 public:
  // Told of every area of the picture that a disc or its taking back has changed.
  explicit DiscLayer(std::function<void(const QRect&)> changed) : changed_(std::move(changed)) {}

  // A new or dropped picture: waiting discs are forgotten, and no earlier DiscUndo applies any more.
  void newPicture();
  quint64 generation() const { return generation_; }

  // Draws `disc` into `picture` when its square lies above `settledRows`, else keeps it waiting.
  DiscUndo draw(QImage& picture, int settledRows, const Disc& disc);
  // Draws the waiting discs whose rows are settled now.
  void drawSettled(QImage& picture, int settledRows);
  // Puts back what the disc covered, or forgets it while it still waits. An undo of another picture is
  // ignored, so the pixels of one map are never painted onto the next.
  void takeBack(QImage& picture, const DiscUndo& undo);

 private:
  struct Waiting {
    quint64 serial;
    Disc disc;
  };
  void paint(QImage& picture, const Disc& disc);
  void putBack(QImage& picture, const QPoint& topLeft, const QImage& pixels);

  std::function<void(const QRect&)> changed_;
  quint64 generation_ = 0;
  quint64 serial_ = 0;
  std::vector<Waiting> waiting_;
  std::map<quint64, DiscUndo> underSettledDiscs_;  // by serial: what a disc that waited covered
};

}  // namespace velmaro::ui

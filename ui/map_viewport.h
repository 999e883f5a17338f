#pragma once
// The map's viewport on the Map tab: where the canvas stands inside Picture2, at which zoom, and the loupe.
// The scroll bars place the canvas on their 0..100 grid; zoom, wheel and middle-drag pans move it by whole
// screen pixels and set the bars to their nearest value without letting the bars move the canvas back.
// Anchors are viewport pixels; a zoom keeps the picture spot under its anchor in place. Every map opens at
// 1:1, where all of this leaves presses, discs and the bars exactly as the bars alone would.

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>

class QScrollBar;
class QWidget;

namespace velmaro::ui {

class Loupe;
class MapCanvas;

class MapViewport : public QObject {
  Q_OBJECT
 public:
  // What the loupe shows under its cross: the read-out of a spot given in picture twips.
  using SpotReadout = std::function<QString(double xTwips, double yTwips)>;

  MapViewport(MapCanvas& canvas, QWidget& viewport, QScrollBar& horizontal, QScrollBar& vertical, SpotReadout readout,
              QObject* parent);

  // Zoom (Ctrl++, Ctrl+- and Ctrl+0 about the middle) and the loupe (L), active only while `mapPage` shows.
  void installShortcuts(QWidget& mapPage);

  // The canvas where a bar's value puts it (a bar's change or drag).
  void applyHorizontalScroll();
  void applyVerticalScroll();
  // Canvas offset inside the viewport, twips, as last positioned.
  double canvasLeft() const { return canvasLeft_; }
  double canvasTop() const { return canvasTop_; }

  void zoomBy(int steps, QPoint anchor);
  void zoomToOneToOne(QPoint anchor);
  QPoint centre() const;
  void panBy(QPoint delta);
  // A wheel turn over the canvas (or the viewport around it): Ctrl zooms about the pointer, Shift pans
  // sideways, otherwise up and down.
  void wheel(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPoint canvasPixel);

  void toggleLoupe();
  bool loupeOn() const { return loupeOn_; }
  Loupe* loupe() const { return loupe_; }
  // The pointer is over this canvas pixel: the loupe, when on, shows the map there.
  void pointerAt(QPoint canvasPixel);

 private:
  void zoomTo(double zoom, QPoint anchor);

  MapCanvas& canvas_;
  QWidget& viewport_;
  QScrollBar& horizontal_;
  QScrollBar& vertical_;
  SpotReadout readout_;
  Loupe* loupe_;
  bool loupeOn_ = false;
  double canvasLeft_ = 0;
  double canvasTop_ = 0;
};

}  // namespace velmaro::ui

#include "ui/map_viewport.h"

#include <QCursor>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <cmath>

#include "core/scroll.h"
#include "core/zoom.h"
#include "ui/loupe.h"
#include "ui/map_canvas.h"
#include "ui/twips.h"

namespace velmaro::ui {

namespace {
constexpr int kWheelNotch = 120;      // angle delta of one wheel notch
constexpr int kPixelsPerNotch = 48;  // three lines of 16 pixels

// The grey of the viewport around a map smaller than the view takes the wheel like the map itself.
class ViewportWheel : public QObject {
 public:
  ViewportWheel(MapViewport& viewport, const MapCanvas& canvas) : QObject(&viewport), viewport_(viewport), canvas_(canvas) {}
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() != QEvent::Wheel) return false;
    const auto* wheel = static_cast<QWheelEvent*>(event);
    viewport_.wheel(wheel->angleDelta(), wheel->modifiers(), wheel->position().toPoint() - canvas_.pos());
    return true;
  }

 private:
  MapViewport& viewport_;
  const MapCanvas& canvas_;
};
}  // namespace

MapViewport::MapViewport(MapCanvas& canvas, QWidget& viewport, QScrollBar& horizontal, QScrollBar& vertical,
                         SpotReadout readout, QObject* parent)
    : QObject(parent),
      canvas_(canvas),
      viewport_(viewport),
      horizontal_(horizontal),
      vertical_(vertical),
      readout_(std::move(readout)),
      loupe_(new Loupe(&viewport)) {
  connect(&canvas_, &MapCanvas::wheelTurned, this, &MapViewport::wheel);
  viewport_.installEventFilter(new ViewportWheel(*this, canvas_));
  connect(&canvas_, &MapCanvas::panRequested, this, &MapViewport::panBy);
  connect(&canvas_, &MapCanvas::pointerLeft, loupe_, &QWidget::hide);
  // The loupe shows the picture's own pixels: a new picture must not be read through the old one's view.
  connect(&canvas_, &MapCanvas::pictureReplaced, loupe_, &QWidget::hide);
}

void MapViewport::installShortcuts(QWidget& mapPage) {
  // A window shortcut on a page is live only while the page shows, that is while the Map tab is current.
  const auto key = [&](const QKeySequence& keys, auto action) {
    connect(new QShortcut(keys, &mapPage), &QShortcut::activated, this, action);
  };
  key(QKeySequence::ZoomIn, [this] { zoomBy(1, centre()); });
  key(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { zoomBy(1, centre()); });
  key(QKeySequence::ZoomOut, [this] { zoomBy(-1, centre()); });
  key(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { zoomToOneToOne(centre()); });
  key(QKeySequence(Qt::Key_L), [this] { toggleLoupe(); });
}

void MapViewport::applyHorizontalScroll() {
  const double tpp = TwipsPerPixel(&canvas_);
  canvasLeft_ = ScrollOffset(horizontal_.value(), canvas_.shownWidthTwips(), ToTwips(viewport_.width(), tpp));
  canvas_.move(ToPixels(canvasLeft_, tpp), canvas_.y());
}

void MapViewport::applyVerticalScroll() {
  const double tpp = TwipsPerPixel(&canvas_);
  canvasTop_ = ScrollOffset(vertical_.value(), canvas_.shownHeightTwips(), ToTwips(viewport_.height(), tpp));
  canvas_.move(canvas_.x(), ToPixels(canvasTop_, tpp));
}

QPoint MapViewport::centre() const { return QPoint(viewport_.width() / 2, viewport_.height() / 2); }

void MapViewport::zoomBy(int steps, QPoint anchor) {
  const QSize picture = canvas_.unzoomedSize();
  const double fit = FitZoom(picture.width(), picture.height(), viewport_.width(), viewport_.height());
  zoomTo(StepZoom(canvas_.zoom(), steps, fit), anchor);
}

void MapViewport::zoomToOneToOne(QPoint anchor) { zoomTo(1.0, anchor); }

void MapViewport::zoomTo(double zoom, QPoint anchor) {
  const double before = canvas_.zoom();
  if (zoom == before) return;
  const QPoint offset = canvas_.pos();
  canvas_.setZoom(zoom);
  canvas_.move(ZoomedOffset(offset.x(), anchor.x(), before, zoom, canvas_.width(), viewport_.width()),
               ZoomedOffset(offset.y(), anchor.y(), before, zoom, canvas_.height(), viewport_.height()));
  panBy(QPoint(0, 0));
}

void MapViewport::panBy(QPoint delta) {
  const QPoint moved(ClampOffset(canvas_.x() + delta.x(), canvas_.width(), viewport_.width()),
                     ClampOffset(canvas_.y() + delta.y(), canvas_.height(), viewport_.height()));
  canvas_.move(moved);
  const double tpp = TwipsPerPixel(&canvas_);
  canvasLeft_ = ToTwips(moved.x(), tpp);
  canvasTop_ = ToTwips(moved.y(), tpp);
  // The bars only show where the map stands; their change events would put it back on their coarse grid.
  const QSignalBlocker holdHorizontal(&horizontal_);
  const QSignalBlocker holdVertical(&vertical_);
  horizontal_.setValue(ScrollValueForOffset(moved.x(), canvas_.width(), viewport_.width()));
  vertical_.setValue(ScrollValueForOffset(moved.y(), canvas_.height(), viewport_.height()));
  horizontal_.update();
  vertical_.update();
}

void MapViewport::wheel(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPoint canvasPixel) {
  const int turn = angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
  if (turn == 0) return;
  if (modifiers.testFlag(Qt::ControlModifier)) {
    zoomBy(turn > 0 ? 1 : -1, canvasPixel + canvas_.pos());
    return;
  }
  const int pixels = static_cast<int>(std::lround(static_cast<double>(turn) / kWheelNotch * kPixelsPerNotch));
  panBy(modifiers.testFlag(Qt::ShiftModifier) ? QPoint(pixels, 0) : QPoint(0, pixels));
}

void MapViewport::toggleLoupe() {
  loupeOn_ = !loupeOn_;
  if (!loupeOn_) {
    loupe_->hide();
    return;
  }
  const QPoint pointer = canvas_.mapFromGlobal(QCursor::pos());
  if (canvas_.rect().contains(pointer)) pointerAt(pointer);
}

void MapViewport::pointerAt(QPoint canvasPixel) {
  if (!loupeOn_) return;
  const double tpp = TwipsPerPixel(&canvas_);
  const double zoom = canvas_.zoom();
  const QPointF spot(canvasPixel.x() / zoom, canvasPixel.y() / zoom);
  const QString coordinates = readout_(PixelToPicture(canvasPixel.x(), zoom, tpp), PixelToPicture(canvasPixel.y(), zoom, tpp));
  loupe_->showAt(canvasPixel + canvas_.pos(), canvas_.picture(), canvas_.readyRect(), spot, coordinates);
}

}  // namespace velmaro::ui

// Form1 on the Map tab beyond the scroll bars: zoom, panning by wheel and middle drag, and the loupe.
// Every map opens at 1:1, where all of this leaves presses, discs and the bars exactly as without it.

#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <cmath>

#include "core/capture.h"
#include "core/map_frame.h"
#include "core/zoom.h"
#include "ui/form1.h"
#include "ui/loupe.h"
#include "ui/map_canvas.h"
#include "ui/tab_control.h"
#include "ui/twips.h"
#include "ui/utf8_text.h"

namespace velmaro::ui {

namespace {
constexpr int kMapTab = 0;
constexpr int kWheelNotch = 120;       // angle delta of one wheel notch
constexpr int kPixelsPerNotch = 48;   // three lines of 16 pixels

// The grey of the viewport around a map smaller than the view takes the wheel like the map itself.
class ViewportWheel : public QObject {
 public:
  explicit ViewportWheel(Form1* form) : QObject(form), form_(form) {}
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() != QEvent::Wheel) return false;
    const auto* wheel = static_cast<QWheelEvent*>(event);
    form_->Picture1_Wheel(wheel->angleDelta(), wheel->modifiers(), wheel->position().toPoint() - form_->Picture1->pos());
    return true;
  }

 private:
  Form1* form_;
};
}  // namespace

void Form1::setUpZoomAndLoupe() {
  loupe_ = new Loupe(Picture2);
  const auto onMapTab = [this](const QKeySequence& keys, auto action) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setEnabled(false);
    connect(shortcut, &QShortcut::activated, this, action);
    connect(SSTab1, &TabControl::tabSelected, shortcut,
            [this, shortcut] { shortcut->setEnabled(SSTab1->currentIndex() == kMapTab); });
  };
  onMapTab(QKeySequence::ZoomIn, [this] { zoomBy(1, viewportCentre()); });
  onMapTab(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { zoomBy(1, viewportCentre()); });
  onMapTab(QKeySequence::ZoomOut, [this] { zoomBy(-1, viewportCentre()); });
  onMapTab(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { zoomToOneToOne(viewportCentre()); });
  onMapTab(QKeySequence(Qt::Key_L), [this] { toggleLoupe(); });
  connect(Picture1, &MapCanvas::wheelTurned, this, &Form1::Picture1_Wheel);
  Picture2->installEventFilter(new ViewportWheel(this));
  connect(Picture1, &MapCanvas::panRequested, this, &Form1::panBy);
  connect(Picture1, &MapCanvas::pointerAt, this, &Form1::showLoupe);
  connect(Picture1, &MapCanvas::pointerLeft, loupe_, &QWidget::hide);
}

QPoint Form1::viewportCentre() const { return QPoint(Picture2->width() / 2, Picture2->height() / 2); }

void Form1::zoomBy(int steps, QPoint anchor) {
  const QSize picture = Picture1->unzoomedSize();
  const double fit = FitZoom(picture.width(), picture.height(), Picture2->width(), Picture2->height());
  zoomTo(StepZoom(Picture1->zoom(), steps, fit), anchor);
}

void Form1::zoomToOneToOne(QPoint anchor) { zoomTo(1.0, anchor); }

void Form1::zoomTo(double zoom, QPoint anchor) {
  const double before = Picture1->zoom();
  if (zoom == before) return;
  const QPoint offset = Picture1->pos();
  Picture1->setZoom(zoom);
  Picture1->move(ZoomedOffset(offset.x(), anchor.x(), before, zoom, Picture1->width(), Picture2->width()),
                 ZoomedOffset(offset.y(), anchor.y(), before, zoom, Picture1->height(), Picture2->height()));
  panBy(QPoint(0, 0));
}

void Form1::panBy(QPoint delta) {
  const QPoint moved(ClampOffset(Picture1->x() + delta.x(), Picture1->width(), Picture2->width()),
                     ClampOffset(Picture1->y() + delta.y(), Picture1->height(), Picture2->height()));
  Picture1->move(moved);
  const double tpp = twipsPerPixel();
  canvasLeft_ = ToTwips(moved.x(), tpp);
  canvasTop_ = ToTwips(moved.y(), tpp);
  // The bars only show where the map stands; their change events would put it back on their coarse grid.
  const QSignalBlocker holdHorizontal(HScroll1);
  const QSignalBlocker holdVertical(VScroll1);
  HScroll1->setValue(ScrollValueForOffset(moved.x(), Picture1->width(), Picture2->width()));
  VScroll1->setValue(ScrollValueForOffset(moved.y(), Picture1->height(), Picture2->height()));
  HScroll1->update();
  VScroll1->update();
}

void Form1::Picture1_Wheel(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPoint canvasPixel) {
  const int turn = angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
  if (turn == 0) return;
  if (modifiers.testFlag(Qt::ControlModifier)) {
    zoomBy(turn > 0 ? 1 : -1, canvasPixel + Picture1->pos());
    return;
  }
  const int pixels = static_cast<int>(std::lround(static_cast<double>(turn) / kWheelNotch * kPixelsPerNotch));
  panBy(modifiers.testFlag(Qt::ShiftModifier) ? QPoint(pixels, 0) : QPoint(0, pixels));
}

void Form1::toggleLoupe() {
  loupeOn_ = !loupeOn_;
  if (!loupeOn_) {
    loupe_->hide();
    return;
  }
  const QPoint pointer = Picture1->mapFromGlobal(QCursor::pos());
  if (Picture1->rect().contains(pointer)) showLoupe(pointer);
}

void Form1::showLoupe(QPoint canvasPixel) {
  if (!loupeOn_) return;
  const double tpp = twipsPerPixel();
  const double zoom = Picture1->zoom();
  const QPointF spot(canvasPixel.x() / zoom, canvasPixel.y() / zoom);
  // The coordinates a press here would record, without touching the cursor of the last capture.
  Cursor probe;
  Pixel2Map(PixelToPicture(canvasPixel.x(), zoom, tpp), PixelToPicture(canvasPixel.y(), zoom, tpp), canvasSize(),
            mapFrame(), notation(), probe);
  RoundForCapture(probe, notation());
  loupe_->showAt(canvasPixel + Picture1->pos(), Picture1->picture(), Picture1->readyRect(), spot, Utf8(ReadoutText(probe, notation())));
}

}  // namespace velmaro::ui

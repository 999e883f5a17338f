// Form1 on the map: captures, removals, the read-out, the axis captions, scrolling and the key filter
// of the frame fields.

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include "core/capture.h"
#include "core/key_filter.h"
#include "core/removal.h"
#include "core/scroll.h"
#include "platform/platform.h"
#include "ui/arrow_picture.h"
#include "ui/edge_field.h"
#include "ui/form1.h"
#include "ui/utf8_text.h"
#include "ui/map_canvas.h"
#include "ui/point_grid.h"
#include "ui/preview_image.h"
#include "ui/twips.h"

namespace velmaro::ui {

namespace {
const QColor kMarkerRed(255, 0, 0);
const QColor kRemovalGreen(0, 255, 0);
constexpr double kMarkerRadius = 30;
constexpr double kRemovalMarkRadius = 40;
constexpr double kColumnWidths[] = {0, 500, 1200, 500, 1200};

}  // namespace

void Form1::Picture1_MouseDown(int button, int /*shift*/, double x, double y) {
  if (takesReferencePoint(button, x, y)) return;
  if (button == 2) {
    Remove_Point(x, y);
    return;
  }
  const PointState before = pointState();
  CanvasPatch patch = takePatch(x, y, kMarkerRadius, kMarkerRed);
  // The marker comes first, so a press on a full table still leaves its disc.
  paintDisc(x, y, kMarkerRadius, kMarkerRed);

  const CaptureResult result = CapturePoint(table_, cursor_, mapFrame(), notation(), x, y, canvasSize());
  if (result.outcome == CaptureOutcome::TableFull) {
    platform_.showMessage({"Maximum 250 points", platform::Buttons::Ok, platform::Icon::Stop, kMessageTitle});
    return;
  }
  XY_Grid->showRows(result.row, result.row);
  showCapturedRow(result.row);
  Command3->setEnabled(true);
  recordPointChange(PointChange::Kind::Added, result.row, table_.row(result.row), before, std::move(patch));
}

void Form1::Remove_Point(double X, double Y) {
  const PointState before = pointState();
  const PointTable tableBefore = table_;
  CanvasPatch patch = takePatch(X, Y, kRemovalMarkRadius, kRemovalGreen);
  // The green mark goes down even when no point is chosen: it shows where the press landed.
  paintDisc(X, Y, kRemovalMarkRadius, kRemovalGreen);

  const std::optional<int> removed = velmaro::Remove_Point(table_, cursor_, mapFrame(), notation(), X, Y, canvasSize());
  if (!removed) return;
  XY_Grid->showRows(*removed, table_.size() + 1);
  if (!table_.empty()) XY_Grid->makeCurrent(table_.size(), 0);
  recordPointChange(PointChange::Kind::Removed, *removed, tableBefore.row(*removed), before, std::move(patch));
}

void Form1::XY_Grid_MouseDown(int button, int /*shift*/, double /*x*/, double /*y*/) {
  if (button != 2) return;
  // Unlike a bare row deletion, this keeps the table whole: the count drops and the names close up.
  const int row = XY_Grid->currentRow();
  const PointState before = pointState();
  const PointTable tableBefore = table_;
  CanvasPatch patch = takePatch(0, 0, 0, QColor());
  if (!table_.removeRow(row)) return;
  XY_Grid->showRows(row, table_.size() + 1);
  recordPointChange(PointChange::Kind::Removed, row, tableBefore.row(row), before, std::move(patch));
}

void Form1::paintDisc(double x, double y, double radius, QColor colour) {
  // The fill state stays set afterwards, as a picture box keeps it.
  Picture1->setFillColor(colour);
  Picture1->setFillStyleSolid(true);
  Picture1->circle(x, y, radius, colour);
}

void Form1::showCapturedRow(int row) {
  // Every capture sets the widths, also when they are already so, and leaves the new row current and in view.
  for (int column = 1; column <= 4; ++column) XY_Grid->setColumnWidthTwips(column, kColumnWidths[column]);
  XY_Grid->makeCurrent(row, 0);
  XY_Grid->scrollToRow(row);
}

void Form1::Picture1_MouseMove() { Picture1->setToolTip(Utf8(ReadoutText(cursor_, notation()))); }

void Form1::Image1_MouseMove() {
  MapFrame frame = mapFrame();
  RecomputeAxisCaptions(frame, notation());
  Label2->setText(Utf8(frame.yCaption));
  Label1->setText(Utf8(frame.xCaption));
}

void Form1::ApplyHorizontalScroll() {
  const double tpp = twipsPerPixel();
  canvasLeft_ = ScrollOffset(HScroll1->value(), Picture1->shownWidthTwips(), ToTwips(Picture2->width(), tpp));
  Picture1->move(ToPixels(canvasLeft_, tpp), Picture1->y());
}

void Form1::ApplyVerticalScroll() {
  const double tpp = twipsPerPixel();
  canvasTop_ = ScrollOffset(VScroll1->value(), Picture1->shownHeightTwips(), ToTwips(Picture2->height(), tpp));
  Picture1->move(Picture1->x(), ToPixels(canvasTop_, tpp));
}

void Form1::stepScrollBar(QScrollBar* bar, int delta) {
  // Outside 0..100 the bar refuses the value and nothing moves.
  if (const std::optional<int> target = ArrowTarget(bar->value(), delta)) bar->setValue(*target);
}

void Form1::Picture3_Click() { stepScrollBar(VScroll1, -kArrowStep); }
void Form1::Picture4_Click() { stepScrollBar(VScroll1, kArrowStep); }
void Form1::Picture5_Click() { stepScrollBar(HScroll1, -kArrowStep); }
void Form1::Picture6_Click() { stepScrollBar(HScroll1, kArrowStep); }

void Form1::filterFrameKey(std::int16_t& KeyAscii) {
  const std::int16_t typed = KeyAscii;
  KeyAscii = FilterKey(typed, notation());
  if (typed != 0 && KeyAscii == 0) platform_.beep();
}

void Form1::Text2_KeyPress(std::int16_t& KeyAscii) { filterFrameKey(KeyAscii); }
void Form1::Text3_KeyPress(std::int16_t& KeyAscii) { filterFrameKey(KeyAscii); }
void Form1::Text4_KeyPress(std::int16_t& KeyAscii) { filterFrameKey(KeyAscii); }
void Form1::Text5_KeyPress(std::int16_t& KeyAscii) { filterFrameKey(KeyAscii); }

}  // namespace velmaro::ui

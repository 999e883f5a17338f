// Form1 on the map: captures, removals, the read-out, the axis captions, scrolling and the key filter
// of the frame fields.

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include "core/capture.h"
#include "core/map_calibration.h"
#include "core/key_filter.h"
#include "core/scroll.h"
#include "platform/platform.h"
#include "ui/form1.h"
#include "ui/map_canvas.h"
#include "ui/map_viewport.h"
#include "ui/point_editor.h"
#include "ui/point_grid.h"
#include "ui/utf8_text.h"

namespace velmaro::ui {

void Form1::Picture1_MouseDown(int button, int /*shift*/, double x, double y) {
  if (takesReferencePoint(button, x, y)) return;
  if (button == 2) {
    Remove_Point(x, y);
    return;
  }
  if (captureAt(x, y) == CaptureOutcome::TableFull)
    platform_.showMessage({"Maximum 250 points", platform::Buttons::Ok, platform::Icon::Stop, kMessageTitle});
}

void Form1::Remove_Point(double X, double Y) { removeNearest(X, Y); }

void Form1::XY_Grid_MouseDown(int button, int /*shift*/, double /*x*/, double /*y*/) {
  // Unlike a bare row deletion, this keeps the table whole: the count drops and the names close up.
  if (button == 2) removeGridRow(XY_Grid->currentRow());
}

CaptureOutcome Form1::captureAt(double x, double y) {
  const CaptureOutcome outcome = editor_->capture(x, y, calibration());
  journalChange({RecordKind::Capture, {std::int64_t{1}, x, y}});
  return outcome;
}

void Form1::removeNearest(double x, double y) {
  editor_->removeNearest(x, y, calibration());
  journalChange({RecordKind::RemovalOnMap, {x, y}});
}

void Form1::removeGridRow(int row) {
  editor_->removeRow(row);
  journalChange({RecordKind::RemovalFromGrid, {std::int64_t{row}, std::int64_t{XY_Grid->currentColumn()}}});
}

void Form1::Picture1_MouseMove(QPoint canvasPixel) {
  showReadout();
  viewport_->pointerAt(canvasPixel);
}

void Form1::showReadout() { Picture1->setToolTip(readoutOf(cursor_)); }

QString Form1::readoutAt(double xTwips, double yTwips) const {
  // The coordinates a press there would record, without touching the cursor of the last capture.
  return readoutOf(ProbeCursor(calibration(), xTwips, yTwips));
}

MapCalibration Form1::calibration() const { return MapCalibration{mapFrame(), notation(), canvasSize(), model_}; }

QString Form1::readoutOf(const Cursor& cursor) const {
  // With the map's coordinate system known, WGS 84 latitude and longitude come on a line of their own.
  const std::string degrees = latitudeLongitude(cursor);
  return Utf8(ReadoutText(cursor, notation()) + (degrees.empty() ? "" : "\n" + degrees));
}

void Form1::Image1_MouseMove() {
  MapFrame frame = mapFrame();
  RecomputeAxisCaptions(frame, notation());
  setCaptions(frame.xCaption, frame.yCaption);
}

void Form1::ApplyHorizontalScroll() { viewport_->applyHorizontalScroll(); }
void Form1::ApplyVerticalScroll() { viewport_->applyVerticalScroll(); }

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

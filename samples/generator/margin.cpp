#include "margin.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <cmath>

#include "ink.h"
#include "legend.h"
#include "sheet.h"

namespace sample_sheet {
namespace {

constexpr int kTick = 12;  // grid ticks into the label band, pixels

void GridColumn(QImage& image, int column, int top, int bottom, double core, double side) {
  for (int y = top; y <= bottom; ++y) {
    Blend(image, column, y, ink::kBlack, core);
    Blend(image, column - 1, y, ink::kBlack, side);
    Blend(image, column + 1, y, ink::kBlack, side);
  }
}

void GridRow(QImage& image, int row, int left, int right, double core, double side) {
  for (int x = left; x <= right; ++x) {
    Blend(image, x, row, ink::kBlack, core);
    Blend(image, x, row - 1, ink::kBlack, side);
    Blend(image, x, row + 1, ink::kBlack, side);
  }
}

// A grid value as printed in the band: the kilometre digits large, the digits before them and the
// "000" after them small and raised, e.g. 4 37 000 for 437 000 m.
struct GridLabel {
  QPainterPath path;
  double width = 0;
  double principalMiddle = 0;  // x of the middle of the large digits
};

GridLabel MakeGridLabel(int metres, const QString& unit) {
  const QFont big = SheetFont("Liberation Sans", 31, true);
  const QFont small = SheetFont("Liberation Sans", 18, true);
  GridLabel label;
  double x = 0;
  auto add = [&](const QString& text, const QFont& font, double raise) {
    label.path.addText(x, -raise, font, text);
    const double advance = QFontMetricsF(font).horizontalAdvance(text);
    x += advance + 1;
    return advance;
  };
  add(QString::number(metres / 100000), small, 11);
  const double start = x;
  const double advance = add(QString::number(metres / 1000 % 100).rightJustified(2, '0'), big, 0);
  label.principalMiddle = start + advance / 2;
  add("000", small, 11);
  if (!unit.isEmpty()) add(unit, small, 11);
  label.width = x - 1;
  return label;
}

// Draws the label with its baseline starting at `origin`.
void DrawGridLabel(QPainter& painter, const GridLabel& label, QPointF origin) {
  painter.save();
  painter.translate(origin);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink::kBlack);
  painter.drawPath(label.path);
  painter.restore();
}

void PaintGridLabels(QPainter& painter) {
  const double top = kBody.top(), bottom = kBody.bottom(), left = kBody.left(), right = kBody.right();
  // Eastings above and below the body, the large digits centred on their line.
  for (int e = kFirstEasting; e <= kLastEasting; e += kGridMetres) {
    const GridLabel label = MakeGridLabel(e, e == kFirstEasting ? "mE" : "");
    DrawGridLabel(painter, label, QPointF(ColumnOf(e) - label.principalMiddle, top - kTick - 12));
    const GridLabel plain = MakeGridLabel(e, "");
    DrawGridLabel(painter, plain, QPointF(ColumnOf(e) - plain.principalMiddle, bottom + kTick + 34));
  }
  // Northings left and right of the body, on their line.
  for (int n = kFirstNorthing; n <= kLastNorthing; n += kGridMetres) {
    const GridLabel label = MakeGridLabel(n, "");
    DrawGridLabel(painter, label, QPointF(left - kTick - 2 - label.width, RowOf(n) + 11));
    DrawGridLabel(painter, label, QPointF(right + kTick + 2, RowOf(n) + 11));
  }
  DrawLabel(painter, "mN", SheetFont("Liberation Sans", 18, true), ink::kBlack,
            QPointF(left - 40, RowOf(kLastNorthing) + 34), 0, ink::kPaper, 0);
}

void PaintTitle(QPainter& painter) {
  QFont title = SheetFont("Liberation Sans", 74, true);
  title.setLetterSpacing(QFont::AbsoluteSpacing, 14);
  DrawLabel(painter, "BRENNWALD", title, ink::kBlack, QPointF(kWidth / 2.0, 78), 0, ink::kPaper, 0);
  DrawLabel(painter, "UTM zone 32 N  \u00b7  WGS 84  \u00b7  grid lines every 1000 m", SheetFont("Liberation Sans", 24),
            ink::kBlack, QPointF(kWidth / 2.0, 140), 0, ink::kPaper, 0);
  const QFont side = SheetFont("Liberation Sans", 28, true);
  painter.setPen(ink::kBlack);
  painter.setFont(side);
  painter.drawText(QRectF(kBorder.left(), 90, 1000, 40), Qt::AlignLeft | Qt::AlignVCenter, "TOPOGRAPHIC MAP 1:25 000");
  painter.drawText(QRectF(kBorder.right() - 1000, 90, 1000, 40), Qt::AlignRight | Qt::AlignVCenter, "SHEET 8317 NE");
}

}  // namespace

void PaintGrid(QImage& image) {
  const int top = static_cast<int>(kBody.top()), bottom = static_cast<int>(kBody.bottom());
  const int left = static_cast<int>(kBody.left()), right = static_cast<int>(kBody.right());
  for (int e = kFirstEasting + kGridMetres; e < kLastEasting; e += kGridMetres) {
    GridColumn(image, ColumnOf(e), top, bottom, 0.86, 0.2);
    GridColumn(image, ColumnOf(e), top - kTick, top - 2, 0.9, 0.3);
    GridColumn(image, ColumnOf(e), bottom + 2, bottom + kTick, 0.9, 0.3);
  }
  for (int n = kFirstNorthing + kGridMetres; n < kLastNorthing; n += kGridMetres) {
    GridRow(image, RowOf(n), left, right, 0.86, 0.2);
    GridRow(image, RowOf(n), left - kTick, left - 2, 0.9, 0.3);
    GridRow(image, RowOf(n), right + 2, right + kTick, 0.9, 0.3);
  }
  // The neatline: three pixels centred on the outermost grid lines.
  GridColumn(image, left, top - 1, bottom + 1, 0.95, 0.9);
  GridColumn(image, right, top - 1, bottom + 1, 0.95, 0.9);
  GridRow(image, top, left - 1, right + 1, 0.95, 0.9);
  GridRow(image, bottom, left - 1, right + 1, 0.95, 0.9);

  QPainter painter(&image);
  const QRect border = kBorder.toRect();
  constexpr int kBorderWidth = 6;
  painter.fillRect(QRect(border.left() - 3, border.top() - 3, border.width() + 6, kBorderWidth), ink::kBlack);
  painter.fillRect(QRect(border.left() - 3, border.bottom() - 2, border.width() + 6, kBorderWidth), ink::kBlack);
  painter.fillRect(QRect(border.left() - 3, border.top() - 3, kBorderWidth, border.height() + 6), ink::kBlack);
  painter.fillRect(QRect(border.right() - 2, border.top() - 3, kBorderWidth, border.height() + 6), ink::kBlack);
}

void PaintMargin(QImage& image) {
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  PaintGridLabels(painter);
  PaintTitle(painter);
  PaintLegend(painter);
}

}  // namespace sample_sheet

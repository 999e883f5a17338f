#include "legend.h"

#include <QPainterPath>
#include <functional>

#include "ink.h"
#include "linework.h"
#include "sheet.h"

namespace sample_sheet {
namespace {

constexpr double kRowHeight = 58;
constexpr double kSymbolWidth = 100;

using Symbol = std::function<void(QPainter&, QRectF)>;

void Line(QPainter& painter, QRectF box, const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine,
          QList<qreal> dashes = {}) {
  QPen pen(colour, width, style, Qt::FlatCap);
  if (!dashes.isEmpty()) pen.setDashPattern(dashes);
  painter.setPen(pen);
  painter.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
}

void Road(QPainter& painter, QRectF box, RoadClass kind, const QColor& core) {
  Line(painter, box, ink::kBlack, RoadWidth(kind) + 3.2);
  Line(painter, box.adjusted(1.6, 0, -1.6, 0), core, RoadWidth(kind));
}

void Patch(QPainter& painter, QRectF box, const QColor& fill, const QColor& edge) {
  painter.setPen(QPen(edge, 2));
  painter.setBrush(fill);
  painter.drawRoundedRect(box.adjusted(0, 8, 0, -8), 6, 6);
  painter.setBrush(Qt::NoBrush);
}

struct Entry {
  QString text;
  Symbol symbol;
};

const std::vector<Entry>& Entries() {
  static const std::vector<Entry> entries = {
      {"Main road with its number", [](QPainter& p, QRectF b) { Road(p, b, RoadClass::Main, ink::kMainRoad); }},
      {"Secondary road", [](QPainter& p, QRectF b) { Road(p, b, RoadClass::Secondary, ink::kSecondaryRoad); }},
      {"Track", [](QPainter& p, QRectF b) { Line(p, b, ink::kBlack, 2, Qt::CustomDashLine, {5, 3}); }},
      {"Railway",
       [](QPainter& p, QRectF b) {
         Line(p, b, ink::kBlack, 5);
         Line(p, b, ink::kPaper, 2.4, Qt::CustomDashLine, {6, 6});
       }},
      {"River, stream",
       [](QPainter& p, QRectF b) {
         const QRectF river(b.left(), b.top(), 55, b.height());
         Line(p, river, ink::kWaterLine, 11);
         Line(p, river, ink::kWater, 7.5);
         Line(p, QRectF(b.left() + 68, b.top(), 32, b.height()), ink::kWaterLine, 2.2);
       }},
      {"Lake", [](QPainter& p, QRectF b) { Patch(p, b, ink::kWater, ink::kWaterLine); }},
      {"Wood", [](QPainter& p, QRectF b) { Patch(p, b, ink::kForest, ink::kForestEdge); }},
      {"Buildings",
       [](QPainter& p, QRectF b) {
         p.setPen(Qt::NoPen);
         p.setBrush(ink::kBuilding);
         for (int i = 0; i < 4; ++i) p.drawRect(QRectF(b.left() + 4 + i * 25, b.center().y() - 7 + (i % 2) * 3, 17, 12));
         p.setBrush(Qt::NoBrush);
       }},
      {"Contour line, every 10 m", [](QPainter& p, QRectF b) { Line(p, b, ink::kContour, 1.3); }},
      {"Index contour, every 50 m",
       [](QPainter& p, QRectF b) {
         Line(p, QRectF(b.left(), b.top(), 30, b.height()), ink::kContour, 2.2);
         Line(p, QRectF(b.right() - 30, b.top(), 30, b.height()), ink::kContour, 2.2);
         DrawLabel(p, "450", SheetFont("Liberation Sans", 19), ink::kContour, b.center(), 0, ink::kPaper, 0);
       }},
      {"Spot height; survey point (metres)",
       [](QPainter& p, QRectF b) {
         p.setPen(QPen(ink::kBlack, 1.8));
         p.setBrush(ink::kBlack);
         p.drawEllipse(QPointF(b.left() + 20, b.center().y()), 3.2, 3.2);
         const QPointF c(b.left() + 70, b.center().y());
         const QPointF triangle[] = {c + QPointF(0, -11), c + QPointF(10, 7), c + QPointF(-10, 7)};
         p.setBrush(Qt::NoBrush);
         p.drawPolygon(triangle, 3);
         p.setBrush(ink::kBlack);
         p.drawEllipse(c, 2, 2);
         p.setBrush(Qt::NoBrush);
       }},
      {"UTM grid line, every 1000 m", [](QPainter& p, QRectF b) { Line(p, b, ink::kBlack, 1.4); }},
  };
  return entries;
}

void PaintEntries(QPainter& painter, QPointF origin) {
  const QFont font = SheetFont("Liberation Sans", 24);
  painter.setFont(font);
  const std::vector<Entry>& entries = Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const double x = origin.x() + static_cast<double>(i / 4) * 700;
    const double y = origin.y() + static_cast<double>(i % 4) * kRowHeight;
    entries[i].symbol(painter, QRectF(x, y, kSymbolWidth, kRowHeight - 18));
    painter.setPen(ink::kBlack);
    painter.drawText(QRectF(x + kSymbolWidth + 22, y, 560, kRowHeight - 18), Qt::AlignLeft | Qt::AlignVCenter,
                     entries[i].text);
  }
}

// Two kilometres in blocks of 500 m, at the sheet's 400 pixels a kilometre.
void PaintScaleBar(QPainter& painter, QPointF origin) {
  constexpr double kBlock = 500 / kMetresPerPixel;
  painter.setFont(SheetFont("Liberation Sans", 28, true));
  painter.setPen(ink::kBlack);
  painter.drawText(QRectF(origin.x(), origin.y(), 4 * kBlock, 40), Qt::AlignCenter, "Scale 1 : 25 000");
  const double top = origin.y() + 56;
  painter.setPen(QPen(ink::kBlack, 2));
  for (int i = 0; i < 4; ++i) {
    painter.setBrush(i % 2 == 0 ? ink::kBlack : ink::kPaper);
    painter.drawRect(QRectF(origin.x() + i * kBlock, top, kBlock, 14));
  }
  painter.setBrush(Qt::NoBrush);
  painter.setFont(SheetFont("Liberation Sans", 22));
  for (int i = 0; i <= 4; ++i) {
    const QString text = i == 4 ? "2000 m" : QString::number(i * 500);
    const double x = origin.x() + i * kBlock;
    painter.drawText(QRectF(x - 60, top + 20, 120, 30), Qt::AlignCenter, text);
  }
  painter.drawText(QRectF(origin.x(), top + 62, 4 * kBlock, 30), Qt::AlignCenter, "Contour interval 10 m");
}

void PaintNotes(QPainter& painter, QRectF box) {
  painter.setPen(ink::kBlack);
  painter.setFont(SheetFont("Liberation Sans", 22));
  painter.drawText(box, Qt::AlignLeft | Qt::AlignTop,
                   "UTM zone 32 N, WGS 84. Grid values in metres:\n"
                   "small 4, large 37, small 000 reads 437 000 mE.\n"
                   "A fictional sheet, drawn by VELMARO's sample\n"
                   "generator to try the program. Not for navigation.");
}

}  // namespace

void PaintLegend(QPainter& painter) {
  const double top = kBorder.bottom() + 34;
  PaintEntries(painter, QPointF(kBorder.left() + 10, top));
  PaintScaleBar(painter, QPointF(2260, top));
  PaintNotes(painter, QRectF(3130, top + 4, kBorder.right() - 3130, 230));
}

}  // namespace sample_sheet

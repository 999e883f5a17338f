#include "ink.h"

#include <QPainterPath>
#include <algorithm>

namespace sample_sheet {

void Blend(QImage& image, int x, int y, const QColor& colour, double coverage) {
  if (x < 0 || y < 0 || x >= image.width() || y >= image.height() || coverage <= 0) return;
  coverage = std::min(coverage, 1.0);
  QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
  const QRgb old = line[x];
  auto mix = [coverage](int a, int b) { return static_cast<int>(a + (b - a) * coverage + 0.5); };
  line[x] = qRgb(mix(qRed(old), colour.red()), mix(qGreen(old), colour.green()), mix(qBlue(old), colour.blue()));
}

void DrawLabel(QPainter& painter, const QString& text, const QFont& font, const QColor& colour, QPointF centre,
               double degrees, const QColor& halo, double haloWidth) {
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF box = path.boundingRect();
  painter.save();
  painter.translate(centre);
  painter.rotate(degrees);
  painter.translate(-box.center());
  if (haloWidth > 0) {
    painter.setPen(QPen(halo, haloWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawPath(path);
  painter.restore();
}

QFont SheetFont(const QString& family, int pixels, bool bold, bool italic) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setItalic(italic);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

}  // namespace sample_sheet

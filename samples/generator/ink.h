#pragma once
// The inks of the sample sheet and the raster operations that lay them on the paper.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

namespace sample_sheet {

namespace ink {
inline const QColor kPaper(0xF4, 0xEF, 0xE0);
inline const QColor kBlack(0x1C, 0x1B, 0x1A);
inline const QColor kContour(0xA8, 0x63, 0x2C);
inline const QColor kForest(0xC9, 0xE0, 0xAC);
inline const QColor kForestEdge(0x86, 0xB0, 0x6C);
inline const QColor kForestName(0x3E, 0x74, 0x2C);
inline const QColor kWater(0x9C, 0xCD, 0xEE);
inline const QColor kWaterLine(0x2A, 0x6E, 0xB4);
inline const QColor kWaterName(0x1E, 0x5E, 0xA8);
inline const QColor kMainRoad(0xE5, 0x5B, 0x3A);
inline const QColor kSecondaryRoad(0xF6, 0xD3, 0x4A);
inline const QColor kBuilding(0x3A, 0x36, 0x33);
}  // namespace ink

// Lays `colour` over the pixel with the given coverage (0..1).
void Blend(QImage& image, int x, int y, const QColor& colour, double coverage);

// A text on a path centred at `centre`, turned by `degrees`, with a halo of `halo` colour and width
// (none when width is 0) that keeps it readable over lines.
void DrawLabel(QPainter& painter, const QString& text, const QFont& font, const QColor& colour, QPointF centre,
               double degrees, const QColor& halo, double haloWidth);

// A font of the sheet by family and pixel size.
QFont SheetFont(const QString& family, int pixels, bool bold = false, bool italic = false);

}  // namespace sample_sheet

#include "places.h"

#include <QPainterPath>
#include <cmath>

#include "ink.h"
#include "linework.h"
#include "noise.h"

namespace sample_sheet {
namespace {

struct RoadSpot {
  QPointF point;
  QPointF direction;
  RoadClass kind;
};

// Villages stand along roads; a hamlet may stand on a track.
std::vector<RoadSpot> RoadSpotsNear(const World& world, QPointF centre, double radius, bool hamlet) {
  std::vector<RoadSpot> spots;
  for (const Road& road : world.roads) {
    if (road.kind == RoadClass::Track && !hamlet) continue;
    for (std::size_t i = 0; i + 1 < road.curve.size(); ++i) {
      const QPointF p = road.curve[i];
      if (std::hypot(p.x() - centre.x(), p.y() - centre.y()) > radius) continue;
      QPointF d = road.curve[i + 1] - p;
      d /= std::hypot(d.x(), d.y());
      spots.push_back({p, d, road.kind});
    }
  }
  return spots;
}

std::vector<QPointF> Corners(const Building& b) {
  const double a = b.degrees * M_PI / 180;
  const QPointF u(std::cos(a), std::sin(a));
  const QPointF v(-u.y(), u.x());
  return {b.centre + u * b.length / 2 + v * b.depth / 2, b.centre + u * b.length / 2 - v * b.depth / 2,
          b.centre - u * b.length / 2 - v * b.depth / 2, b.centre - u * b.length / 2 + v * b.depth / 2};
}

}  // namespace

std::vector<Building> PlaceBuildings(const World& world, const Terrain& terrain, const Field& roadDistance,
                                     const std::function<bool(QPointF)>& keepClear) {
  std::vector<Building> buildings;
  for (std::size_t s = 0; s < world.settlements.size(); ++s) {
    const Settlement& settlement = world.settlements[s];
    const std::vector<RoadSpot> spots = RoadSpotsNear(world, settlement.centre, settlement.radius, settlement.hamlet);
    if (spots.empty()) continue;
    Random random(1000 + s);
    int placed = 0;
    for (int attempt = 0; attempt < settlement.buildings * 40 && placed < settlement.buildings; ++attempt) {
      const RoadSpot& spot = spots[random.next() % spots.size()];
      const QPointF normal(-spot.direction.y(), spot.direction.x());
      const double side = random.next() % 2 ? 1.0 : -1.0;
      Building b;
      b.length = random.uniform(9, 18);
      b.depth = random.uniform(7, 11);
      const double backRow = random.next() % 4 == 0 ? random.uniform(22, 34) : 0;
      const double offset = RoadWidth(spot.kind) / 2 + 1.6 + b.depth / 2 + random.uniform(5, 13) + backRow;
      b.centre = spot.point + normal * side * offset;
      b.degrees = std::atan2(spot.direction.y(), spot.direction.x()) * 180 / M_PI + random.uniform(-7, 7);
      bool clear = terrain.waterDistance(b.centre.x(), b.centre.y()) > 22 &&
                   terrain.streamDistance(b.centre.x(), b.centre.y()) > 12 && !keepClear(b.centre);
      for (QPointF corner : Corners(b)) clear = clear && roadDistance.sample(corner.x(), corner.y()) > 8;
      for (const Building& other : buildings)
        clear = clear && std::hypot(other.centre.x() - b.centre.x(), other.centre.y() - b.centre.y()) >
                             (std::max(b.length, b.depth) + std::max(other.length, other.depth)) / 2 + 3;
      if (!clear) continue;
      buildings.push_back(b);
      ++placed;
    }
  }
  return buildings;
}

void PaintBuildings(QPainter& painter, const std::vector<Building>& buildings) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink::kBuilding);
  for (const Building& b : buildings) {
    const std::vector<QPointF> corners = Corners(b);
    painter.drawPolygon(corners.data(), static_cast<int>(corners.size()));
  }
}

QPoint SummitSpot(const HeightGrid& heights, QPointF near) {
  QPoint best = near.toPoint();
  float top = -1e9f;
  for (int y = static_cast<int>(near.y()) - 120; y <= near.y() + 120; y += 2)
    for (int x = static_cast<int>(near.x()) - 120; x <= near.x() + 120; x += 2) {
      if (x < heights.left() || y < heights.top() || x >= heights.left() + heights.width() ||
          y >= heights.top() + heights.height())
        continue;
      if (heights.at(x, y) > top) {
        top = heights.at(x, y);
        best = QPoint(x, y);
      }
    }
  return best;
}

void PaintSummits(QPainter& painter, const World& world, const HeightGrid& heights) {
  const QFont heightFont = SheetFont("Liberation Sans", 20);
  const QFont nameFont = SheetFont("Liberation Serif", 28, false, true);
  for (const Summit& summit : world.summits) {
    const QPoint spot = SummitSpot(heights, summit.near);
    const int metres = static_cast<int>(std::floor(heights.at(spot.x(), spot.y())));
    painter.setPen(QPen(ink::kBlack, 1.8));
    if (summit.trig) {
      const QPointF triangle[] = {spot + QPointF(0, -11), spot + QPointF(10, 7), spot + QPointF(-10, 7)};
      painter.setBrush(Qt::NoBrush);
      painter.drawPolygon(triangle, 3);
      painter.setBrush(ink::kBlack);
      painter.drawEllipse(QPointF(spot), 2, 2);
    } else {
      painter.setBrush(ink::kBlack);
      painter.drawEllipse(QPointF(spot), 3.2, 3.2);
    }
    DrawLabel(painter, QString::number(metres), heightFont, ink::kBlack, spot + QPointF(34, 16), 0, ink::kPaper, 4);
    if (!summit.name.isEmpty())
      DrawLabel(painter, summit.name, nameFont, ink::kBlack, spot + summit.nameOffset, 0, ink::kPaper, 5);
  }
}

void PaintNames(QPainter& painter, const World& world) {
  for (const Settlement& s : world.settlements) {
    const QFont font = SheetFont(s.hamlet ? "Liberation Serif" : "Liberation Sans", s.nameSize, !s.hamlet, s.hamlet);
    DrawLabel(painter, s.name, font, ink::kBlack, s.centre + s.nameOffset, 0, ink::kPaper, 6);
  }
  for (const AreaName& n : world.waterNames)
    DrawLabel(painter, n.text, SheetFont("Liberation Serif", n.size, false, true), ink::kWaterName, n.centre,
              n.angleDegrees, ink::kPaper, 0);
  for (const AreaName& n : world.forestNames) {
    QFont font = SheetFont("Liberation Serif", n.size, false, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 8);
    DrawLabel(painter, n.text, font, ink::kForestName, n.centre, n.angleDegrees, ink::kPaper, 0);
  }
  // The valley road's number on a small plate.
  const QFont plateFont = SheetFont("Liberation Sans", 18, true);
  const QRectF plate(world.roadNumberAt - QPointF(30, 13), QSizeF(60, 26));
  painter.setPen(QPen(ink::kBlack, 1.6));
  painter.setBrush(QColor(0xFF, 0xF8, 0xE8));
  painter.drawRoundedRect(plate, 4, 4);
  DrawLabel(painter, "B 317", plateFont, ink::kBlack, plate.center(), 0, ink::kPaper, 0);
}

}  // namespace sample_sheet

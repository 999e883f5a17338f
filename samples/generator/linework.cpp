#include "linework.h"

#include <QPainterPath>
#include <algorithm>

#include "ink.h"

namespace sample_sheet {
namespace {

QPainterPath PathOf(const Polyline& curve, std::size_t from = 0, std::size_t to = SIZE_MAX) {
  to = std::min(to, curve.size() - 1);
  QPainterPath path(curve[from]);
  for (std::size_t i = from + 1; i <= to; ++i) path.lineTo(curve[i]);
  return path;
}

// A line that widens from `start` to `end` pixels along the curve, drawn in short pieces with round
// caps so that the pieces join without seams.
void TaperedLine(QPainter& painter, const Polyline& curve, const QColor& colour, double start, double end) {
  constexpr std::size_t kPiece = 12;
  for (std::size_t i = 0; i + 1 < curve.size(); i += kPiece) {
    const double t = static_cast<double>(i) / curve.size();
    painter.setPen(QPen(colour, start + (end - start) * t, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(PathOf(curve, i, i + kPiece));
  }
}

}  // namespace

double RoadWidth(RoadClass kind) {
  switch (kind) {
    case RoadClass::Main: return 8.5;
    case RoadClass::Secondary: return 6;
    case RoadClass::Track: return 2;
  }
  return 0;
}

void PaintWater(QPainter& painter, const World& world, const Terrain& terrain) {
  painter.setBrush(Qt::NoBrush);
  for (const Polyline& stream : terrain.streams()) TaperedLine(painter, stream, ink::kWaterLine, 1.3, 3.0);
  // The river: dark banks under a light channel, wider downstream.
  TaperedLine(painter, world.river, ink::kWaterLine, 7.5, 12.5);
  TaperedLine(painter, world.river, ink::kWater, 4.5, 9.0);
  QPainterPath lake = PathOf(world.lakeShore);
  lake.closeSubpath();
  painter.setPen(QPen(ink::kWaterLine, 2.2));
  painter.setBrush(ink::kWater);
  painter.drawPath(lake);
  painter.setBrush(Qt::NoBrush);
}

void PaintRailway(QPainter& painter, const World& world) {
  const QPainterPath path = PathOf(world.railway);
  painter.setPen(QPen(ink::kBlack, 5, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  painter.drawPath(path);
  QPen dashes(ink::kPaper, 2.4, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
  dashes.setDashPattern({6, 6});
  painter.setPen(dashes);
  painter.drawPath(path);
}

void PaintRoads(QPainter& painter, const World& world) {
  painter.setBrush(Qt::NoBrush);
  QPen track(ink::kBlack, RoadWidth(RoadClass::Track), Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
  track.setDashPattern({5, 3});
  painter.setPen(track);
  for (const Road& road : world.roads)
    if (road.kind == RoadClass::Track) painter.drawPath(PathOf(road.curve));
  // Casings of a class first, then its cores, so that junctions of one class merge cleanly.
  for (RoadClass kind : {RoadClass::Secondary, RoadClass::Main}) {
    const QColor core = kind == RoadClass::Main ? ink::kMainRoad : ink::kSecondaryRoad;
    for (const QColor& colour : {ink::kBlack, core}) {
      const double width = RoadWidth(kind) + (colour == ink::kBlack ? 3.2 : 0);
      painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      for (const Road& road : world.roads)
        if (road.kind == kind) painter.drawPath(PathOf(road.curve));
    }
  }
}

}  // namespace sample_sheet

#pragma once
// Settlements (their buildings and names), summits with their heights, and the names of the water and
// the woods.

#include <QPainter>
#include <functional>
#include <vector>

#include "features.h"
#include "field.h"
#include "terrain.h"

namespace sample_sheet {

struct Building {
  QPointF centre;
  double length;   // along the road, pixels
  double depth;    // across it
  double degrees;  // turn of the long side
};

// Buildings beside the main and secondary roads near each settlement's centre; clear of the roads
// (`roadDistance`, pixels to the nearest road or railway), of the water and of one another.
std::vector<Building> PlaceBuildings(const World& world, const Terrain& terrain, const Field& roadDistance,
                                     const std::function<bool(QPointF)>& keepClear);
void PaintBuildings(QPainter& painter, const std::vector<Building>& buildings);

// The highest point of the terrain within 120 px of `near`.
QPoint SummitSpot(const HeightGrid& heights, QPointF near);

void PaintSummits(QPainter& painter, const World& world, const HeightGrid& heights);
void PaintNames(QPainter& painter, const World& world);

}  // namespace sample_sheet

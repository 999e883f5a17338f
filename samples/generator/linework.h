#pragma once
// The line work of the map body, drawn with antialiasing and clipped to the neatline: streams, the
// river and the lake, the railway and the roads (tracks, secondary, main; each cased in black).

#include <QPainter>

#include "features.h"
#include "terrain.h"

namespace sample_sheet {

void PaintWater(QPainter& painter, const World& world, const Terrain& terrain);
void PaintRailway(QPainter& painter, const World& world);
void PaintRoads(QPainter& painter, const World& world);

// The width of a road's coloured core in pixels (tracks: their dashed line).
double RoadWidth(RoadClass kind);

}  // namespace sample_sheet

#pragma once
// The ground of the map body, laid pixel by pixel: woods, relief shading, the lake's water and the
// contour lines (10 m, every fifth one thicker). Then the numbers on some thick contours.

#include <QImage>
#include <functional>

#include "features.h"
#include "terrain.h"

namespace sample_sheet {

// Woodland cover in 0..1 at a pixel: fractal patches, thinned near water and settlements.
double WoodCover(const World& world, const Terrain& terrain, double x, double y);

void PaintGround(QImage& image, const World& world, const Terrain& terrain, const HeightGrid& heights);

// Height numbers on index contours, upright toward the hill, where nothing else is near. `busy` says
// whether a spot is taken (roads, settlements, grid crossings).
void PaintContourNumbers(QImage& image, const HeightGrid& heights, const Terrain& terrain,
                         const std::function<bool(QPointF)>& busy);

}  // namespace sample_sheet

#pragma once
// A map transform as GDAL holds an affine georeference: the geotransform in picture pixels, and the
// world file written beside a picture. Plain arithmetic; reading and writing files is GDAL's.
//
// The geotransform gt: X = gt[0] + px * gt[1] + py * gt[2], Y = gt[3] + px * gt[4] + py * gt[5], with px
// and py in pixels from the top-left CORNER of the top-left pixel, y downward. The canvas is the picture
// at twipsPerPixel twips to a pixel with the same corner, so a press at x twips lies at px = x / tpp.
//
// A world file holds the six numbers in the line order A = gt[1], D = gt[4], B = gt[2], E = gt[5], C, F,
// but its C and F are the map coordinates of the CENTRE of the top-left pixel, half a pixel in from the
// corner: C = gt[0] + 0.5 * gt[1] + 0.5 * gt[2], F = gt[3] + 0.5 * gt[4] + 0.5 * gt[5], and back
// gt[0] = C - 0.5 * A - 0.5 * B, gt[3] = F - 0.5 * D - 0.5 * E, in that order of evaluation, the one
// GDAL 3.6 uses (GDALWriteWorldFile, GDALReadWorldFile).

#include <array>
#include <optional>

#include "core/map_transform.h"

namespace velmaro {

using GeoTransform = std::array<double, 6>;

struct WorldFile {  // the six lines in file order
  double a = 0, d = 0, b = 0, e = 0, c = 0, f = 0;
};

// gt[1] = a1 * tpp and so on: the same map for every position up to rounding. Edges: (L, (R-L)/W * tpp,
// 0, T, 0, (B-T)/H * tpp). Nothing for a projective model (no geotransform can hold it), an edges model
// with a missing axis or a zero side, or a coefficient beyond the range of a double.
std::optional<GeoTransform> ToGeoTransform(const MapTransform& transform, double twipsPerPixel);

// The transform in twips of a geotransform: a1 = gt[1] / tpp and so on. The model is given (Helmert or
// affine; which one is only a label here: the numbers are not checked to be a similarity).
MapTransform FromGeoTransform(const GeoTransform& gt, double twipsPerPixel,
                              TransformModel model = TransformModel::Affine);

WorldFile ToWorldFile(const GeoTransform& gt);
GeoTransform FromWorldFile(const WorldFile& world);

// Each number as the file holds it: GDAL 3.6 writes world files with ten decimals ("%.10f"), so a
// pixel size of 1e-5 degrees keeps only six significant digits. The transform that captures and the
// one a GDAL reader sees agree when both come from FromWorldFile(WithWorldFileDigits(ToWorldFile(gt))).
WorldFile WithWorldFileDigits(const WorldFile& world);

}  // namespace velmaro

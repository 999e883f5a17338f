#pragma once
// The map transform: the one way a picture position becomes map coordinates and back, whichever model
// the map is calibrated with. Picture positions are twips from the canvas's top-left corner, y growing
// downward, exactly as presses arrive (and as Pixel2Map takes them); map coordinates are in the frame's
// units (metres, or decimal degrees for both degree notations), unsigned as typed.

#include <optional>

#include "core/map_frame.h"

namespace velmaro {

enum class TransformModel {
  Edges,       // the four typed edge values: X from x alone, Y from y alone; what Pixel2Map computes
  Helmert,     // shift, rotation and one scale, 4 parameters (the axes may turn either way: Handedness)
  Affine,      // shift, rotation, skew and two scales, 6 parameters
  Projective,  // a plane photographed at an angle, 8 parameters
};

// One axis of the edges model: the value at the first edge (left, or top), at the second (right, or
// bottom), and the canvas side between them, in twips.
struct EdgeAxis {
  double first = 0;
  double second = 0;
  double side = 0;
};

// X = (a0 + a1 x + a2 y) / (c0 + c1 x + c2 y), Y = (b0 + b1 x + b2 y) / (c0 + c1 x + c2 y), x and y in
// twips. Helmert and affine models keep c = (1, 0, 0) and are evaluated without the division, as GDAL
// evaluates a geotransform: a0 + x * a1 + y * a2.
struct TransformCoefficients {
  double a0 = 0, a1 = 1, a2 = 0;
  double b0 = 0, b1 = 0, b2 = 1;
  double c0 = 1, c1 = 0, c2 = 0;
};

struct MapTransform {
  TransformModel model = TransformModel::Edges;
  // Edges only: an axis whose edge values could not both be read has none.
  std::optional<EdgeAxis> xEdges;
  std::optional<EdgeAxis> yEdges;
  // Every model but Edges.
  TransformCoefficients coefficients;
};

// The edges model of the frame as it stands, its values read by ReadEdgeValue in the notation.
MapTransform EdgesTransform(const MapFrame& frame, NotationChoice notation, CanvasSize canvas);
// The edges model from values already read; a missing value leaves its axis out.
MapTransform EdgesTransform(std::optional<double> left, std::optional<double> right, std::optional<double> top,
                            std::optional<double> bottom, CanvasSize canvas);

// first + pointer * ((second - first) / side), evaluated in exactly that order: the arithmetic of
// Pixel2Map. A zero side or a result beyond the range of a double gives nothing.
std::optional<double> EdgeValue(const EdgeAxis& axis, double pointer);

// Map coordinates of a picture position. Edges: each coordinate on its own, missing where its axis is
// missing or EdgeValue gives nothing. Other models: both or neither; neither on the horizon of a
// projective model or for a result beyond the range of a double. No check that the position lies on
// the picture.
struct MapPosition {
  std::optional<double> x;
  std::optional<double> y;
};
MapPosition PictureToMap(const MapTransform& transform, double x, double y);

// Writes each coordinate the position has into the cursor and keeps the other as it was; computed
// becomes true when either was written (a capture then records the previous value of a missing one).
void PlaceCursor(Cursor& cursor, const MapPosition& map);

// The picture position (twips) whose map coordinates are (X, Y): the inverse of PictureToMap, to within
// rounding. Nothing when the model cannot be inverted there: an edges axis missing or with equal edge
// values, a singular (flat) model, a result beyond the range of a double.
struct PicturePosition {
  double x = 0;
  double y = 0;
};
std::optional<PicturePosition> MapToPicture(const MapTransform& transform, double X, double Y);

// Whether the picture lies wholly on one side of a projective model's horizon (where its denominator
// is 0 and the map runs off to infinity): the denominator has one sign, not 0, at the canvas's four
// corners. Always true for the other models.
bool HorizonOutside(const MapTransform& transform, CanvasSize canvas);

// The closest axis-parallel frame of a model over a canvas of W x H twips: the edge values L, R, T, B for
// which X = L + x (R - L) / W and Y = T + y (B - T) / H differ least from the model in the mean square
// over the picture's whole area. L and R minimise the integral of (X(x, y) - L - x (R - L) / W)^2 over
// 0 <= x <= W, 0 <= y <= H; T and B likewise for Y. For Helmert and affine models that is the model
// along the picture's middle lines: L = X(0, H/2), R = X(W, H/2), T = Y(W/2, 0), B = Y(W/2, H). For a
// projective model the integrals are taken by Gauss-Legendre quadrature (16 panels of 8 nodes each
// way): within about 1e-12 of the values while the horizon stays a sixteenth of the picture's size away
// from it, within 3e-7 at a sixty-fourth.
// Edges gives its own edge values. Nothing for a missing edges axis, an empty canvas, a projective
// horizon crossing the picture, or a result beyond the range of a double.
struct EdgeValues {
  double left = 0;
  double right = 0;
  double top = 0;
  double bottom = 0;
};
std::optional<EdgeValues> ClosestFrame(const MapTransform& transform, CanvasSize canvas);

// Which way the map values grow on the picture, for the axis captions and with them the hemisphere
// letters: X to the right when R > L, Y upward when B < T, the very rule the captions follow for typed
// edge values, applied to the closest frame (Edges: to its own values). A map turned by more than 45
// degrees on the picture reads with its directions swapped or reversed: unsigned values cannot tell a
// map upside down from one of the other hemispheres. None for an axis that cannot be read (Edges) or
// a model without a closest frame.
struct AxisDirections {
  std::optional<bool> xGrowsRight;
  std::optional<bool> yGrowsUp;
};
AxisDirections Directions(const MapTransform& transform, CanvasSize canvas);

// "Y Coord. NORTH" / "Y Coord. SOUTH" and "X Coord. EAST" / "X Coord. WEST" by the directions; an axis
// without a direction keeps its caption.
void SetAxisCaptions(MapFrame& frame, const AxisDirections& directions);

}  // namespace velmaro

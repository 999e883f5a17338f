#pragma once
// Fitting a map transform to reference points: spots pressed on the picture whose map coordinates are
// known, by least squares. Helmert, affine and projective models are fitted here from numbers; the
// edges model is fitted from the typed texts by Calibrate (core/calibration), and MeasureResiduals
// gives the residuals of any transform, that one included.
//
// Half a picture pixel is the resolution of the points: two points closer than that are at the same
// place, and points all within that distance of one line lie on it. On the map side the same bound
// holds in map units, scaled by the points' own ratio of map to picture spread.

#include <array>
#include <optional>
#include <vector>

#include "core/map_transform.h"

namespace velmaro {

struct KnownPoint {
  double x = 0;     // twips from the canvas's left edge, as presses arrive
  double y = 0;     // twips from the canvas's top edge
  double mapX = 0;  // the known map coordinates
  double mapY = 0;
  bool enabled = true;  // a point switched off stays in the list but takes no part in the fit
};

// How the map's axes sit on the picture, seen on the screen. A Helmert model keeps it; the points decide
// it when they span an area, and this setting when they lie on one line (two points always do).
enum class Handedness {
  Map,      // Y a quarter turn counter-clockwise from X: east to the right and north up, as maps are drawn
  Picture,  // Y a quarter turn clockwise from X, like the picture's own x and y (values growing downward)
};

struct FitSettings {
  double twipsPerPixel = 15;  // positive: residuals in pixels and the half-pixel resolution
  CanvasSize canvas;          // twips: a projective horizon must stay outside the picture
  Handedness handedness = Handedness::Map;
};

enum class FitRefusalKind {
  NotFittedHere,     // the edges model: Calibrate fits it
  NotANumber,        // points: the one switched-on point with a coordinate that is no finite number
  TooFewPoints,      // value: switched-on points, limit: the model's minimum (Helmert 2, affine 3, projective 4)
  RepeatedPoints,    // points: two switched-on points at the same place; value: their distance
  CollinearPoints,   // points: those on one line (all, or for a projective model all but one); value: the
                     // largest distance of one of them from that line
  IllConditioned,    // value: the condition number of the normalised least-squares problem
  HorizonInPicture,  // projective: the horizon runs across the picture; horizon: where it meets the border
};

// Why no transform can be given. value and limit are pixels when space is Picture, map units when Map;
// for IllConditioned a condition number and its bound; for TooFewPoints counts.
struct FitRefusal {
  enum class Space { Picture, Map };
  FitRefusalKind kind = FitRefusalKind::TooFewPoints;
  Space space = Space::Picture;
  std::vector<int> points;  // indices in the list given, ascending
  double value = 0;
  double limit = 0;
  std::array<PicturePosition, 2> horizon{};  // pixels from the picture's top-left corner
};

// Above this condition number of the normalised problem the solution keeps fewer than half the digits
// of a double, too few to promise agreement to 1e-9 with an exact fit.
inline constexpr double kConditionLimit = 1e8;

struct Offset {
  double x = 0;
  double y = 0;
  double length = 0;
};

struct Residual {
  Offset map;                    // known minus fitted, in map units
  std::optional<Offset> pixels;  // where the known coordinates lie on the picture minus the press, in
                                 // pixels; none where the inverse gives no position
};

struct Residuals {
  std::vector<std::optional<Residual>> points;  // one per point given, switched-off ones included;
                                                // none where the transform gives no map coordinates
  double rmsMap = 0;     // root of the mean squared length over the switched-on points, map units
  double rmsPixels = 0;  // likewise in pixels, over the switched-on points with a pixel residual
};

struct ModelFit {
  std::optional<FitRefusal> refusal;  // when set, transform and residuals are meaningless
  MapTransform transform;
  Residuals residuals;
  double conditionNumber = 0;  // of the normalised least-squares problem (projective: at the solution)
};

// The residuals of any transform at the points, with twipsPerPixel converting to pixels.
Residuals MeasureResiduals(const MapTransform& transform, const std::vector<KnownPoint>& points,
                           double twipsPerPixel);

// Least squares in map units over the switched-on points: the transform minimises the sum of the squared
// residual lengths. Coordinates are centred and scaled (picture and map apart) before solving, by the
// singular value decomposition, so map coordinates of millions of metres and positions of tens of
// thousands of twips cost no digits. Helmert and affine models are linear in their coefficients and
// solved directly; the projective model starts from the linear (direct) solution and is refined by
// Gauss-Newton steps on the true residuals. Refusals are checked in the order of FitRefusalKind.
ModelFit FitModel(TransformModel model, const std::vector<KnownPoint>& points, const FitSettings& settings);

}  // namespace velmaro

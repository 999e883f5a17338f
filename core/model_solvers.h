#pragma once
// The least-squares solutions of the fitted models, on coordinates centred and scaled so that the
// unknowns are of like size whatever the map units: the numerical core of FitModel. Each minimises the
// sum of the squared map residuals in the normalised units, which is the same solution as in map units
// because the map side is scaled alike in X and Y.

#include <array>
#include <utility>
#include <vector>

#include "core/model_fit.h"

namespace velmaro {

using Place = std::pair<double, double>;

// Centre and scale of one side's places: after (v - centre) * scale they sit around the origin at a
// root mean square distance of sqrt(2). A single place, or places all alike, keep the scale 1.
struct Normalisation {
  double cx = 0, cy = 0;
  double rms = 0;  // root mean square distance from the centre, in the side's own units
  double scale = 1;
};
Normalisation Normalise(const std::vector<Place>& places);

struct NormalisedPoint {
  double u, v;  // picture
  double U, V;  // map
};

// A 3 x 3 matrix on homogeneous positions (x, y, 1): the map position is (row 0, row 1) / row 2.
using Matrix3 = std::array<std::array<double, 3>, 3>;

struct NormalisedFit {
  Matrix3 h{};
  double conditionNumber = 0;  // of the least-squares problem solved last (projective: the last step's)
  double squaredError = 0;     // sum of squared residuals, normalised map units
};

// Shift, rotation and one scale with the map's axes turned the given way: U = p u + q v + e,
// V = q u - p v + f (Map) or U = p u - q v + e, V = q u + p v + f (Picture).
NormalisedFit SolveHelmert(const std::vector<NormalisedPoint>& points, Handedness handedness);

NormalisedFit SolveAffine(const std::vector<NormalisedPoint>& points);

// The denominator fixed to 1 at the points' centre (which lies on the picture): first the linear
// solution of U (h31 u + h32 v + 1) = h11 u + h12 v + h13 and likewise V, then Gauss-Newton steps on the
// residuals themselves until the steps stop moving (at most 50).
NormalisedFit SolveProjective(const std::vector<NormalisedPoint>& points);

// The normalised solution in twips and map units: Tmap^-1 * h * Tpicture.
Matrix3 Denormalise(const Matrix3& h, const Normalisation& picture, const Normalisation& map);

}  // namespace velmaro

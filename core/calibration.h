#pragma once
// Calibration from reference points: spots pressed inside the map whose map coordinates the user knows
// (graticule or grid crossings), fitted axis by axis into the four edge values of the frame fields.
// The frame is axis-parallel: X = a + b * x and Y = c + d * y, each fitted on its own by least squares;
// a rotated or distorted map shows as large residuals, not as a refusal.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/map_frame.h"

namespace velmaro {

struct ReferencePoint {
  double x = 0;       // twips from the canvas's left edge (picture space)
  double y = 0;       // twips from the canvas's top edge
  std::string xText;  // known X, typed as the frame fields take it in the notation
  std::string yText;  // known Y
};

struct Calibration {
  // Why no frame can be given; the other members are then meaningless and nothing may be written.
  std::optional<std::string> refusal;
  // Edge texts for Text2 (left), Text3 (right), Text4 (top), Text5 (bottom), in the notation's own form.
  std::array<std::string, 4> edges;
  // Known minus fitted value of each point, in map units; none where the point's value was not usable.
  std::vector<std::optional<double>> xResiduals;
  std::vector<std::optional<double>> yResiduals;
  double largestResidual = 0;  // of both axes, absolute
  double roundingShift = 0;    // largest distance between a fitted edge and its text read back
};

// A typed reference value: the notation's frame-field reading, unsigned. Empty, signed or unreadable
// text, or no notation selected, gives no value.
std::optional<double> ReadReferenceValue(std::string_view text, NotationChoice notation);

// An edge value as the frame field holds it: whole metres (nearest), "d:mm:ss" rounded to the nearest
// second (so Degre2Decimal reads it back exactly), or decimal degrees with six decimals. The value is
// not checked: callers pass only what an unsigned field can hold.
std::string EdgeText(double value, CoordinateType notation);

// Fits both axes from the points and gives the edges at x = 0 and canvas width, y = 0 and canvas height.
// Refuses with a message for the user when a notation is missing, an axis has fewer than two usable
// points at distinct positions along it, or an edge would be negative or not a finite number.
Calibration Calibrate(const std::vector<ReferencePoint>& points, NotationChoice notation, CanvasSize canvas);

}  // namespace velmaro

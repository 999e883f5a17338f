#include "core/calibration.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/number_text.h"

namespace velmaro {

namespace {

struct Sample {
  double position;
  double value;
};

struct Line {
  double offset;  // value at position 0
  double slope;   // map units per twip
};

// Least squares through centred sums; nothing when all positions coincide (or fewer than two).
std::optional<Line> FitLine(const std::vector<Sample>& samples) {
  if (samples.size() < 2) return std::nullopt;
  double meanPosition = 0, meanValue = 0;
  for (const Sample& s : samples) meanPosition += s.position, meanValue += s.value;
  meanPosition /= static_cast<double>(samples.size());
  meanValue /= static_cast<double>(samples.size());
  double spread = 0, covariance = 0;
  for (const Sample& s : samples) {
    spread += (s.position - meanPosition) * (s.position - meanPosition);
    covariance += (s.position - meanPosition) * (s.value - meanValue);
  }
  if (spread == 0) return std::nullopt;
  const double slope = covariance / spread;
  return Line{meanValue - slope * meanPosition, slope};
}

struct AxisFit {
  std::optional<Line> line;
  std::vector<std::optional<double>> residuals;
};

AxisFit FitAxis(const std::vector<ReferencePoint>& points, NotationChoice notation, bool alongX) {
  std::vector<Sample> samples;
  std::vector<std::optional<double>> values;
  for (const ReferencePoint& p : points) {
    values.push_back(ReadReferenceValue(alongX ? p.xText : p.yText, notation));
    if (values.back()) samples.push_back({alongX ? p.x : p.y, *values.back()});
  }
  AxisFit fit{FitLine(samples), {}};
  for (std::size_t i = 0; i < points.size(); ++i) {
    const double position = alongX ? points[i].x : points[i].y;
    if (fit.line && values[i]) fit.residuals.push_back(*values[i] - (fit.line->offset + fit.line->slope * position));
    else fit.residuals.push_back(std::nullopt);
  }
  return fit;
}

double LargestAbsolute(const std::vector<std::optional<double>>& residuals, double start) {
  for (const std::optional<double>& r : residuals)
    if (r) start = std::max(start, std::abs(*r));
  return start;
}

std::string TwoDigits(long long n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// The largest edge each notation's text can carry back: d:m:s degrees are read as 16-bit fields.
bool FieldCanHold(double value, CoordinateType notation) {
  if (!std::isfinite(value) || value < 0) return false;
  return notation == CoordinateType::DegMinSec ? value < 32767.5 : value < 1e15;
}

}  // namespace

std::optional<double> ReadReferenceValue(std::string_view text, NotationChoice notation) {
  if (!notation || text.find_first_not_of(" ") == std::string_view::npos) return std::nullopt;
  if (text.find_first_of("+-") != std::string_view::npos) return std::nullopt;
  if (*notation == CoordinateType::DegMinSec && text.find_first_not_of("0123456789:") != std::string_view::npos)
    return std::nullopt;
  return ReadEdgeValue(text, notation);
}

std::string EdgeText(double value, CoordinateType notation) {
  switch (notation) {
    case CoordinateType::Meters: return NumberText(std::round(value));
    case CoordinateType::DegMinSec: {
      const long long seconds = std::llround(value * 3600);
      return std::to_string(seconds / 3600) + ":" + TwoDigits(seconds % 3600 / 60) + ":" + TwoDigits(seconds % 60);
    }
    case CoordinateType::DecimalDegrees: break;
  }
  char text[64];
  const auto done = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
  return std::string(text, done.ptr);
}

Calibration Calibrate(const std::vector<ReferencePoint>& points, NotationChoice notation, CanvasSize canvas) {
  Calibration result;
  if (!notation) {
    result.refusal = "Choose a coordinate type first.";
    return result;
  }
  const AxisFit xFit = FitAxis(points, notation, true);
  const AxisFit yFit = FitAxis(points, notation, false);
  result.xResiduals = xFit.residuals;
  result.yResiduals = yFit.residuals;
  result.largestResidual = LargestAbsolute(yFit.residuals, LargestAbsolute(xFit.residuals, 0));
  if (!xFit.line) {
    result.refusal = "X needs two or more points with known X at different places from left to right.";
    return result;
  }
  if (!yFit.line) {
    result.refusal = "Y needs two or more points with known Y at different places from top to bottom.";
    return result;
  }
  const double edges[4] = {xFit.line->offset, xFit.line->offset + xFit.line->slope * canvas.width,
                           yFit.line->offset, yFit.line->offset + yFit.line->slope * canvas.height};
  for (int i = 0; i < 4; ++i) {
    if (!FieldCanHold(edges[i], *notation)) {
      result.refusal = "The fit puts an edge of the picture at " + NumberText(edges[i]) +
                       ", which the unsigned frame fields cannot hold.";
      return result;
    }
    result.edges[i] = EdgeText(edges[i], *notation);
    const double readBack = ReadEdgeValue(result.edges[i], notation).value_or(edges[i]);
    result.roundingShift = std::max(result.roundingShift, std::abs(readBack - edges[i]));
  }
  return result;
}

}  // namespace velmaro

#include "core/map_calibration.h"

#include <charconv>

#include "core/removal.h"

namespace velmaro {

MapTransform MapCalibration::transform() const { return model ? *model : EdgesTransform(frame, notation, canvas); }

CaptureResult CapturePoint(PointTable& table, Cursor& cursor, const MapCalibration& calibration, double x, double y) {
  if (!calibration.model) return CapturePoint(table, cursor, calibration.frame, calibration.notation, x, y, calibration.canvas);
  return CapturePoint(table, cursor, *calibration.model, calibration.frame, calibration.notation, x, y);
}

std::optional<int> RemoveNearestPoint(PointTable& table, Cursor& cursor, const MapCalibration& calibration, double X,
                                      double Y) {
  if (!calibration.model)
    return Remove_Point(table, cursor, calibration.frame, calibration.notation, X, Y, calibration.canvas);
  return Remove_Point(table, cursor, *calibration.model, calibration.notation, X, Y);
}

namespace {
constexpr std::pair<TransformModel, std::string_view> kModelWords[] = {
    {TransformModel::Helmert, "helmert"}, {TransformModel::Affine, "affine"}, {TransformModel::Projective, "projective"}};
}  // namespace

std::string ModelText(const MapTransform& model) {
  std::string text;
  for (const auto& [kind, word] : kModelWords)
    if (kind == model.model) text = word;
  if (text.empty()) return text;
  const TransformCoefficients& c = model.coefficients;
  for (const double value : {c.a0, c.a1, c.a2, c.b0, c.b1, c.b2, c.c0, c.c1, c.c2}) {
    char number[32];
    const auto done = std::to_chars(number, number + sizeof number, value);
    text += ' ' + std::string(number, done.ptr);
  }
  return text;
}

std::optional<MapTransform> ReadModelText(std::string_view text) {
  MapTransform model;
  const std::size_t space = text.find(' ');
  const std::string_view word = text.substr(0, space);
  bool known = false;
  for (const auto& [kind, name] : kModelWords)
    if (name == word) model.model = kind, known = true;
  if (!known || space == std::string_view::npos) return std::nullopt;
  TransformCoefficients& c = model.coefficients;
  std::string_view rest = text.substr(space + 1);
  for (double* value : {&c.a0, &c.a1, &c.a2, &c.b0, &c.b1, &c.b2, &c.c0, &c.c1, &c.c2}) {
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), *value);
    if (error != std::errc()) return std::nullopt;
    rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
    if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  }
  if (!rest.empty()) return std::nullopt;
  return model;
}

Cursor ProbeCursor(const MapCalibration& calibration, double x, double y) {
  Cursor probe;
  PlaceCursor(probe, PictureToMap(calibration.transform(), x, y));
  RoundForCapture(probe, calibration.notation);
  return probe;
}

}  // namespace velmaro

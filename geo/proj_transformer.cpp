#include "geo/proj_transformer.h"

#include <cmath>

#include "geo/crs_lookup.h"
#include "geo/proj_context.h"

namespace velmaro::geo {
namespace {

// An operation from one CRS to another with both ends in east, north order: PROJ follows each
// authority's axis order (latitude first for EPSG:4326), which the window never wants.
ProjObject EastNorthOperation(ProjContext& context, const PJ* from, const PJ* to) {
  const ProjObject operation(proj_create_crs_to_crs_from_pj(context.get(), from, to, nullptr, nullptr));
  if (!operation) return nullptr;
  return ProjObject(proj_normalize_for_visualization(context.get(), operation.get()));
}

std::optional<Position> Apply(PJ* operation, Position from) {
  proj_errno_reset(operation);
  // No epoch: t = HUGE_VAL, as cs2cs gives a point read without one.
  const PJ_COORD out = proj_trans(operation, PJ_FWD, proj_coord(from.x, from.y, 0, HUGE_VAL));
  if (proj_errno(operation) != 0 || !std::isfinite(out.xy.x) || !std::isfinite(out.xy.y)) return std::nullopt;
  return Position{out.xy.x, out.xy.y};
}

class ProjTransformer final : public Transformer {
 public:
  std::optional<GeoError> open(const Crs& from, const Crs& to) {
    GeoError error;
    const ProjObject source = CrsObject(context_, from, &error);
    if (!source) return error;
    const ProjObject target = CrsObject(context_, to, &error);
    if (!target) return error;
    const ProjObject wgs84(proj_create(context_.get(), kWgs84));
    if (!wgs84) return context_.error(GeoErrorKind::UnknownCrs);
    fromArea_ = CrsArea(context_, source.get());
    toArea_ = CrsArea(context_, target.get());
    operation_ = EastNorthOperation(context_, source.get(), target.get());
    if (operation_) toLonLat_ = EastNorthOperation(context_, source.get(), wgs84.get());
    if (!operation_ || !toLonLat_) return context_.error(GeoErrorKind::NoTransformation);
    return std::nullopt;
  }

  Transformed transform(Position from) override {
    Transformed result{Apply(operation_.get(), from), false};
    const std::optional<Position> lonLat = Apply(toLonLat_.get(), from);
    result.outsideArea = !lonLat || !AreaContains(fromArea_, lonLat->x, lonLat->y) ||
                         !AreaContains(toArea_, lonLat->x, lonLat->y);
    return result;
  }

 private:
  ProjContext context_;  // first: destroyed after the operations made with it
  ProjObject operation_;
  ProjObject toLonLat_;
  AreaOfUse fromArea_;
  AreaOfUse toArea_;
};

}  // namespace

bool AreaContains(const AreaOfUse& area, double longitude, double latitude) {
  if (!area.known) return true;
  if (latitude < area.south || latitude > area.north) return false;
  if (area.west <= area.east) return longitude >= area.west && longitude <= area.east;
  return longitude >= area.west || longitude <= area.east;
}

TransformerResult MakeTransformer(const Crs& from, const Crs& to) {
  auto transformer = std::make_unique<ProjTransformer>();
  if (auto error = transformer->open(from, to)) return {nullptr, std::move(error)};
  return {std::move(transformer), std::nullopt};
}

}  // namespace velmaro::geo

#include "geo/proj_transformer.h"

#include <cmath>
#include <numbers>

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

// Whether a geographic CRS counts longitudes in degrees east of Greenwich (a few old ones count grads
// from Paris, or degrees from Ferro).
bool DegreesFromGreenwich(ProjContext& context, const PJ* geographic) {
  const PJ_TYPE type = proj_get_type(geographic);
  if (type != PJ_TYPE_GEOGRAPHIC_2D_CRS && type != PJ_TYPE_GEOGRAPHIC_3D_CRS) return false;
  const ProjObject meridian(proj_get_prime_meridian(context.get(), geographic));
  double longitude = 1;
  if (!meridian || !proj_prime_meridian_get_parameters(context.get(), meridian.get(), &longitude, nullptr, nullptr) ||
      longitude != 0) {
    return false;
  }
  const ProjObject axes(proj_crs_get_coordinate_system(context.get(), geographic));
  double toRadians = 0;
  return axes && proj_cs_get_axis_info(context.get(), axes.get(), 0, nullptr, nullptr, nullptr, &toRadians, nullptr,
                                       nullptr, nullptr) &&
         std::abs(toRadians - std::numbers::pi / 180) < 1e-15;
}

// Longitude and latitude for the area check. Areas of use are given to a hundredth of a degree, far
// coarser than any datum shift, so the source CRS's own geographic CRS serves where it counts degrees
// from Greenwich: a conversion only, made at once, where the way to WGS 84 takes PROJ tens of
// milliseconds to find. The target's own operation serves where the target is WGS 84.
ProjObject LonLatOperation(ProjContext& context, const PJ* source, const PJ* target, const PJ* operation) {
  const ProjObject wgs84(proj_create(context.get(), kWgs84));
  if (!wgs84) return nullptr;
  if (proj_is_equivalent_to_with_ctx(context.get(), target, wgs84.get(), PJ_COMP_EQUIVALENT)) {
    return ProjObject(proj_clone(context.get(), operation));
  }
  const ProjObject geographic(proj_crs_get_geodetic_crs(context.get(), source));
  if (geographic && DegreesFromGreenwich(context, geographic.get())) {
    return EastNorthOperation(context, source, geographic.get());
  }
  return EastNorthOperation(context, source, wgs84.get());
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
    fromArea_ = CrsArea(context_, source.get());
    toArea_ = CrsArea(context_, target.get());
    operation_ = EastNorthOperation(context_, source.get(), target.get());
    if (operation_) toLonLat_ = LonLatOperation(context_, source.get(), target.get(), operation_.get());
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

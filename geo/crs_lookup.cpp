#include "geo/crs_lookup.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace velmaro::geo {
namespace {

struct ObjectListDeleter {
  void operator()(PJ_OBJ_LIST* list) const { proj_list_destroy(list); }
};
struct IntListDeleter {
  void operator()(int* list) const { proj_int_list_destroy(list); }
};

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

bool AllDigits(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::string Text(const char* text) { return text != nullptr ? text : ""; }

CrsResult Failure(GeoError error) { return {std::nullopt, std::move(error)}; }

// A bound CRS (a CRS with its TOWGS84 shift attached, as old WKT gives it) is drawn in its source CRS.
ProjObject HorizontalPart(ProjContext& context, const PJ* crs) {
  if (proj_get_type(crs) != PJ_TYPE_BOUND_CRS) return nullptr;
  return ProjObject(proj_get_source_crs(context.get(), crs));
}

// PROJ marks an unknown bound as -1000.
AreaOfUse AreaOf(ProjContext& context, const PJ* crs) {
  AreaOfUse area;
  const char* name = nullptr;
  double west = 0, south = 0, east = 0, north = 0;
  if (proj_get_area_of_use(context.get(), crs, &west, &south, &east, &north, &name) == 0) return area;
  area.name = Text(name);
  if (west > -1000 && south > -1000 && east > -1000 && north > -1000) {
    area = AreaOfUse{area.name, west, south, east, north, true};
  }
  return area;
}

bool SameCrs(ProjContext& context, const PJ* registered, const PJ* crs) {
  return registered != nullptr &&
         proj_is_equivalent_to_with_ctx(context.get(), registered, crs, PJ_COMP_EQUIVALENT_EXCEPT_AXIS_ORDER_GEOGCRS);
}

// The code PROJ finds for a CRS that carries none, when it is sure.
bool IdentifyWithFullConfidence(ProjContext& context, const PJ* crs, Crs& result) {
  int* confidence = nullptr;
  const std::unique_ptr<PJ_OBJ_LIST, ObjectListDeleter> matches(
      proj_identify(context.get(), crs, nullptr, nullptr, &confidence));
  const std::unique_ptr<int, IntListDeleter> owned(confidence);
  if (!matches || proj_list_get_count(matches.get()) == 0 || confidence == nullptr || confidence[0] < 100) return false;
  const ProjObject best(proj_list_get(context.get(), matches.get(), 0));
  if (!best || proj_get_id_code(best.get(), 0) == nullptr) return false;
  result.authority = Text(proj_get_id_auth_name(best.get(), 0));
  result.code = Text(proj_get_id_code(best.get(), 0));
  return true;
}

void Identify(ProjContext& context, const PJ* crs, Crs& result) {
  result.authority = Text(proj_get_id_auth_name(crs, 0));
  result.code = Text(proj_get_id_code(crs, 0));
  if (result.code.empty() && !IdentifyWithFullConfidence(context, crs, result)) {
    result.authority.clear();
    result.code.clear();
  }
  if (!result.code.empty()) {
    const ProjObject registered(proj_create_from_database(context.get(), result.authority.c_str(),
                                                          result.code.c_str(), PJ_CATEGORY_CRS, 0, nullptr));
    if (SameCrs(context, registered.get(), crs)) {
      result.definition = result.authority + ":" + result.code;
      return;
    }
  }
  result.authority.clear();
  result.code.clear();
  result.definition = Text(proj_as_wkt(context.get(), crs, PJ_WKT2_2019, nullptr));
}

}  // namespace

CrsResult FindCrs(ProjContext& context, std::string_view text) {
  const std::string trimmed = Trimmed(text);
  if (trimmed.empty()) return Failure(GeoError{GeoErrorKind::NoCrs, {}, {}, {}});
  const std::string input = AllDigits(trimmed) ? "EPSG:" + trimmed : trimmed;
  const ProjObject crs(proj_create(context.get(), input.c_str()));
  if (!crs) return Failure(context.error(GeoErrorKind::UnknownCrs));
  if (!proj_is_crs(crs.get())) return Failure(GeoError{GeoErrorKind::UnknownCrs, input + " is not a CRS", {}, {}});

  const ProjObject base = HorizontalPart(context, crs.get());
  const PJ* horizontal = base ? base.get() : crs.get();
  const PJ_TYPE type = proj_get_type(horizontal);
  if (type != PJ_TYPE_PROJECTED_CRS && type != PJ_TYPE_GEOGRAPHIC_2D_CRS) {
    return Failure(GeoError{GeoErrorKind::UnsuitableCrs, Text(proj_get_name(crs.get())), {}, {}});
  }

  Crs result;
  result.name = Text(proj_get_name(crs.get()));
  result.geographic = type == PJ_TYPE_GEOGRAPHIC_2D_CRS;
  result.deprecated = proj_is_deprecated(crs.get()) != 0;
  result.area = CrsArea(context, crs.get());
  Identify(context, crs.get(), result);
  if (result.definition.empty()) return Failure(context.error(GeoErrorKind::UnknownCrs));
  return {std::move(result), std::nullopt};
}

AreaOfUse CrsArea(ProjContext& context, const PJ* crs) {
  const AreaOfUse area = AreaOf(context, crs);
  if (area.known) return area;
  const ProjObject base = HorizontalPart(context, crs);
  return base ? AreaOf(context, base.get()) : area;
}

ProjObject CrsObject(ProjContext& context, const Crs& crs, GeoError* error) {
  if (crs.definition.empty()) {
    *error = GeoError{GeoErrorKind::NoCrs, {}, {}, {}};
    return nullptr;
  }
  ProjObject object(proj_create(context.get(), crs.definition.c_str()));
  if (!object || !proj_is_crs(object.get())) {
    *error = context.error(GeoErrorKind::UnknownCrs);
    return nullptr;
  }
  return object;
}

}  // namespace velmaro::geo

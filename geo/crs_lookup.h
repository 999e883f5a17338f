#pragma once
// A CRS from what a user typed or a side file held, described as the plain Crs of geo.h, and back to a
// PROJ object.

#include <string_view>

#include "geo/geo.h"
#include "geo/proj_context.h"

namespace velmaro::geo {

// See Geo::crs. A definition that carries an authority's code (or, without one, that PROJ identifies
// with full confidence) is kept as "AUTH:CODE" when the authority's CRS of that code is the same CRS,
// axis order aside; any other definition is kept as its WKT, so nothing of it is lost.
CrsResult FindCrs(ProjContext& context, std::string_view text);

// PROJ's object for crs.definition; nothing, with context's error of the kind UnknownCrs (NoCrs for an
// empty definition) in *error, when PROJ cannot read it.
ProjObject CrsObject(ProjContext& context, const Crs& crs, GeoError* error);

// The area of use PROJ gives for crs, or for the CRS a bound CRS is drawn in; not known when PROJ has none.
AreaOfUse CrsArea(ProjContext& context, const PJ* crs);

}  // namespace velmaro::geo

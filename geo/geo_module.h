#pragma once
// The one symbol the module exports, shared by the loader and the module.

#include "geo/geo.h"

namespace velmaro::geo {

inline constexpr const char* kGeoFactorySymbol = "velmaro_geo_create";

// Returns a new Geo that the caller owns, or nothing when interfaceVersion is not the module's
// kGeoInterfaceVersion (a program and a module built from different headers).
using GeoFactory = Geo* (*)(int interfaceVersion);

}  // namespace velmaro::geo

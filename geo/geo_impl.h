#pragma once
// The Geo of geo.h on PROJ and GDAL. The module hands it out through its factory; tests build it here
// directly.

#include <memory>

#include "geo/geo.h"

namespace velmaro::geo {

std::unique_ptr<Geo> CreateGeo();

}  // namespace velmaro::geo

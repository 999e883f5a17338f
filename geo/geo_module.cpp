// The module's one exported symbol; everything else in libvelmaro_geo.so stays hidden.

#include "geo/geo_impl.h"
#include "geo/geo_module.h"

extern "C" __attribute__((visibility("default"))) velmaro::geo::Geo* velmaro_geo_create(int interfaceVersion) {
  if (interfaceVersion != velmaro::geo::kGeoInterfaceVersion) return nullptr;
  return velmaro::geo::CreateGeo().release();
}

// The loader finds the factory by this name; a rename on one side only fails to compile here.
static_assert(std::string_view(velmaro::geo::kGeoFactorySymbol) == "velmaro_geo_create");

#pragma once
// Loading the module that talks to PROJ and GDAL, when it is first needed: GDAL and PROJ pull in about a
// hundred shared libraries, which the program does not pay for at start-up. The program links this
// loader only (and the system's dl); it never links PROJ or GDAL.

#include <string>

#include "geo/geo.h"

namespace velmaro::geo {

// The module's file, in the application folder beside the program.
inline constexpr const char* kGeoModuleFile = "libvelmaro_geo.so";

struct LoadedGeo {
  Geo* geo = nullptr;  // lives until the process ends; nothing when the module could not be loaded
  std::string error;   // why not: the dynamic loader's message (a missing file, a missing library)
};

// Loads kGeoModuleFile from applicationFolder on the first call that succeeds and keeps it for the
// rest of the process; later calls return that same Geo, whatever folder they name. A call that fails
// changes nothing, so a later call may try again. Thread safe.
LoadedGeo LoadGeo(const std::string& applicationFolder);

}  // namespace velmaro::geo

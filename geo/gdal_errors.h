#pragma once
// The one place where GDAL's errors become GeoErrors. GDAL reports through the error handler of the
// calling thread (what CPLGetLastErrorMsg keeps is the last of it); while a GdalErrorTrap lives, what
// GDAL reports on this thread is collected here instead of being printed. Some drivers fail without a
// word (a short write is often only a returned code), so every caller names what failed as well.

#include <cpl_error.h>

#include <string>

#include "geo/geo.h"

namespace velmaro::geo {

// Registers GDAL's drivers, once per process; every entry into GDAL calls it first.
void UseGdal();

class GdalErrorTrap {
 public:
  GdalErrorTrap();
  ~GdalErrorTrap();
  GdalErrorTrap(const GdalErrorTrap&) = delete;
  GdalErrorTrap& operator=(const GdalErrorTrap&) = delete;

  // GDAL reported a failure (not a mere warning) since the trap was set.
  bool failed() const { return failed_; }
  // The error of the given kind with GDAL's messages (failures and warnings, the first few in order, then
  // how many more), or otherwise what it names, as detail.
  GeoError error(GeoErrorKind kind, const std::string& otherwise = {}) const;

 private:
  static void CPL_STDCALL Collect(CPLErr level, CPLErrorNum number, const char* message);

  std::string messages_;
  int kept_ = 0;
  int moreMessages_ = 0;
  bool failed_ = false;
};

}  // namespace velmaro::geo

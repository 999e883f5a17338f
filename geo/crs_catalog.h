#pragma once
// PROJ's list of the CRSs a flat map is drawn in, read from its database once and searched in memory,
// so that the chooser answers every keystroke at once. See Geo::searchCrs for what matches and in which
// order.

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "geo/geo.h"

namespace velmaro::geo {

class CrsCatalog {
 public:
  // Reads the list on the first call, from any thread; later calls return at once.
  void prepare();
  std::vector<Crs> search(std::string_view query, std::size_t maxResults);

  struct Entry {
    Crs crs;
    std::string words;    // authority and name in lower case, what a query's words are matched against
    double areaSize = 0;  // of the area of use, in square degrees weighted by latitude; 0 when not known
  };

 private:
  std::once_flag read_;
  std::vector<Entry> entries_;
};

}  // namespace velmaro::geo

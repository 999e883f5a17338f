#pragma once
// The XY file: the point table as comma-separated text, UTF-8, CR LF line ends.
// First the header row (",, X coord,, Y coord"), then one line per point
// ("Pt 1,E,12500,N,27500"); no lines for the empty grid rows. A cell holding a comma, a double quote
// or a line break is quoted as comma-separated files do ("a,b" -> "\"a,b\"", inner quotes doubled).

#include <optional>
#include <string>

#include "core/point_table.h"
#include "files/safe_write.h"

namespace velmaro {

std::string XyFileText(const PointTable& table);

std::optional<WriteFailure> WriteXyFile(const std::string& path, const PointTable& table);

}  // namespace velmaro

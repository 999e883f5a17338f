#pragma once
// The XY file: the point table as comma-separated text, UTF-8, CR LF after every line.
// First the header row (",, X coord,, Y coord": the cells "", "", " X coord", "", " Y coord"), then one
// line per point ("Pt 1,E,12500,N,27500"); no lines for the empty grid rows. A cell holding a comma, a
// double quote, a CR or a LF is quoted as comma-separated files do ("a,b" -> "\"a,b\"", inner quotes
// doubled); every other cell, leading and trailing blanks included, is written unchanged.

#include <optional>
#include <string>
#include <string_view>

#include "core/point_table.h"
#include "files/safe_write.h"

namespace velmaro {

std::string CsvCell(std::string_view cell);

std::string XyFileText(const PointTable& table);

// Replaces the file as a whole (ReplaceFileContents); nothing on success.
std::optional<FileError> WriteXyFile(const std::string& path, const PointTable& table);

}  // namespace velmaro

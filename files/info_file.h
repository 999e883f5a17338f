#pragma once
// The info file beside a map: its calibration in ten lines, each ended by CR LF.
//   1-3  " 1 " or " 0 " for Meters, DegMinSec, DecimalDegrees
//   4    map path      5-8  the four edge texts (left, right, top, bottom)
//   9-10 the X and Y axis captions

#include <optional>
#include <string>
#include <string_view>

#include "core/coordinate_type.h"
#include "core/map_frame.h"
#include "files/safe_write.h"

namespace velmaro {

struct InfoFileValues {
  NotationChoice notation;  // none selected when no flag line holds 1
  std::string mapPath;      // Text1
  MapFrame frame;           // Text2..Text5, Label1, Label2
};

// The exact bytes of the file: UTF-8, CR LF after every line, texts unchanged.
std::string InfoFileText(const InfoFileValues& values);

std::optional<WriteFailure> WriteInfoFile(const std::string& path, const InfoFileValues& values);

// Reads the file's bytes as Affiche_Parametres does: lines trimmed (CR LF or LF); flag lines applied in
// turn, the last 1 winning; in DegMinSec lines 4-8 verbatim, otherwise lines 5-8 normalised through
// NumberText when they are one number and unchanged when not; a missing line counts as 0 or empty.
// Bytes that are not UTF-8 are read as Windows-1252.
InfoFileValues ParseInfoFile(std::string_view bytes);

// The file read from disk; a file that cannot be opened reads like an empty one.
InfoFileValues ReadInfoFile(const std::string& path);

}  // namespace velmaro

#pragma once
// The info file beside a map: its calibration in ten lines, each ended by CR LF.
//   1-3  " 1 " or " 0 " for Meters, DegMinSec, DecimalDegrees
//   4    map path      5-8  the four edge texts (left, right, top, bottom)
//   9-10 the X and Y axis captions

#include <cstddef>
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

// A larger file is no info file we wrote; it reads like one that cannot be opened.
inline constexpr std::size_t kMaxInfoFileBytes = std::size_t{64} * 1024 * 1024;

// The exact bytes of the file: UTF-8, CR LF after every line, texts unchanged.
std::string InfoFileText(const InfoFileValues& values);

// Replaces the file as a whole (ReplaceFileContents); nothing on success.
std::optional<FileError> WriteInfoFile(const std::string& path, const InfoFileValues& values);

// Reads the file's bytes as Affiche_Parametres does. Lines end at LF, one CR before it dropped, so
// CR LF and LF files read alike; blanks and tabs around each value are removed. Flag lines are applied
// in turn to Meters, DegMinSec, DecimalDegrees: a line whose whole text is the number 1 selects its
// notation (the others deselected, so the last 1 wins); any other line, a non-number included,
// deselects only its own notation. In DegMinSec lines 4-8 are kept verbatim; otherwise lines 5-8 that
// hold one number come back as its NumberText ("010000" -> "10000") and other lines unchanged. A
// missing line counts as 0 or empty; lines after the tenth are ignored. A leading byte order mark is
// dropped, and the ten lines are read as Windows-1252 when they are not valid UTF-8. Never fails.
InfoFileValues ParseInfoFile(std::string_view bytes);

// The file read from disk; a file that cannot be opened or read, or one larger than
// kMaxInfoFileBytes, reads like an empty one.
InfoFileValues ReadInfoFile(const std::string& path);

}  // namespace velmaro

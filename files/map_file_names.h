#pragma once
// Companion files of a map: the map path with exactly its last four characters replaced.
// The dot is not searched for: "a.jpeg" gives "a..txt". A path shorter than four characters has no
// base name and every derived name is empty; a path of exactly four characters has the empty base
// name, so its companions are ".txt", ".info" and ".kml". Lengths count characters (UTF-8 code points),
// not bytes; a byte that is not part of a well-formed UTF-8 sequence counts as one character.

#include <string>
#include <optional>
#include <string_view>
#include <vector>

namespace velmaro {

std::string BaseName(std::string_view mapPath);
std::string XyFileName(std::string_view mapPath);    // base + ".txt"
std::string InfoFileName(std::string_view mapPath);  // base + ".info"
std::string KmlFileName(std::string_view mapPath);   // base + ".kml"

// The world files GDAL looks for beside a picture, in its order: the extension's first and last letters
// and "w" (map.jgw), the extension and "w" (map.jpgw), "wld"; each also in capitals, as another program
// may have written it. These follow the extension after the last dot, as GDAL does, not the four
// characters above. The first is the one VELMARO writes.
std::vector<std::string> WorldFileNames(const std::string& mapPath);
// The first of them that exists as a file, if any.
std::optional<std::string> ExistingWorldFile(const std::string& mapPath);

}  // namespace velmaro

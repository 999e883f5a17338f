#include "files/map_file_names.h"

#include <cctype>
#include <filesystem>

#include <optional>
#include <vector>

#include "files/text_encoding.h"

namespace velmaro {
namespace {

constexpr std::size_t kCutCharacters = 4;

// Byte offset at which each character of the text starts. Walking forward (rather than back from the
// end) keeps a broken sequence from swallowing the character in front of it.
std::vector<std::size_t> CharacterStarts(std::string_view text) {
  std::vector<std::size_t> starts;
  std::size_t pos = 0;
  while (pos < text.size()) {
    starts.push_back(pos);
    const std::size_t length = Utf8SequenceLength(text, pos);
    pos += length == 0 ? 1 : length;
  }
  return starts;
}

// No value for a path too short to lose four characters: such a path has no companions at all,
// which differs from the empty base of a four-character path.
std::optional<std::string_view> CutBase(std::string_view mapPath) {
  const std::vector<std::size_t> starts = CharacterStarts(mapPath);
  if (starts.size() < kCutCharacters) return std::nullopt;
  return mapPath.substr(0, starts[starts.size() - kCutCharacters]);
}

std::string CompanionName(std::string_view mapPath, std::string_view extension) {
  const std::optional<std::string_view> base = CutBase(mapPath);
  if (!base) return {};
  std::string name(*base);
  name += extension;
  return name;
}

}  // namespace

std::string BaseName(std::string_view mapPath) { return std::string(CutBase(mapPath).value_or("")); }

std::string XyFileName(std::string_view mapPath) { return CompanionName(mapPath, ".txt"); }

std::string InfoFileName(std::string_view mapPath) { return CompanionName(mapPath, ".info"); }

std::string KmlFileName(std::string_view mapPath) { return CompanionName(mapPath, ".kml"); }

}  // namespace velmaro

namespace velmaro {

namespace {
std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}
}  // namespace

std::vector<std::string> WorldFileNames(const std::string& mapPath) {
  const std::filesystem::path map(mapPath);
  const std::string extension = map.extension().string();
  if (extension.size() < 2) return {std::filesystem::path(map).replace_extension(".wld").string()};
  const std::string initials = std::string(".") + extension[1] + extension.back() + "w";
  std::vector<std::string> names;
  for (const std::string& tail : {initials, extension + "w", std::string(".wld")}) {
    names.push_back(std::filesystem::path(map).replace_extension(tail).string());
    names.push_back(std::filesystem::path(map).replace_extension(Upper(tail)).string());
  }
  return names;
}

std::optional<std::string> ExistingWorldFile(const std::string& mapPath) {
  std::error_code ignored;
  for (const std::string& name : WorldFileNames(mapPath))
    if (std::filesystem::is_regular_file(name, ignored)) return name;
  return std::nullopt;
}

}  // namespace velmaro

#include "files/info_file.h"

#include <array>

#include "core/number_text.h"
#include "files/bounded_file.h"
#include "files/text_encoding.h"

namespace velmaro {
namespace {

constexpr std::size_t kLineCount = 10;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kBlanks = " \t";

using InfoLines = std::array<std::string_view, kLineCount>;

std::string FlagText(const NotationChoice& notation, CoordinateType option) {
  return notation == option ? " 1 " : " 0 ";
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

// The bytes of the first ten lines (and of nothing after them): only these decide the character set,
// so junk further down cannot turn a UTF-8 path into Windows-1252 mojibake.
std::string_view FirstLines(std::string_view bytes) {
  std::size_t end = 0;
  for (std::size_t line = 0; line < kLineCount && end < bytes.size(); ++line) {
    const std::size_t lf = bytes.find('\n', end);
    end = lf == std::string_view::npos ? bytes.size() : lf + 1;
  }
  return bytes.substr(0, end);
}

// Missing lines stay empty.
InfoLines SplitLines(std::string_view text) {
  InfoLines lines{};
  for (std::size_t line = 0; line < kLineCount && !text.empty(); ++line) {
    const std::size_t lf = text.find('\n');
    std::string_view current = text.substr(0, lf);
    text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
    if (current.ends_with('\r')) current.remove_suffix(1);
    lines[line] = Trimmed(current);
  }
  return lines;
}

// The three option buttons are mutually exclusive: selecting one deselects the others, but
// deselecting one leaves the others as they are. So " 1 ", " 1 ", " 0 " ends in DegMinSec.
NotationChoice NotationFromFlags(const InfoLines& lines) {
  constexpr std::array<CoordinateType, 3> kOptions = {CoordinateType::Meters, CoordinateType::DegMinSec,
                                                      CoordinateType::DecimalDegrees};
  NotationChoice selected;
  for (std::size_t k = 0; k < kOptions.size(); ++k) {
    const std::optional<double> flag = WholeTextNumber(lines[k]);
    if (flag == 1.0) {
      selected = kOptions[k];
    } else if (selected == kOptions[k]) {
      selected.reset();
    }
  }
  return selected;
}

std::string NormalisedEdgeText(std::string_view line) {
  const std::optional<double> value = WholeTextNumber(line);
  return value ? NumberText(*value) : std::string(line);
}

std::string EdgeText(std::string_view line, const NotationChoice& notation) {
  return notation == CoordinateType::DegMinSec ? std::string(line) : NormalisedEdgeText(line);
}

}  // namespace

std::string InfoFileText(const InfoFileValues& values) {
  const MapFrame& frame = values.frame;
  const std::array<std::string, kLineCount> lines = {FlagText(values.notation, CoordinateType::Meters),
                                                     FlagText(values.notation, CoordinateType::DegMinSec),
                                                     FlagText(values.notation, CoordinateType::DecimalDegrees),
                                                     values.mapPath,
                                                     frame.left,
                                                     frame.right,
                                                     frame.top,
                                                     frame.bottom,
                                                     frame.xCaption,
                                                     frame.yCaption};
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += kLineEnd;
  }
  return text;
}

std::optional<FileError> WriteInfoFile(const std::string& path, const InfoFileValues& values) {
  return ReplaceFileContents(path, InfoFileText(values));
}

InfoFileValues ParseInfoFile(std::string_view bytes) {
  const std::string text = DecodeUtf8OrWindows1252(FirstLines(WithoutUtf8Bom(bytes)));
  const InfoLines lines = SplitLines(text);
  InfoFileValues values;
  values.notation = NotationFromFlags(lines);
  values.mapPath = std::string(lines[3]);
  values.frame.left = EdgeText(lines[4], values.notation);
  values.frame.right = EdgeText(lines[5], values.notation);
  values.frame.top = EdgeText(lines[6], values.notation);
  values.frame.bottom = EdgeText(lines[7], values.notation);
  values.frame.xCaption = std::string(lines[8]);
  values.frame.yCaption = std::string(lines[9]);
  return values;
}

InfoFileValues ReadInfoFile(const std::string& path) {
  return ParseInfoFile(ReadWholeFile(path, kMaxInfoFileBytes).bytes);
}

}  // namespace velmaro

#include "files/xy_file.h"

#include <array>

namespace velmaro {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

using CsvRow = std::array<std::string_view, 5>;

void AppendRow(std::string& text, const CsvRow& cells) {
  for (std::size_t k = 0; k < cells.size(); ++k) {
    if (k > 0) text += ',';
    text += CsvCell(cells[k]);
  }
  text += kLineEnd;
}

}  // namespace

std::string CsvCell(std::string_view cell) {
  if (cell.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(cell);
  std::string quoted = "\"";
  for (const char c : cell) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string XyFileText(const PointTable& table) {
  std::string text;
  AppendRow(text, {"", "", kXHeader, "", kYHeader});
  for (const PointRow& row : table.rows()) AppendRow(text, {row.name, row.xLetter, row.xText, row.yLetter, row.yText});
  return text;
}

std::optional<FileError> WriteXyFile(const std::string& path, const PointTable& table) {
  return ReplaceFileContents(path, XyFileText(table));
}

}  // namespace velmaro

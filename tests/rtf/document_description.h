#pragma once
// A one-line-per-paragraph text of a document model, so that a test row can state a whole expected
// document in one string. A run reads "{flags:text}", where flags are b, i, u, s=<points> (when not
// 12), c=<rrggbb> and f=<family>, joined by commas; a paragraph that is not left-aligned starts with
// "=center=", "=right=" or "=justify=", and one with indents, spacing or tab stops with
// "[li=..,fi=..,sb=..,sa=..,tx=..|..]" listing only what is set. Each paragraph ends with "\n".

#include <charconv>
#include <cstdio>
#include <string>

#include "files/rtf/rtf_document.h"

namespace velmaro::rtf::testing {

inline std::string DescribeFormat(const CharFormat& format) {
  std::string flags;
  const auto add = [&flags](const std::string& flag) { flags += (flags.empty() ? "" : ",") + flag; };
  if (format.bold) add("b");
  if (format.italic) add("i");
  if (format.underline) add("u");
  if (format.pointSize != kDefaultPointSize) {
    char size[32];
    const auto end = std::to_chars(size, size + sizeof size, format.pointSize).ptr;
    add("s=" + std::string(size, end));
  }
  if (format.colour) {
    char colour[16];
    std::snprintf(colour, sizeof colour, "c=%02x%02x%02x", format.colour->red, format.colour->green,
                  format.colour->blue);
    add(colour);
  }
  if (format.fontFamily) add("f=" + *format.fontFamily);
  return flags;
}

inline std::string DescribeAlignment(Alignment alignment) {
  switch (alignment) {
    case Alignment::Center: return "=center=";
    case Alignment::Right: return "=right=";
    case Alignment::Justify: return "=justify=";
    case Alignment::Left: break;
  }
  return "";
}

inline std::string DescribeSpacing(const ParagraphFormat& format) {
  std::string text;
  const auto add = [&text](const char* name, int twips) {
    if (twips != 0) text += (text.empty() ? "" : ",") + std::string(name) + "=" + std::to_string(twips);
  };
  add("li", format.leftIndent);
  add("fi", format.firstLineIndent);
  add("sb", format.spaceBefore);
  add("sa", format.spaceAfter);
  for (std::size_t i = 0; i < format.tabStops.size(); ++i) {
    text += (i == 0 ? (text.empty() ? "tx=" : ",tx=") : "|") + std::to_string(format.tabStops[i]);
  }
  return text.empty() ? text : "[" + text + "]";
}

inline std::string Describe(const Document& document) {
  std::string text;
  for (const Paragraph& paragraph : document.paragraphs) {
    text += DescribeAlignment(paragraph.format.alignment) + DescribeSpacing(paragraph.format);
    for (const Run& run : paragraph.runs) text += "{" + DescribeFormat(run.format) + ":" + run.text + "}";
    text += "\n";
  }
  return text;
}

}  // namespace velmaro::rtf::testing

// The rich-text reader on every seed of its fuzzer and on the user manual, each compared with a golden
// description in expected/. A run reads "{flags:text}" (flags b, i, u, s=<points> when not 12,
// c=<rrggbb>, f=<family>); a paragraph starts with "=center=", "=right=" or "=justify=" when so aligned
// and with "[li=..,fi=..,sb=..,sa=..,tx=..|..]" for what is set, and ends with a line end.

#include <cstdio>

#include "files/rtf/rtf_document.h"
#include "tests/files/support.h"

namespace velmaro::rtf {
namespace {

namespace fs = std::filesystem;

std::string Flags(const CharFormat& format) {
  char size[32] = "", colour[16] = "";
  if (format.pointSize != kDefaultPointSize) std::snprintf(size, sizeof size, ",s=%g", format.pointSize);
  if (format.colour) std::snprintf(colour, sizeof colour, ",c=%02x%02x%02x", format.colour->red, format.colour->green, format.colour->blue);
  const std::string flags = std::string(format.bold ? ",b" : "") + (format.italic ? ",i" : "") +
                            (format.underline ? ",u" : "") + size + colour + (format.fontFamily ? ",f=" + *format.fontFamily : "");
  return flags.empty() ? flags : flags.substr(1);
}

std::string Spacing(const ParagraphFormat& format) {
  std::string text;
  const std::pair<const char*, int> values[] = {{"li", format.leftIndent}, {"fi", format.firstLineIndent},
                                                {"sb", format.spaceBefore}, {"sa", format.spaceAfter}};
  for (const auto& [name, twips] : values) {
    if (twips != 0) text += "," + std::string(name) + "=" + std::to_string(twips);
  }
  for (std::size_t i = 0; i < format.tabStops.size(); ++i) text += (i == 0 ? ",tx=" : "|") + std::to_string(format.tabStops[i]);
  return text.empty() ? text : "[" + text.substr(1) + "]";
}

std::string Describe(const Document& document) {
  constexpr const char* kAlignments[] = {"", "=center=", "=right=", "=justify="};
  std::string text = document.truncated ? "(truncated)\n" : "";
  for (const Paragraph& paragraph : document.paragraphs) {
    text += kAlignments[static_cast<int>(paragraph.format.alignment)] + Spacing(paragraph.format);
    for (const Run& run : paragraph.runs) text += "{" + Flags(run.format) + ":" + run.text + "}";
    text += "\n";
  }
  return text;
}

const fs::path kExpected = fs::path(VELMARO_RTF_TESTS) / "expected";

TEST(Golden, FuzzSeeds) {
  for (const auto& seed : fs::directory_iterator(VELMARO_RTF_SEEDS)) {
    test::ExpectGolden(kExpected / (seed.path().filename().string() + ".txt"), Describe(ReadDocument(test::Slurp(seed.path()))));
  }
}

TEST(Golden, Manual) { test::ExpectGolden(kExpected / "manual.txt", Describe(ReadDocument(test::Slurp(VELMARO_MANUAL_RTF)))); }

}  // namespace
}  // namespace velmaro::rtf

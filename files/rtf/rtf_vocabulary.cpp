#include "files/rtf/rtf_vocabulary.h"

#include <string_view>
#include <unordered_map>

namespace velmaro::rtf {
namespace {

using Meanings = std::unordered_map<std::string_view, WordMeaning>;

void AddFormatting(Meanings& m) {
  using enum WordMeaning;
  m.insert({{"b", Bold}, {"i", Italic}, {"ul", Underline}, {"uld", Underline}, {"uldb", Underline},
            {"uldash", Underline}, {"uldashd", Underline}, {"ulth", Underline}, {"ulw", Underline},
            {"ulwave", Underline}, {"ulnone", UnderlineNone}, {"fs", FontSize}, {"cf", ColourIndex},
            {"f", FontIndex}, {"plain", PlainFormat}, {"pard", ParagraphDefaults}, {"ql", AlignLeft},
            {"qc", AlignCenter}, {"qr", AlignRight}, {"qj", AlignJustify}, {"li", LeftIndent},
            {"fi", FirstLineIndent}, {"sb", SpaceBefore}, {"sa", SpaceAfter}, {"tx", TabStop}});
}

void AddContent(Meanings& m) {
  using enum WordMeaning;
  // A section, page or table row ends the paragraph as well; a cell reads as a tab.
  m.insert({{"par", ParagraphBreak}, {"sect", ParagraphBreak}, {"page", ParagraphBreak},
            {"row", ParagraphBreak}, {"line", LineBreak}, {"tab", Tab}, {"cell", Tab}, {"u", Unicode},
            {"uc", UnicodeSkipCount}, {"deff", DefaultFont}, {"fonttbl", FontTable},
            {"colortbl", ColourTable}, {"red", Red}, {"green", Green}, {"blue", Blue}});
  for (std::string_view word : {"emdash", "endash", "emspace", "enspace", "qmspace", "bullet", "lquote", "rquote",
                                "ldblquote", "rdblquote", "zwj", "zwnj", "zwbo", "ltrmark", "rtlmark"}) {
    m.emplace(word, Symbol);
  }
}

// Destinations whose content is not part of the visible text. Lists shown to the reader (\pntext,
// \listtext) and field results (\fldrslt) are kept.
void AddSkippedDestinations(Meanings& m) {
  for (std::string_view word :
       {"aftncn", "aftnsep", "aftnsepc", "annotation", "atnauthor", "atndate", "atnicn", "atnid", "atnref",
        "atntime", "atrfend", "atrfstart", "author", "background", "bkmkend", "bkmkstart", "blipuid", "buptim",
        "category", "colorschememapping", "comment", "company", "creatim", "datafield", "datastore", "docvar",
        "doccomm", "falt", "fchars", "ffdeftext", "ffentrymcr", "ffexitmcr", "ffformat", "ffhelptext", "ffl",
        "ffname", "ffstattext", "filetbl", "fldinst", "fldtype", "footer", "footerf", "footerl", "footerr",
        "footnote", "formfield", "ftncn", "ftnsep", "ftnsepc", "generator", "header", "headerf", "headerl",
        "headerr", "hlinkbase", "info", "keywords", "latentstyles", "lchars", "listoverridetable",
        "listpicture", "listtable", "manager", "mmathPr", "nesttableprops", "nextfile", "nonesttables",
        "nonshppict", "objalias", "objclass", "objdata", "object", "objname", "objsect", "objtime", "oldcprops",
        "oldpprops", "oldsprops", "oldtprops", "operator", "panose", "passwordhash", "pgdsctbl", "pict",
        "picprop", "pn", "pnseclvl", "pntxta", "pntxtb", "printim", "private", "propname", "protusertbl",
        "revtbl", "revtim", "rsidtbl", "shp", "shpinst", "stylesheet", "subject", "tc", "template",
        "themedata", "title", "txe", "userprops", "wgrffmtfilter", "windowcaption", "writereservation",
        "writereservhash", "xe", "xform", "xmlattrname", "xmlattrvalue", "xmlclose", "xmlname", "xmlnstbl",
        "xmlopen"}) {
    m.emplace(word, WordMeaning::SkippedDestination);
  }
}

const Meanings& AllMeanings() {
  static const Meanings meanings = [] {
    Meanings m;
    AddFormatting(m);
    AddContent(m);
    AddSkippedDestinations(m);
    return m;
  }();
  return meanings;
}

}  // namespace

WordMeaning MeaningOf(std::string_view word) {
  const auto& meanings = AllMeanings();
  const auto found = meanings.find(word);
  return found == meanings.end() ? WordMeaning::Ignored : found->second;
}

std::optional<char32_t> SymbolCodePoint(std::string_view word) {
  static const std::unordered_map<std::string_view, char32_t> symbols = {
      {"emdash", 0x2014},  {"endash", 0x2013},    {"emspace", 0x2003},   {"enspace", 0x2002},
      {"qmspace", 0x2005}, {"bullet", 0x2022},    {"lquote", 0x2018},    {"rquote", 0x2019},
      {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D},      {"zwnj", 0x200C},
      {"zwbo", 0x200B},    {"ltrmark", 0x200E},   {"rtlmark", 0x200F},
  };
  const auto found = symbols.find(word);
  if (found == symbols.end()) return std::nullopt;
  return found->second;
}

std::optional<char32_t> ControlSymbolCodePoint(char symbol) {
  switch (symbol) {
    case '\\': return U'\\';
    case '{': return U'{';
    case '}': return U'}';
    case '~': return 0x00A0;  // non-breaking space
    case '-': return 0x00AD;  // optional hyphen: invisible unless the line breaks there
    case '_': return 0x2011;  // non-breaking hyphen
    default: return std::nullopt;
  }
}

}  // namespace velmaro::rtf

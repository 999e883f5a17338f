// The RTF reader on the constructs a manual uses: one row per construct, the whole expected document
// in one string (see document_description.h).

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "files/rtf/rtf_document.h"
#include "tests/rtf/document_description.h"

namespace velmaro::rtf {
namespace {

using testing::Describe;

struct ReaderCase {
  const char* name;
  std::string_view rtf;
  std::string_view expected;
};

const ReaderCase kReaderCases[] = {
    {"BoldRunAndDelimitingBlank", "{\\rtf1 plain \\b bold\\b0  after}", "{:plain }{b:bold}{: after}\n"},
    {"ItalicAndUnderline", "{\\rtf1 \\i it\\i0 \\ul under\\ulnone  x\\ul0 y}", "{i:it}{u:under}{: xy}\n"},
    {"UnderlineZeroSwitchesOff", "{\\rtf1 \\ul a\\ul0 b}", "{u:a}{:b}\n"},
    {"GroupRestoresFormat", "{\\rtf1 a{\\b b{\\i c}d}e}", "{:a}{b:b}{b,i:c}{b:d}{:e}\n"},
    {"PlainResetsCharacterFormat", "{\\rtf1 \\b\\i\\ul\\fs40 a\\plain b}", "{b,i,u,s=20:a}{:b}\n"},
    {"FontSizeInHalfPoints", "{\\rtf1 \\fs20 ten\\fs31 odd\\fs default}", "{s=10:ten}{s=15.5:odd}{:default}\n"},
    {"EqualFormatsMergeIntoOneRun", "{\\rtf1 a{\\b0 b}\\i0 c}", "{:abc}\n"},
    {"ColourTable",
     "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\cf1 red\\cf2 blue\\cf0 auto\\cf7 out}",
     "{c=ff0000:red}{c=0000ff:blue}{:autoout}\n"},
    {"ColourComponentsClamped", "{\\rtf1{\\colortbl;\\red300\\green-4\\blue16;}\\cf1 x}", "{c=ff0010:x}\n"},
    {"FontTableInGroups",
     "{\\rtf1\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}}a\\f1 b\\plain c}",
     "{f=Arial:a}{f=Times New Roman:b}{f=Arial:c}\n"},
    {"FontTableWithoutGroups", "{\\rtf1{\\fonttbl\\f0\\fnil MS Sans Serif;\\f1 Courier;}\\f1 a\\f0 b}",
     "{f=Courier:a}{f=MS Sans Serif:b}\n"},
    {"FontNameWithEscapeAndAltName",
     "{\\rtf1{\\fonttbl{\\f2 Caf\\'e9 Sans{\\*\\falt Other};}}\\f2 a\\f5 b}", "{f=Caf\xC3\xA9 Sans:a}{:b}\n"},
    {"DefaultFontAppliesWithoutF", "{\\rtf1\\deff1{\\fonttbl{\\f0 Arial;}{\\f1 Courier;}}a}", "{f=Courier:a}\n"},
    {"ParLineTab", "{\\rtf1 a\\tab b\\line c\\par d}", "{:a\tb\nc}\n{:d}\n"},
    {"EmptyParagraphsKept", "{\\rtf1 a\\par\\par b\\par}", "{:a}\n\n{:b}\n"},
    {"FinalParNoEmptyParagraph", "{\\rtf1 a\\par}", "{:a}\n"},
    {"SourceLineEndsAreNotText", "{\\rtf1 a\r\nb\nc\rd}", "{:abcd}\n"},
    {"BackslashLineEndIsPar", "{\\rtf1 a\\\nb\\\r\nc}", "{:a}\n{:b}\n{:c}\n"},
    {"HexEscapeWindows1252", "{\\rtf1 caf\\'e9 \\'80\\'93x\\'94}",
     "{:caf\xC3\xA9 \xE2\x82\xAC\xE2\x80\x9Cx\xE2\x80\x9D}\n"},
    {"RawHighByteWindows1252", "{\\rtf1 caf\xE9}", "{:caf\xC3\xA9}\n"},
    {"UnicodeWithDefaultSkip", "{\\rtf1 caf\\u233?s}", "{:caf\xC3\xA9s}\n"},
    {"UnicodeSkipTwo", "{\\rtf1\\uc2 \\u233??x}", "{:\xC3\xA9x}\n"},
    {"UnicodeSkipZero", "{\\rtf1\\uc0 \\u233 ?}", "{:\xC3\xA9?}\n"},
    {"UnicodeSkipCountsHexEscape", "{\\rtf1\\u233\\'e9x}", "{:\xC3\xA9x}\n"},
    {"UnicodeSkipEndsAtGroup", "{\\rtf1\\uc3\\u233{a}b}", "{:\xC3\xA9" "ab}\n"},
    {"UnicodeSkipCountIsGroupScoped", "{\\rtf1{\\uc2 a}\\u233?x}", "{:a\xC3\xA9x}\n"},
    {"UnicodeNegativeCountsFrom65536", "{\\rtf1\\u-3913?}", "{:\xEF\x82\xB7}\n"},
    {"UnicodeNegativeFullwidth", "{\\rtf1\\u-255?}", "{:\xEF\xBC\x81}\n"},
    {"UnicodeSurrogatePair", "{\\rtf1\\u-10179?\\u-8704?}", "{:\xF0\x9F\x98\x80}\n"},
    {"UnicodeLoneHighSurrogate", "{\\rtf1\\u-10179?x}", "{:\xEF\xBF\xBDx}\n"},
    {"UnicodeLoneLowSurrogate", "{\\rtf1\\u-8704?x}", "{:\xEF\xBF\xBDx}\n"},
    {"UnicodeOutOfRange", "{\\rtf1\\u70000?x}", "{:\xEF\xBF\xBDx}\n"},
    {"SymbolWords", "{\\rtf1\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
     "{:\xE2\x80\x94\xE2\x80\x93\xE2\x80\xA2\xE2\x80\x98\xE2\x80\x99\xE2\x80\x9C\xE2\x80\x9D}\n"},
    {"ControlSymbols", "{\\rtf1 a\\~b\\-c\\_d\\{\\}\\\\}",
     "{:a\xC2\xA0" "b\xC2\xAD" "c\xE2\x80\x91" "d{}\\}\n"},
    {"StarredDestinationSkipped", "{\\rtf1 a{\\*\\generator Writer 1.0;}{\\*\\unknownword hidden}b}", "{:ab}\n"},
    {"PictSkippedWithHexData", "{\\rtf1 a{\\pict\\pngblip 89504e47\\par}b}", "{:ab}\n"},
    {"BinaryDataMayHoldBraces", "{\\rtf1 a{\\pict\\bin3 }}}}b}", "{:ab}\n"},
    {"InfoStylesheetHeaderFooterSkipped",
     "{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}{\\header H\\par}{\\footer F}x}", "{:x}\n"},
    {"FieldResultShownInstructionNot",
     "{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}{\\field{\\fldinst PAGE}{\\fldrslt 3}}}",
     "{:link3}\n"},
    {"UnknownWordsIgnored", "{\\rtf1\\ansi\\ansicpg1252\\viewkind4\\sl276\\slmult1\\lang1036 text}", "{:text}\n"},
    {"Alignment", "{\\rtf1\\qc centred\\par\\qr right\\par\\qj just\\par\\pard left\\par}",
     "=center={:centred}\n=right={:right}\n=justify={:just}\n{:left}\n"},
    {"IndentsAndSpacing", "{\\rtf1\\li480\\fi-240\\sb120\\sa60 a\\par\\pard b}", "[li=480,fi=-240,sb=120,sa=60]{:a}\n{:b}\n"},
    {"TabStopsInOrder", "{\\rtf1\\tx2400\\tx720 a\\tab b\\par}", "[tx=2400|720]{:a\tb}\n"},
    {"TwipsClamped", "{\\rtf1\\li99999999\\fi-99999999 a}", "[li=31680,fi=-31680]{:a}\n"},
    {"ParagraphFormatGroupScoped", "{\\rtf1{\\qc\\li100 a\\par}b}", "=center=[li=100]{:a}\n{:b}\n"},
    {"AlignmentGroupScoped", "{\\rtf1{\\qc a\\par}b}", "=center={:a}\n{:b}\n"},
    {"EmptyDocument", "{\\rtf1}", ""},
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const ReaderCase& row, std::ostream* out) { *out << row.name; }

class ReaderTest : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderTest, ProducesExpectedModel) {
  const Document document = ParseRtf(GetParam().rtf);
  EXPECT_EQ(Describe(document), GetParam().expected);
  EXPECT_FALSE(document.truncated);
}

INSTANTIATE_TEST_SUITE_P(Constructs, ReaderTest, ::testing::ValuesIn(kReaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmaro::rtf

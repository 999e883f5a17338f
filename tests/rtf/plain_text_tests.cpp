// What the rich-text box gets for a file that is not RTF (the KML document), and how a file is
// recognised as RTF in the first place.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "files/rtf/rtf_document.h"

namespace velmaro::rtf {
namespace {

struct LooksLikeRtfCase {
  const char* name;
  std::string_view bytes;
  bool expected;
};

const LooksLikeRtfCase kLooksLikeRtfCases[] = {
    {"Plain", "{\\rtf1\\ansi x}", true},
    {"OnlyTheMagic", "{\\rtf", true},
    {"LeadingBlanksAndLineEnds", " \t\r\n{\\rtf1", true},
    {"Utf8Bom", "\xEF\xBB\xBF{\\rtf1", true},
    {"BomThenBlanks", "\xEF\xBB\xBF  {\\rtf1", true},
    {"Empty", "", false},
    {"OnlyBlanks", "   ", false},
    {"CutMagic", "{\\rt", false},
    {"XmlDocument", "<?xml version=\"1.0\"?>", false},
    {"TextBeforeMagic", "x{\\rtf1", false},
    {"UpperCaseWord", "{\\RTF1", false},
};

void PrintTo(const LooksLikeRtfCase& row, std::ostream* out) { *out << row.name; }

class LooksLikeRtfTest : public ::testing::TestWithParam<LooksLikeRtfCase> {};

TEST_P(LooksLikeRtfTest, RecognisesTheMagic) { EXPECT_EQ(LooksLikeRtf(GetParam().bytes), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Inputs, LooksLikeRtfTest, ::testing::ValuesIn(kLooksLikeRtfCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct PlainTextCase {
  const char* name;
  std::string_view bytes;
  std::vector<std::string> paragraphs;
};

const PlainTextCase kPlainTextCases[] = {
    {"KmlLinesCrLf", "<?xml version=\"1.0\"?>\r\n<kml>\r\n<Document>\r\n</kml>\r\n",
     {"<?xml version=\"1.0\"?>", "<kml>", "<Document>", "</kml>"}},
    {"LfLineEnds", "a\nb\n", {"a", "b"}},
    {"LoneCrLineEnds", "a\rb", {"a", "b"}},
    {"LastLineWithoutEnd", "a\r\nb", {"a", "b"}},
    {"EmptyLinesKept", "a\r\n\r\n\nb", {"a", "", "", "b"}},
    {"CrCrLfIsTwoLineEnds", "a\r\r\nb", {"a", "", "b"}},
    {"Empty", "", {}},
    {"OnlyLineEnd", "\r\n", {""}},
    {"Utf8Kept", "caf\xC3\xA9\n", {"caf\xC3\xA9"}},
    {"Windows1252WhenNotUtf8", "caf\xE9 \x80\n", {"caf\xC3\xA9 \xE2\x82\xAC"}},
    {"BomDropped", "\xEF\xBB\xBFx", {"x"}},
    {"TabKeptControlsDropped", "a\tb\x01\x1b" "c", {"a\tbc"}},
    {"RtfLookalikeInsideText", "text {\\rtf1 \\b x}", {"text {\\rtf1 \\b x}"}},
};

void PrintTo(const PlainTextCase& row, std::ostream* out) { *out << row.name; }

class PlainTextTest : public ::testing::TestWithParam<PlainTextCase> {};

TEST_P(PlainTextTest, OneDefaultFormatParagraphPerLine) {
  const Document document = ReadDocument(GetParam().bytes);
  std::vector<std::string> texts;
  for (const Paragraph& paragraph : document.paragraphs) {
    texts.push_back(paragraph.Text());
    EXPECT_EQ(paragraph.format, ParagraphFormat{});
    for (const auto& run : paragraph.runs) EXPECT_EQ(run.format, CharFormat{});
  }
  EXPECT_EQ(texts, GetParam().paragraphs);
}

INSTANTIATE_TEST_SUITE_P(Inputs, PlainTextTest, ::testing::ValuesIn(kPlainTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadDocumentTest, RtfInputGoesThroughTheRtfReader) {
  const Document document = ReadDocument("\r\n{\\rtf1 \\b bold}");
  ASSERT_EQ(document.paragraphs.size(), 1u);
  ASSERT_EQ(document.paragraphs[0].runs.size(), 1u);
  EXPECT_EQ(document.paragraphs[0].runs[0].text, "bold");
  EXPECT_TRUE(document.paragraphs[0].runs[0].format.bold);
}

}  // namespace
}  // namespace velmaro::rtf

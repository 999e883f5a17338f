// The user manual that ships with the program reads cleanly through the RTF reader: no control word
// leaks into the text, its headings carry their format, and the texts the program shows are there.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "files/rtf/rtf_document.h"

namespace velmaro::rtf {
namespace {

std::string ReadManualBytes() {
  std::ifstream file(VELMARO_MANUAL_RTF, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class ManualTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    bytes_ = ReadManualBytes();
    manual_ = ParseRtf(bytes_);
  }
  static inline std::string bytes_;
  static inline Document manual_;
};

TEST_F(ManualTest, IsRtfAndReadsWhole) {
  EXPECT_TRUE(LooksLikeRtf(bytes_));
  EXPECT_FALSE(manual_.truncated);
  EXPECT_GT(manual_.paragraphs.size(), 120u);
}

TEST_F(ManualTest, NoControlWordLeaksIntoText) {
  const std::string text = manual_.Text();
  EXPECT_EQ(text.find('\\'), std::string::npos);
  EXPECT_EQ(text.find('{'), std::string::npos);
  EXPECT_EQ(text.find('}'), std::string::npos);
  EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos);  // no broken escape
}

TEST_F(ManualTest, HasColouredBoldHeadings) {
  int headings = 0;
  for (const Paragraph& paragraph : manual_.paragraphs) {
    for (const auto& run : paragraph.runs) {
      if (run.format.bold && run.format.colour && run.format.pointSize > kDefaultPointSize) ++headings;
    }
  }
  EXPECT_GE(headings, 10);
}

// Texts the program shows, quoted in the manual exactly as the program writes them.
const char* const kQuotedTexts[] = {
    "Save XY File", "XY File name", "Map selection", "Info file", "Coordinates Transform", "Quit VELMARO",
    "Contact Tessaro / L.Ambrel", "Meters, UTM (Integer values)", "Deg:Min:Sec (Separator colon :)",
    "Degree and decimals (6 decimals)", "Decimal degree to deg. Min. Sec", "Deg. Min. Sec to decimal degree",
    "Maximum 250 points", "Display the points on GOOGLES EARTH?", "Display KML Code ?", "X Coord. EAST",
    "Y Coord. SOUTH", "Pt 1,E,12500,N,27500", "Unable to launch e-mail", "1.1.25", "velmaro@example.org",
    "xdg-mime default", "application/vnd.google-earth.kml+xml", "11\xC2\xB0  21'  48.02''", "46:30:05",
    "ren\xC3\xA9" "e", "1200 \xC3\x97 800",
};

TEST_F(ManualTest, QuotesTheProgramsTexts) {
  const std::string text = manual_.Text();
  for (const char* quoted : kQuotedTexts) EXPECT_NE(text.find(quoted), std::string::npos) << quoted;
}

}  // namespace
}  // namespace velmaro::rtf

#include "files/info_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "files/text_encoding.h"
#include "tests/files/test_folder.h"

namespace velmaro {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr CoordinateType kMeters = CoordinateType::Meters;
constexpr CoordinateType kDms = CoordinateType::DegMinSec;
constexpr CoordinateType kDecimal = CoordinateType::DecimalDegrees;

InfoFileValues Values(NotationChoice notation, std::string mapPath, std::string left, std::string right,
                      std::string top, std::string bottom, std::string xCaption, std::string yCaption) {
  return {notation, std::move(mapPath),
          MapFrame{std::move(left), std::move(right), std::move(top), std::move(bottom), std::move(xCaption),
                   std::move(yCaption)}};
}

InfoFileValues Empty(NotationChoice notation) { return Values(notation, "", "", "", "", "", "", ""); }

void ExpectSameValues(const InfoFileValues& actual, const InfoFileValues& expected) {
  EXPECT_EQ(actual.notation, expected.notation);
  EXPECT_EQ(actual.mapPath, expected.mapPath);
  EXPECT_EQ(actual.frame.left, expected.frame.left);
  EXPECT_EQ(actual.frame.right, expected.frame.right);
  EXPECT_EQ(actual.frame.top, expected.frame.top);
  EXPECT_EQ(actual.frame.bottom, expected.frame.bottom);
  EXPECT_EQ(actual.frame.xCaption, expected.frame.xCaption);
  EXPECT_EQ(actual.frame.yCaption, expected.frame.yCaption);
}

// ---------------------------------------------------------------------------------------------------
// The written bytes

struct TextCase {
  const char* name;
  InfoFileValues values;
  std::string expected;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class InfoText : public testing::TestWithParam<TextCase> {};

TEST_P(InfoText, IsTenLinesEndedByCrLf) { EXPECT_EQ(InfoFileText(GetParam().values), GetParam().expected); }

const TextCase kTextCases[] = {
    {"deg_min_sec",
     Values(kDms, "D:\\maps\\sheet12.jpg", "6:45:00", "7:00:00", "46:50:00", "46:40:00", "X Coord. EAST",
            "Y Coord. NORTH"),
     " 0 \r\n 1 \r\n 0 \r\nD:\\maps\\sheet12.jpg\r\n6:45:00\r\n7:00:00\r\n46:50:00\r\n46:40:00\r\n"
     "X Coord. EAST\r\nY Coord. NORTH\r\n"},
    {"meters_texts_unchanged",
     Values(kMeters, "/maps/a.jpg", "010000", "15000", "30000", "25000", "X Coord. WEST", "Y Coord. SOUTH"),
     " 1 \r\n 0 \r\n 0 \r\n/maps/a.jpg\r\n010000\r\n15000\r\n30000\r\n25000\r\nX Coord. WEST\r\nY Coord. SOUTH\r\n"},
    {"decimal_degrees", Values(kDecimal, "a.jpg", "6.500000", "7", "46.5", "46", "X Coord. NORTH", "Y Coord. EAST"),
     " 0 \r\n 0 \r\n 1 \r\na.jpg\r\n6.500000\r\n7\r\n46.5\r\n46\r\nX Coord. NORTH\r\nY Coord. EAST\r\n"},
    {"no_notation_empty_texts", Empty(std::nullopt), " 0 \r\n 0 \r\n 0 \r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"},
    {"utf8_path_and_blanks",
     Values(kMeters, "/home/l\u00e9a/my maps/sheet, 12.jpg", " 1", "2 ", "3", "4", "X Coord. EAST", "Y Coord. NORTH"),
     " 1 \r\n 0 \r\n 0 \r\n/home/l\u00e9a/my maps/sheet, 12.jpg\r\n 1\r\n2 \r\n3\r\n4\r\nX Coord. EAST\r\nY Coord. "
     "NORTH\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Values, InfoText, testing::ValuesIn(kTextCases),
                         [](const testing::TestParamInfo<TextCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------------
// Written, then read back

struct RoundTripCase {
  const char* name;
  InfoFileValues written;
  InfoFileValues readBack;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class InfoRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(InfoRoundTrip, RestoresTheCalibration) {
  ExpectSameValues(ParseInfoFile(InfoFileText(GetParam().written)), GetParam().readBack);
}

const InfoFileValues kDmsMap = Values(kDms, "D:\\maps\\sheet12.jpg", "6:45:00", "7:00:00", "46:50:00", "46:40:00",
                                      "X Coord. EAST", "Y Coord. NORTH");
const InfoFileValues kDmsOddTexts =
    Values(kDms, "/m/a.jpg", "010000", "6.500000", "-12:30:00", "7:5:30", "X Coord. WEST", "Y Coord. SOUTH");
const InfoFileValues kPathWithComma =
    Values(kDecimal, "D:\\my maps\\sheet, 12 (copy).jpg", "6.5", "7", "46.5", "46", "X Coord. EAST", "Y Coord. NORTH");

const RoundTripCase kRoundTripCases[] = {
    {"deg_min_sec_exact", kDmsMap, kDmsMap},
    {"deg_min_sec_texts_verbatim", kDmsOddTexts, kDmsOddTexts},
    {"meters_leading_zero_dropped",
     Values(kMeters, "/m/a.jpg", "010000", "15000", "30000", "25000", "X Coord. EAST", "Y Coord. NORTH"),
     Values(kMeters, "/m/a.jpg", "10000", "15000", "30000", "25000", "X Coord. EAST", "Y Coord. NORTH")},
    {"decimal_trailing_zeros_dropped",
     Values(kDecimal, "/m/a.jpg", "6.500000", "7.000", "-0.50", "46.123456", "X Coord. WEST", "Y Coord. SOUTH"),
     Values(kDecimal, "/m/a.jpg", "6.5", "7", "-0.5", "46.123456", "X Coord. WEST", "Y Coord. SOUTH")},
    {"negative_zero_reads_zero",
     Values(kDecimal, "/m/a.jpg", "-0", "-0.0", "0", "+5", "X Coord. EAST", "Y Coord. NORTH"),
     Values(kDecimal, "/m/a.jpg", "0", "0", "0", "5", "X Coord. EAST", "Y Coord. NORTH")},
    {"non_numbers_unchanged",
     Values(kMeters, "/m/a.jpg", "12a", "46:30:00", "", "1.2.3", "X Coord. EAST", "Y Coord. NORTH"),
     Values(kMeters, "/m/a.jpg", "12a", "46:30:00", "", "1.2.3", "X Coord. EAST", "Y Coord. NORTH")},
    {"blanks_around_values_removed",
     Values(kMeters, "  /m/a.jpg\t", " 0012.50 ", "\t15000", "30000 ", "  ", " X Coord. EAST ", "Y Coord. NORTH"),
     Values(kMeters, "/m/a.jpg", "12.5", "15000", "30000", "", "X Coord. EAST", "Y Coord. NORTH")},
    {"path_with_comma_and_blanks", kPathWithComma, kPathWithComma},
    {"no_notation_normalises_numbers",
     Values(std::nullopt, "/m/a.jpg", "010", "2.50", "x", "", "X Coord. NORTH", "Y Coord. EAST"),
     Values(std::nullopt, "/m/a.jpg", "10", "2.5", "x", "", "X Coord. NORTH", "Y Coord. EAST")},
    {"design_defaults", Values(kMeters, "", "10000", "15000", "30000", "25000", "X Coord. NORTH", "Y Coord. EAST"),
     Values(kMeters, "", "10000", "15000", "30000", "25000", "X Coord. NORTH", "Y Coord. EAST")},
};

INSTANTIATE_TEST_SUITE_P(Values, InfoRoundTrip, testing::ValuesIn(kRoundTripCases),
                         [](const testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------------
// Files written elsewhere, damaged or cut short

struct ParseCase {
  const char* name;
  std::string bytes;
  InfoFileValues expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class InfoParse : public testing::TestWithParam<ParseCase> {};

TEST_P(InfoParse, ReadsWhatItCanAndEmptiesTheRest) {
  ExpectSameValues(ParseInfoFile(GetParam().bytes), GetParam().expected);
}

// Lines 4 to 10 of a Meters file, CR LF ended.
const std::string kTail = "/m/a.jpg\r\n10000\r\n15000\r\n30000\r\n25000\r\nX Coord. EAST\r\nY Coord. NORTH\r\n";
InfoFileValues TailValues(NotationChoice notation) {
  return Values(notation, "/m/a.jpg", "10000", "15000", "30000", "25000", "X Coord. EAST", "Y Coord. NORTH");
}

const ParseCase kParseCases[] = {
    {"empty_file", "", Empty(std::nullopt)},
    {"three_lines_only", " 0 \r\n 1 \r\n 0 \r\n", Empty(kDms)},
    {"no_line_end_at_all", " 1 ", Empty(kMeters)},
    {"flags_1_0_0", " 1 \r\n 0 \r\n 0 \r\n" + kTail, TailValues(kMeters)},
    {"flags_1_0_1_last_wins", " 1 \r\n 0 \r\n 1 \r\n" + kTail, TailValues(kDecimal)},
    {"flags_1_1_0_zero_clears_only_its_own", " 1 \r\n 1 \r\n 0 \r\n" + kTail, TailValues(kDms)},
    {"flags_1_1_1", " 1 \r\n 1 \r\n 1 \r\n" + kTail, TailValues(kDecimal)},
    {"flags_all_0", " 0 \r\n 0 \r\n 0 \r\n" + kTail, TailValues(std::nullopt)},
    {"flag_2_is_not_1", "2\r\n0\r\n0\r\n" + kTail, TailValues(std::nullopt)},
    {"flag_1_0_reads_as_1", "1.0\r\n0\r\n0\r\n" + kTail, TailValues(kMeters)},
    {"flag_with_tabs", "\t1\t\r\n0\r\n0\r\n" + kTail, TailValues(kMeters)},
    {"garbage_flags", "yes\r\n1x\r\n\xFF\r\n" + kTail, TailValues(std::nullopt)},
    {"garbage_flag_after_1_deselects_nothing_else", "1\r\nyes\r\n\r\n" + kTail, TailValues(kMeters)},
    {"lf_only", " 1 \n 0 \n 0 \n/m/a.jpg\n10000\n15000\n30000\n25000\nX Coord. EAST\nY Coord. NORTH\n",
     TailValues(kMeters)},
    {"mixed_line_ends_no_final",
     " 1 \n 0 \r\n 0 \n/m/a.jpg\r\n10000\n15000\r\n30000\n25000\nX Coord. EAST\r\n"
     "Y Coord. NORTH",
     TailValues(kMeters)},
    {"lines_after_tenth_ignored", " 1 \r\n 0 \r\n 0 \r\n" + kTail + " 0 \r\n 1 \r\njunk\r\n", TailValues(kMeters)},
    {"byte_order_mark", "\xEF\xBB\xBF 1 \r\n 0 \r\n 0 \r\n" + kTail, TailValues(kMeters)},
    {"windows_1252_path",
     " 1 \r\n 0 \r\n 0 \r\nC:\\Cartes\\r\xE9gion.jpg\r\n1\r\n2\r\n3\r\n4\r\nX Coord. EAST\r\n"
     "Y Coord. NORTH\r\n",
     Values(kMeters, "C:\\Cartes\\r\u00e9gion.jpg", "1", "2", "3", "4", "X Coord. EAST", "Y Coord. NORTH")},
    {"utf8_path_kept_despite_junk_after_tenth",
     " 1 \r\n 0 \r\n 0 \r\n/r\u00e9gion.jpg\r\n1\r\n2\r\n3\r\n4\r\nX\r\nY\r\n"
     "\xE9\xFF\r\n",
     Values(kMeters, "/r\u00e9gion.jpg", "1", "2", "3", "4", "X", "Y")},
    {"nul_bytes_kept_in_texts", " 1 \r\n 0 \r\n 0 \r\na\0b.jpg\r\n1\0\r\n2\r\n3\r\n4\r\nX\r\nY\r\n"s,
     Values(kMeters, "a\0b.jpg"s, "1\0"s, "2", "3", "4", "X", "Y")},
    {"dms_lines_trimmed_but_verbatim",
     " 0 \r\n 1 \r\n 0 \r\n  /m/a.jpg \r\n 046:30:00 \r\n010000\r\n6.500000\r\n"
     "\r\nX Coord. WEST\r\nY Coord. SOUTH\r\n",
     Values(kDms, "/m/a.jpg", "046:30:00", "010000", "6.500000", "", "X Coord. WEST", "Y Coord. SOUTH")},
    {"only_one_cr_dropped", " 1 \r\r\n 0 \r\n 0 \r\n" + kTail, TailValues(std::nullopt)},
};

INSTANTIATE_TEST_SUITE_P(Bytes, InfoParse, testing::ValuesIn(kParseCases),
                         [](const testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

// Texts that cannot come from our writer: whatever is read must be one clean line of UTF-8.
void ExpectCleanText(const std::string& text) {
  EXPECT_TRUE(IsValidUtf8(text));
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST(InfoParseJunk, BinaryBytesGiveCleanTexts) {
  std::string junk;
  for (int round = 0; round < 40; ++round) {
    for (int b = 0; b < 256; ++b) junk.push_back(static_cast<char>((b * 37 + round * 11) & 0xFF));
  }
  const InfoFileValues values = ParseInfoFile(junk);
  for (const std::string* text : {&values.mapPath, &values.frame.left, &values.frame.right, &values.frame.top,
                                  &values.frame.bottom, &values.frame.xCaption, &values.frame.yCaption}) {
    ExpectCleanText(*text);
  }
}

TEST(InfoParseJunk, TenMegabyteLineIsReadWhole) {
  const std::string longPath(10u << 20, 'p');
  const InfoFileValues values =
      ParseInfoFile(" 1 \r\n 0 \r\n 0 \r\n" + longPath + "\r\n010\r\n2\r\n3\r\n4\r\nX\r\nY\r\n");
  EXPECT_EQ(values.notation, kMeters);
  EXPECT_EQ(values.mapPath, longPath);
  EXPECT_EQ(values.frame.left, "10");
  EXPECT_EQ(values.frame.yCaption, "Y");
}

// ---------------------------------------------------------------------------------------------------
// On disk

TEST(InfoFileOnDisk, WrittenBytesReadBack) {
  const test::TestFolder folder;
  const std::string path = folder / "sheet12.info";
  ASSERT_FALSE(WriteInfoFile(path, kDmsMap));
  EXPECT_EQ(test::ReadBytes(path), InfoFileText(kDmsMap));
  ExpectSameValues(ReadInfoFile(path), kDmsMap);
}

TEST(InfoFileOnDisk, WriteFailureReported) {
  const test::TestFolder folder;
  EXPECT_TRUE(WriteInfoFile(folder / "missing/sheet12.info", kDmsMap));
}

enum class Source { Missing, Folder, Pipe, AtLimit, OverLimit };

struct ReadCase {
  const char* name;
  Source source;
  NotationChoice expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class InfoRead : public testing::TestWithParam<ReadCase> {
 protected:
  // A Meters flag followed by zero bytes up to the given size (sparse: nothing is really written).
  std::string MetersFileOfSize(std::size_t size) const {
    const fs::path path = folder_.path() / "a.info";
    test::WriteBytes(path, " 1 \r\n");
    fs::resize_file(path, size);
    return path.string();
  }
  std::string PipeNoOneWrites() const {
    const std::string path = folder_ / "pipe.info";
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
    return path;
  }
  std::string PathFor(Source source) const {
    switch (source) {
      case Source::Missing:
        return folder_ / "nothing.info";
      case Source::Folder:
        return folder_.path().string();
      case Source::Pipe:
        return PipeNoOneWrites();
      case Source::AtLimit:
        return MetersFileOfSize(kMaxInfoFileBytes);
      case Source::OverLimit:
        return MetersFileOfSize(kMaxInfoFileBytes + 1);
    }
    return {};
  }
  test::TestFolder folder_;
};

TEST_P(InfoRead, UnreadableReadsAsEmpty) {
  const InfoFileValues values = ReadInfoFile(PathFor(GetParam().source));
  EXPECT_EQ(values.notation, GetParam().expected);
  EXPECT_EQ(values.mapPath, "");
}

const ReadCase kReadCases[] = {
    {"missing_file", Source::Missing, std::nullopt},         {"folder", Source::Folder, std::nullopt},
    {"pipe_does_not_block", Source::Pipe, std::nullopt},     {"largest_file_read", Source::AtLimit, kMeters},
    {"one_byte_too_large", Source::OverLimit, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Files, InfoRead, testing::ValuesIn(kReadCases),
                         [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velmaro

// Info files nobody should have to read: random binary junk, lines of 10 MB, control bytes. The reader
// must return what the rules give, in time, and what it returns must survive a save and a second read.

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <random>
#include <string>

#include "files/info_file.h"
#include "files/text_encoding.h"
#include "tests/files/test_folder.h"

namespace velmaro {
namespace {

using namespace std::string_literals;

constexpr std::size_t kTenMegabytes = std::size_t{10} << 20;
const std::string kFlagsMeters = " 1 \r\n 0 \r\n 0 \r\n";
const std::string kEdgesAndCaptions = "10000\r\n15000\r\n30000\r\n25000\r\nX Coord. EAST\r\nY Coord. NORTH\r\n";

std::string RandomBytes(std::size_t count, unsigned seed, bool withLineEnds) {
  std::mt19937 random(seed);
  std::string bytes;
  while (bytes.size() < count) {
    const char byte = static_cast<char>(random() & 0xFF);
    if (withLineEnds || byte != '\n') bytes += byte;
  }
  return bytes;
}

struct JunkCase {
  const char* name;
  std::function<std::string()> bytes;
  // nullopt: the outcome depends on where the junk happens to put its line ends; only the properties hold.
  std::optional<NotationChoice> notation;
  std::optional<std::size_t> mapPathSize;
  std::optional<std::size_t> leftSize;
};

void PrintTo(const JunkCase& c, std::ostream* os) { *os << c.name; }

class InfoJunk : public testing::TestWithParam<JunkCase> {};

TEST_P(InfoJunk, ReadsByTheRulesAndSurvivesASecondSave) {
  const JunkCase& c = GetParam();
  const InfoFileValues read = ParseInfoFile(c.bytes());
  if (c.notation) {
    EXPECT_EQ(read.notation, *c.notation);
  }
  if (c.mapPathSize) {
    EXPECT_EQ(read.mapPath.size(), *c.mapPathSize);
  }
  if (c.leftSize) {
    EXPECT_EQ(read.frame.left.size(), *c.leftSize);
  }
  for (const std::string* text : {&read.mapPath, &read.frame.left, &read.frame.right, &read.frame.top,
                                  &read.frame.bottom, &read.frame.xCaption, &read.frame.yCaption}) {
    EXPECT_TRUE(IsValidUtf8(*text));
    EXPECT_EQ(text->find('\n'), std::string::npos);
  }
  const InfoFileValues again = ParseInfoFile(InfoFileText(read));
  EXPECT_EQ(again.notation, read.notation);
  EXPECT_EQ(again.mapPath, read.mapPath);
  EXPECT_EQ(again.frame.left, read.frame.left);
  EXPECT_EQ(again.frame.yCaption, read.frame.yCaption);
}

const JunkCase kJunkCases[] = {
    // One line of junk: its flag line is no 1, and the nine lines after it are missing.
    {"binary_junk_without_line_ends", [] { return RandomBytes(4096, 7, false); }, NotationChoice(), 0, 0},
    {"binary_junk_with_line_ends_1", [] { return RandomBytes(4096, 1, true); }, {}, {}, {}},
    {"binary_junk_with_line_ends_2", [] { return RandomBytes(65536, 2, true); }, {}, {}, {}},
    {"binary_junk_after_valid_flags", [] { return kFlagsMeters + RandomBytes(4096, 3, true); }, CoordinateType::Meters,
     {}, {}},
    {"all_256_byte_values_as_map_path",
     [] {
       std::string line;
       for (int b = 0; b < 256; ++b) line += b == '\n' ? ' ' : static_cast<char>(b);
       return kFlagsMeters + line + "\r\n" + kEdgesAndCaptions;
     },
     CoordinateType::Meters, 401, 5},
    {"line_of_10_MB_as_map_path", [] { return kFlagsMeters + std::string(kTenMegabytes, 'x') + "\r\n" + kEdgesAndCaptions; },
     CoordinateType::Meters, kTenMegabytes, 5},
    // Ten million digits are beyond any double: no number, so the flag is no 1 and the edge stays as typed.
    {"line_of_10_MB_of_digits_as_flag",
     [] { return std::string(kTenMegabytes, '1') + "\r\n 0 \r\n 1 \r\n/m/a.jpg\r\n" + kEdgesAndCaptions; },
     CoordinateType::DecimalDegrees, 8, 5},
    {"line_of_10_MB_of_digits_as_edge",
     [] { return kFlagsMeters + "/m/a.jpg\r\n" + std::string(kTenMegabytes, '7') + "\r\n15000\r\n"; },
     CoordinateType::Meters, 8, kTenMegabytes},
    {"line_of_10_MB_of_line_ends", [] { return kFlagsMeters + std::string(kTenMegabytes, '\n'); },
     CoordinateType::Meters, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Files, InfoJunk, testing::ValuesIn(kJunkCases),
                         [](const testing::TestParamInfo<JunkCase>& info) { return info.param.name; });

TEST(InfoFileOnDisk, LineOf10MegabytesIsReadWhole) {
  test::TestFolder folder;
  test::WriteBytes(folder.path() / "long.info", kFlagsMeters + std::string(kTenMegabytes, 'p') + "\r\n" +
                                                    kEdgesAndCaptions);
  const InfoFileValues read = ReadInfoFile(folder / "long.info");
  EXPECT_EQ(read.notation, CoordinateType::Meters);
  EXPECT_EQ(read.mapPath, std::string(kTenMegabytes, 'p'));
  EXPECT_EQ(read.frame.yCaption, "Y Coord. NORTH");
}

}  // namespace
}  // namespace velmaro

#include "files/map_file_names.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace velmaro {
namespace {

struct NamesCase {
  const char* name;
  std::string mapPath;
  std::string base;
  std::string xy;
  std::string info;
  std::string kml;
};

void PrintTo(const NamesCase& c, std::ostream* os) { *os << c.name; }

class CompanionNames : public testing::TestWithParam<NamesCase> {};

TEST_P(CompanionNames, CutsExactlyFourCharacters) {
  const NamesCase& c = GetParam();
  EXPECT_EQ(BaseName(c.mapPath), c.base);
  EXPECT_EQ(XyFileName(c.mapPath), c.xy);
  EXPECT_EQ(InfoFileName(c.mapPath), c.info);
  EXPECT_EQ(KmlFileName(c.mapPath), c.kml);
}

const NamesCase kNamesCases[] = {
    {"jpg_extension", "D:\\maps\\sheet12.jpg", "D:\\maps\\sheet12", "D:\\maps\\sheet12.txt", "D:\\maps\\sheet12.info",
     "D:\\maps\\sheet12.kml"},
    {"jpeg_keeps_its_dot", "D:\\maps\\a.jpeg", "D:\\maps\\a.", "D:\\maps\\a..txt", "D:\\maps\\a..info",
     "D:\\maps\\a..kml"},
    {"kml_of_jpeg", "C:\\m\\a.jpeg", "C:\\m\\a.", "C:\\m\\a..txt", "C:\\m\\a..info", "C:\\m\\a..kml"},
    {"posix_path", "/home/ana/maps/alps.jpg", "/home/ana/maps/alps", "/home/ana/maps/alps.txt",
     "/home/ana/maps/alps.info", "/home/ana/maps/alps.kml"},
    {"cancelled_dialog_preset", "*.jpg", "*", "*.txt", "*.info", "*.kml"},
    {"no_extension_cuts_the_name", "/maps/sheet12", "/maps/she", "/maps/she.txt", "/maps/she.info", "/maps/she.kml"},
    {"exactly_four_characters", "a.jp", "", ".txt", ".info", ".kml"},
    {"three_characters", "abc", "", "", "", ""},
    {"one_character", "a", "", "", "", ""},
    {"empty", "", "", "", "", ""},
    {"accent_in_folder", "/home/l\u00e9a/carte.jpg", "/home/l\u00e9a/carte", "/home/l\u00e9a/carte.txt",
     "/home/l\u00e9a/carte.info", "/home/l\u00e9a/carte.kml"},
    {"accent_in_extension", "/cartes/carte.jp\u00e9", "/cartes/carte", "/cartes/carte.txt", "/cartes/carte.info",
     "/cartes/carte.kml"},
    {"three_byte_characters", "\u5730\u56fe.jpg", "\u5730\u56fe", "\u5730\u56fe.txt", "\u5730\u56fe.info",
     "\u5730\u56fe.kml"},
    {"four_wide_characters_only", "\u65e5\u672c\u5730\u56f3", "", ".txt", ".info", ".kml"},
    {"three_wide_characters_only", "\u65e5\u672c\u5730", "", "", "", ""},
    {"four_byte_characters", "map\U0001F5FA\U0001F5FA\U0001F5FA\U0001F5FA", "map", "map.txt", "map.info", "map.kml"},
    {"stray_byte_counts_as_one", "ab.j\xE9", "a", "a.txt", "a.info", "a.kml"},
    {"broken_sequence_before_extension", "ab\xE2\x82.jpg", "ab\xE2\x82", "ab\xE2\x82.txt", "ab\xE2\x82.info",
     "ab\xE2\x82.kml"},
};

INSTANTIATE_TEST_SUITE_P(Paths, CompanionNames, testing::ValuesIn(kNamesCases),
                         [](const testing::TestParamInfo<NamesCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velmaro

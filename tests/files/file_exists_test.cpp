#include "files/file_exists.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "tests/files/test_folder.h"

namespace velmaro {
namespace {

namespace fs = std::filesystem;

// Names inside a folder holding: the file "map.info", the folder "sub", the links "link.info" (to the
// file), "dangling.info" (to nothing) and "folder.link" (to the folder).
struct ExistsCase {
  const char* name;
  std::string path;
  bool inFolder;  // path is relative to the prepared folder
  int expected;
};

void PrintTo(const ExistsCase& c, std::ostream* os) { *os << c.name; }

class FileExistsTest : public testing::TestWithParam<ExistsCase> {
 protected:
  void SetUp() override {
    test::WriteBytes(folder_.path() / "map.info", " 1 \r\n");
    fs::create_directory(folder_.path() / "sub");
    fs::create_symlink("map.info", folder_.path() / "link.info");
    fs::create_symlink("nowhere.info", folder_.path() / "dangling.info");
    fs::create_directory_symlink("sub", folder_.path() / "folder.link");
  }
  test::TestFolder folder_;
};

TEST_P(FileExistsTest, OneOnlyForAnOrdinaryFile) {
  const ExistsCase& c = GetParam();
  const std::string path = c.inFolder ? folder_ / c.path : c.path;
  EXPECT_EQ(FileExists(path), c.expected);
}

const ExistsCase kExistsCases[] = {
    {"ordinary_file", "map.info", true, 1},
    {"missing_file", "other.info", true, 0},
    {"folder", "sub", true, 0},
    {"folder_with_slash", "sub/", true, 0},
    {"link_to_file", "link.info", true, 1},
    {"dangling_link", "dangling.info", true, 0},
    {"link_to_folder", "folder.link", true, 0},
    {"name_below_a_file", "map.info/x", true, 0},
    {"case_differs", "MAP.INFO", true, 0},
    {"device", "/dev/null", false, 0},
    {"empty_name", "", false, 0},
    {"cancelled_dialog_name", "*.info", false, 0},
    {"name_too_long", std::string(5000, 'a'), false, 0},
};

INSTANTIATE_TEST_SUITE_P(Names, FileExistsTest, testing::ValuesIn(kExistsCases),
                         [](const testing::TestParamInfo<ExistsCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velmaro

#include "platform/default_application.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/platform/scoped_environment.h"

namespace velmaro::platform {
namespace {

using Strings = std::vector<std::string>;

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

struct CandidateRow {
  const char* name;
  const char* desktopId;
  Strings expected;
};

class DesktopFileCandidates : public ::testing::TestWithParam<CandidateRow> {};

TEST_P(DesktopFileCandidates, SpellSubfoldersWithDashes) {
  EXPECT_EQ(desktopFileCandidates(GetParam().desktopId), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, DesktopFileCandidates, ::testing::Values(
    CandidateRow{"no_dash", "viewer.desktop", Strings{"viewer.desktop"}},
    CandidateRow{"one_dash", "kde4-okular.desktop", Strings{"kde4-okular.desktop", "kde4/okular.desktop"}},
    CandidateRow{"two_dashes", "a-b-c.desktop", Strings{"a-b-c.desktop", "a/b-c.desktop", "a-b/c.desktop"}}),
    rowName<CandidateRow>);

struct FolderRow {
  const char* name;
  std::optional<std::string> home;
  std::optional<std::string> dataHome;
  std::optional<std::string> dataDirs;
  Strings expected;
};

class ApplicationFolders : public ::testing::TestWithParam<FolderRow> {};

TEST_P(ApplicationFolders, FollowTheXdgVariables) {
  testing::ScopedEnvironment environment;
  environment.set("HOME", GetParam().home);
  environment.set("XDG_DATA_HOME", GetParam().dataHome);
  environment.set("XDG_DATA_DIRS", GetParam().dataDirs);
  EXPECT_EQ(applicationFolders(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ApplicationFolders, ::testing::Values(
    FolderRow{"defaults", "/home/u", std::nullopt, std::nullopt,
              Strings{"/home/u/.local/share/applications", "/usr/local/share/applications", "/usr/share/applications"}},
    FolderRow{"both_set", "/home/u", "/data", "/a:/b/",
              Strings{"/data/applications", "/a/applications", "/b/applications"}},
    FolderRow{"empty_data_home_means_default", "/home/u", "", "/a",
              Strings{"/home/u/.local/share/applications", "/a/applications"}},
    FolderRow{"empty_parts_skipped", "/home/u", "/data", ":/a::",
              Strings{"/data/applications", "/a/applications"}}),
    rowName<FolderRow>);

}  // namespace
}  // namespace velmaro::platform

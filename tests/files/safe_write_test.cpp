#include "files/safe_write.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "tests/files/test_folder.h"

namespace velmaro {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

mode_t ModeOf(const fs::path& file) {
  struct stat info {};
  EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
  return info.st_mode & 07777;
}

class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
  ~ScopedUmask() { ::umask(old_); }
  ScopedUmask(const ScopedUmask&) = delete;
  ScopedUmask& operator=(const ScopedUmask&) = delete;

 private:
  mode_t old_;
};

// ---------------------------------------------------------------------------------------------------
// Successful replacement

struct ReplaceCase {
  const char* name;
  std::optional<std::string> oldBytes;  // no old file when missing
  mode_t oldMode;
  mode_t umask;
  std::string newBytes;
  mode_t expectedMode;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }

class ReplaceSucceeds : public testing::TestWithParam<ReplaceCase> {
 protected:
  test::TestFolder folder_;
};

TEST_P(ReplaceSucceeds, LeavesExactlyTheNewBytes) {
  const ReplaceCase& c = GetParam();
  const fs::path target = folder_.path() / "sheet12.txt";
  if (c.oldBytes) {
    test::WriteBytes(target, *c.oldBytes);
    ASSERT_EQ(::chmod(target.c_str(), c.oldMode), 0);
  }
  const ScopedUmask mask(c.umask);

  const std::optional<WriteFailure> failure = ReplaceFileContents(target.string(), c.newBytes);

  ASSERT_FALSE(failure) << failure->reason;
  EXPECT_EQ(test::ReadBytes(target), c.newBytes);
  EXPECT_EQ(ModeOf(target), c.expectedMode);
  EXPECT_EQ(test::FolderEntries(folder_.path()), std::set<std::string>{"sheet12.txt"});
}

const ReplaceCase kReplaceCases[] = {
    {"new_file_umask_022", std::nullopt, 0, 022, "Pt 1,E,1,N,2\r\n", 0644},
    {"new_file_umask_077", std::nullopt, 0, 077, "Pt 1,E,1,N,2\r\n", 0600},
    {"new_file_umask_002", std::nullopt, 0, 002, "x", 0664},
    {"new_empty_file", std::nullopt, 0, 022, "", 0644},
    {"shorter_content_truncates", "a much longer old content\r\n"s, 0644, 022, "short", 0644},
    {"old_mode_kept_0640", "old"s, 0640, 022, "new", 0640},
    {"old_mode_kept_despite_umask", "old"s, 0666, 077, "new", 0666},
    {"emptied", "old"s, 0644, 022, "", 0644},
    {"binary_bytes", "old"s, 0644, 022, "a\0\r\n\xFF\x80z"s, 0644},
    {"three_mebibytes", "old"s, 0644, 022, std::string(3u << 20, 'x'), 0644},
};

INSTANTIATE_TEST_SUITE_P(Contents, ReplaceSucceeds, testing::ValuesIn(kReplaceCases),
                         [](const testing::TestParamInfo<ReplaceCase>& info) { return info.param.name; });

TEST(ReplaceThroughLink, ReplacesTheLinkedFileAndKeepsTheLink) {
  const test::TestFolder folder;
  fs::create_directory(folder.path() / "real");
  test::WriteBytes(folder.path() / "real" / "a.info", "old");
  fs::create_symlink("real/a.info", folder.path() / "a.info");

  const std::optional<WriteFailure> failure = ReplaceFileContents(folder / "a.info", "new");

  ASSERT_FALSE(failure) << failure->reason;
  EXPECT_TRUE(fs::is_symlink(folder.path() / "a.info"));
  EXPECT_EQ(test::ReadBytes(folder.path() / "real" / "a.info"), "new");
  EXPECT_EQ(test::FolderEntries(folder.path()), (std::set<std::string>{"a.info", "real", "real/a.info"}));
}

// ---------------------------------------------------------------------------------------------------
// Faults: the folder must look exactly as before, old files byte for byte, no temporary file left.

// Every entry of the folder with the bytes of its regular files.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const std::string& name : test::FolderEntries(folder)) {
    const fs::path entry = folder / name;
    files[name] = fs::is_regular_file(entry) ? test::ReadBytes(entry) : "<folder>";
  }
  return files;
}

// A file size limit makes write() fail part way with EFBIG, as a full disk does with ENOSPC.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

enum class Fault { MissingFolder, TargetIsFolder, TrailingSlash, EmptyName, BelowAFile, Device, FileTooLarge, PresetPattern };

struct FaultCase {
  const char* name;
  Fault fault;
  const char* reason;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class ReplaceFails : public testing::TestWithParam<FaultCase> {
 protected:
  void SetUp() override {
    test::WriteBytes(folder_.path() / "sheet12.txt", "Pt 1,E,12500,N,27500\r\n");
    test::WriteBytes(folder_.path() / "keep.info", " 1 \r\n");
    fs::create_directory(folder_.path() / "sheet12.info");
    test::WriteBytes(folder_.path() / "sheet12.info" / "inside.txt", "inside");
  }

  std::string PathFor(Fault fault) const {
    switch (fault) {
      case Fault::MissingFolder:
        return folder_ / "no such folder/sheet12.txt";
      case Fault::TargetIsFolder:
        return folder_ / "sheet12.info";
      case Fault::TrailingSlash:
        return folder_ / "sheet12.txt/";
      case Fault::EmptyName:
        return "";
      case Fault::BelowAFile:
        return folder_ / "sheet12.txt/x.txt";
      case Fault::Device:
        return "/dev/null";
      case Fault::FileTooLarge:
        return folder_ / "sheet12.txt";
      case Fault::PresetPattern:
        return folder_ / "*.txt";
    }
    return {};
  }

  test::TestFolder folder_;
};

TEST_P(ReplaceFails, ReportsAndLeavesTheFolderAsItWas) {
  const FaultCase& c = GetParam();
  const std::map<std::string, std::string> before = Snapshot(folder_.path());
  const std::string newBytes(1000, 'n');

  std::optional<WriteFailure> failure;
  {
    std::optional<FileSizeLimit> limit;
    if (c.fault == Fault::FileTooLarge) limit.emplace(16);
    failure = ReplaceFileContents(PathFor(c.fault), newBytes);
  }

  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->reason, c.reason);
  EXPECT_EQ(Snapshot(folder_.path()), before);
}

const FaultCase kFaultCases[] = {
    {"missing_folder", Fault::MissingFolder, "No such file or directory"},
    {"name_is_a_folder", Fault::TargetIsFolder, "Is a directory"},
    {"name_ends_with_slash", Fault::TrailingSlash, "Is a directory"},
    {"empty_name", Fault::EmptyName, "No file name"},
    {"name_below_a_file", Fault::BelowAFile, "Not a directory"},
    {"device_not_replaced", Fault::Device, "Not a regular file"},
    {"write_fails_part_way", Fault::FileTooLarge, "File too large"},
    {"dialog_preset_pattern", Fault::PresetPattern, "Not a file name"},
};

INSTANTIATE_TEST_SUITE_P(Faults, ReplaceFails, testing::ValuesIn(kFaultCases),
                         [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------------
// Permission faults. Permission bits do not stop root, so a root test run writes as "nobody" for the
// duration of the call; the effective ids come back afterwards because the saved ids stay root.

constexpr uid_t kNobody = 65534;

class WritingAsOrdinaryUser {
 public:
  WritingAsOrdinaryUser() {
    if (::geteuid() != 0) return;
    if (::setegid(kNobody) != 0) return;
    if (::seteuid(kNobody) != 0) {
      static_cast<void>(::setegid(0));
      return;
    }
    dropped_ = true;
  }
  ~WritingAsOrdinaryUser() {
    if (!dropped_) return;
    EXPECT_EQ(::seteuid(0), 0);
    EXPECT_EQ(::setegid(0), 0);
  }
  WritingAsOrdinaryUser(const WritingAsOrdinaryUser&) = delete;
  WritingAsOrdinaryUser& operator=(const WritingAsOrdinaryUser&) = delete;

  // Permission bits bind this process now.
  bool restricted() const { return dropped_ || ::geteuid() != 0; }

 private:
  bool dropped_ = false;
};

struct PermissionCase {
  const char* name;
  mode_t folderMode;
  std::optional<mode_t> oldFileMode;  // no old file when missing
};

void PrintTo(const PermissionCase& c, std::ostream* os) { *os << c.name; }

class ReplaceRefused : public testing::TestWithParam<PermissionCase> {
 protected:
  test::TestFolder folder_;
};

TEST_P(ReplaceRefused, ByPermissionBits) {
  const PermissionCase& c = GetParam();
  const fs::path maps = folder_.path() / "maps";
  fs::create_directory(maps);
  if (c.oldFileMode) {
    test::WriteBytes(maps / "sheet12.info", "old info\r\n");
    ASSERT_EQ(::chmod((maps / "sheet12.info").c_str(), *c.oldFileMode), 0);
  }
  ASSERT_EQ(::chmod(maps.c_str(), c.folderMode), 0);
  ASSERT_EQ(::chmod(folder_.path().c_str(), 0755), 0);  // let an ordinary user reach "maps"
  const std::map<std::string, std::string> before = Snapshot(folder_.path());

  std::optional<WriteFailure> failure;
  {
    const WritingAsOrdinaryUser user;
    if (!user.restricted()) GTEST_SKIP() << "running as root without a way to drop privileges";
    failure = ReplaceFileContents((maps / "sheet12.info").string(), "new info\r\n");
  }

  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->reason, "Permission denied");
  EXPECT_EQ(Snapshot(folder_.path()), before);
}

const PermissionCase kPermissionCases[] = {
    {"read_only_folder_old_file", 0555, 0666},
    {"read_only_folder_new_file", 0555, std::nullopt},
    {"read_only_file_in_open_folder", 0777, 0444},
};

INSTANTIATE_TEST_SUITE_P(Permissions, ReplaceRefused, testing::ValuesIn(kPermissionCases),
                         [](const testing::TestParamInfo<PermissionCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velmaro

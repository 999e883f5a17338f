// files/ on the rows of cases.txt, transcribed into one golden file, and on the names of disk.txt.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <sstream>

#include "files/file_exists.h"
#include "files/info_file.h"
#include "files/kml_file.h"
#include "files/map_file_names.h"
#include "files/safe_write.h"
#include "files/text_encoding.h"
#include "files/xy_file.h"
#include "tests/common/case_table.h"
#include "tests/files/support.h"

namespace velmaro::test {
namespace {

namespace fs = std::filesystem;
using testing::Unescape;
const fs::path kHere = VELMARO_FILES_TESTS;

std::string Output(const velmaro::testing::Case& c) {
  const std::string in = Unescape(c[1]);
  if (c[0] == "decode") return (IsValidUtf8(in) ? "UTF-8 " : "Windows-1252 ") + DecodeUtf8OrWindows1252(in);
  if (c[0] == "names") return XyFileName(in) + " " + InfoFileName(in) + " " + KmlFileName(in);
  if (c[0] == "info") {
    const std::string saved = InfoFileText(ParseInfoFile(in));  // what was read, as it is saved
    EXPECT_EQ(InfoFileText(ParseInfoFile(saved)), saved) << c.where;
    return "\r\n" + saved;
  }
  PointTable table;
  std::istringstream points(c[1]);
  for (std::string a, x, b, y; points >> a >> x >> b >> y;) table.append(a, Unescape(x), b, Unescape(y.substr(0, y.find(';'))));
  table.removeRow(c.integer(2));
  if (c[0] == "xy") return "\r\n" + XyFileText(table);
  return "\r\n" + KmlText(table, MapFrame{"", "", "", "", c[3], c[4]}, c[0] == "kml D" ? CoordinateType::DegMinSec : CoordinateType::DecimalDegrees);
}

TEST(FilesGolden, Cases) {
  std::string transcript;
  for (const auto& c : testing::ReadCases(kHere / "cases.txt")) transcript += c.name + ": " + Output(c) + "\n";
  ExpectGolden(kHere / "expected" / "cases.txt", transcript);
}

// Every entry of the folder: link or not, mode, bytes.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const auto mode = static_cast<int>(fs::status(entry.path()).permissions());
    entries[entry.path().filename()] = (entry.is_symlink() ? "link " : "") + std::to_string(mode) + "|" +
                                       (entry.is_regular_file() ? Slurp(entry.path()) : "");
  }
  return entries;
}

TEST(FilesTable, Disk) {
  const AsNobody nobody;
  ::umask(022);
  ::signal(SIGXFSZ, SIG_IGN);  // a write past the file size limit fails with EFBIG instead of ending the process
  rlimit unlimited{}, small{};
  ::getrlimit(RLIMIT_FSIZE, &unlimited);
  small = {16, unlimited.rlim_max};
  const std::string old = "old content 16 b";
  const fs::path in = fs::temp_directory_path() / ("velmaro-files-" + std::to_string(::getpid()));
  for (const auto& c : testing::ReadCases(kHere / "disk.txt")) {
    const auto has = [&c](const char* word) { return (" " + c[0] + " ").find(" " + std::string(word) + " ") != std::string::npos; };
    const std::string bytes(has("small") ? 100 : 10, 'n');  // shorter than the old file unless it cannot fit
    fs::create_directory(in);
    if (has("old") || has("big") || has("link")) std::ofstream(in / (has("link") ? "real.txt" : "a.txt")) << old << (has("big") ? "!" : "");
    if (has("link")) fs::create_symlink("real.txt", in / "a.txt");
    if (has("old")) fs::permissions(in / "a.txt", fs::perms(has("ro_file") ? 0444 : 0640));
    if (has("folder")) fs::create_directory(in / "a.txt");
    if (has("pipe")) ::mkfifo((in / "a.txt").c_str(), 0600);
    if (has("ro_folder")) fs::permissions(in, fs::perms(0555));
    const std::string path = c[1].empty() || c[1][0] == '/' ? c[1] : (in / c[1]).string();
    EXPECT_EQ(FileExists(path), c.integer(2)) << c.where;
    const FileContents read = ReadWholeFile(path, 16);
    EXPECT_EQ(KindName(read.error) + read.bytes, c[3] == "ok" ? "ok" + old : c[3]) << c.where;

    std::map<std::string, std::string> expected = Snapshot(in);
    ::setrlimit(RLIMIT_FSIZE, has("small") ? &small : &unlimited);
    EXPECT_EQ(KindName(ReplaceFileContents(path, bytes)), c[4]) << c.where;
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    for (auto& [name, entry] : expected) {
      if (c[4] == "ok" && fs::equivalent(in / name, path)) entry = entry.substr(0, entry.find('|') + 1) + bytes;
    }
    if (c[4] == "ok") expected.try_emplace(fs::path(path).filename(), "420|" + bytes);  // 0644
    EXPECT_EQ(Snapshot(in), expected) << c.where;
    fs::permissions(in, fs::perms::owner_all);
    fs::remove_all(in);
  }
}

}  // namespace
}  // namespace velmaro::test

// files/ against its tables (tables/*.txt, one case per line) and its golden documents (expected/).

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

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

const fs::path kHere = VELMARO_FILES_TESTS;

std::vector<testing::Case> Table(const std::string& name) { return testing::ReadCases(kHere / "tables" / name); }

// Permission bits do not bind root: a root run writes as "nobody", except when it writes goldens.
const bool kAsNobody = ::geteuid() == 0 && std::getenv("VELMARO_UPDATE_GOLDEN") == nullptr &&
                       ::setegid(65534) == 0 && ::seteuid(65534) == 0;

NotationChoice NotationOf(const std::string& code) {
  if (code == "M") return CoordinateType::Meters;
  if (code == "D") return CoordinateType::DegMinSec;
  if (code == "DD") return CoordinateType::DecimalDegrees;
  return std::nullopt;
}

std::string Words(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : " ") + text;
  return joined;
}

std::string KindName(const std::optional<FileError>& error) {
  if (!error) return "ok";
  constexpr const char* kNames[] = {"NoFileName", "DialogPreset",       "NotFound", "IsFolder", "NotRegularFile",
                                    "PermissionDenied", "ReadOnlyFileSystem", "DiskFull", "TooLarge", "Other"};
  return kNames[static_cast<int>(error->kind)];
}

TEST(Tables, Encoding) {
  for (const testing::Case& c : Table("encoding.txt")) {
    EXPECT_EQ(IsValidUtf8(Unescape(c[0])), c[1] == "yes") << c.where;
    EXPECT_EQ(DecodeUtf8OrWindows1252(Unescape(c[0])), Unescape(c[2])) << c.where;
  }
}

TEST(Tables, MapFileNames) {
  for (const testing::Case& c : Table("map_names.txt")) {
    const std::string map = Unescape(c[0]);
    EXPECT_EQ(Words({XyFileName(map), InfoFileName(map), KmlFileName(map)}),
              Words({Unescape(c[1]), Unescape(c[2]), Unescape(c[3])})) << c.where;
  }
}

void ExpectValues(const InfoFileValues& v, const testing::Case& c, std::size_t first) {
  EXPECT_EQ(v.notation, NotationOf(c[first])) << c.where;
  const std::vector<std::string> actual = {v.mapPath,      v.frame.left,     v.frame.right, v.frame.top,
                                           v.frame.bottom, v.frame.xCaption, v.frame.yCaption};
  for (std::size_t k = 0; k < actual.size(); ++k) EXPECT_EQ(actual[k], Unescape(c[first + 1 + k])) << c.where;
}

TEST(Tables, InfoFileReader) {
  const std::string tail = "/m/a.jpg¶010000¶15000¶30000¶25000¶X Coord. EAST¶Y Coord. NORTH¶";
  for (const testing::Case& c : Table("info_read.txt")) {
    std::string bytes = c[0];
    if (const auto at = bytes.find("TAIL"); at != std::string::npos) bytes.replace(at, 4, tail);
    ExpectValues(ParseInfoFile(Unescape(bytes)), c, 1);
  }
}

TEST(Tables, InfoFileSavedAndReadBack) {
  const ScratchFolder folder;
  for (const testing::Case& c : Table("info_write.txt")) {
    const InfoFileValues values{NotationOf(c[0]), c[1], MapFrame{c[2], c[3], c[4], c[5], c[6], c[7]}};
    const fs::path path = folder.path() / (c.name + ".info");
    ASSERT_FALSE(WriteInfoFile(path.string(), values)) << c.where;
    if (c[9] != "-") ExpectGolden(kHere / "expected" / (c[9] + ".info"), Slurp(path));
    const InfoFileValues read = ReadInfoFile(path.string());
    const MapFrame& f = read.frame;
    EXPECT_EQ(Words({f.left, f.right, f.top, f.bottom}), c[8]) << c.where;
    EXPECT_EQ(Words({read.mapPath, f.xCaption, f.yCaption}), Words({c[1], c[6], c[7]})) << c.where;
    EXPECT_EQ(read.notation, values.notation) << c.where;
  }
}

TEST(Tables, CsvCells) {
  for (const testing::Case& c : Table("csv_cells.txt")) EXPECT_EQ(CsvCell(Unescape(c[0])), Unescape(c[1])) << c.where;
}

MapFrame Captions(const std::string& code) {
  MapFrame frame;
  if (code == "lower") frame.xCaption = "x coord. east", frame.yCaption = std::string(kYSouth) + " ";
  if (code.size() != 3) return frame;
  frame.xCaption = code[0] == 'E' ? kXEast : kXWest;
  frame.yCaption = code[2] == 'N' ? kYNorth : kYSouth;
  return frame;
}

TEST(Tables, KmlCoordinatesLine) {
  for (const testing::Case& c : Table("kml_coordinates.txt")) {
    PointTable table;
    table.append("W", c[2], "S", c[3]);
    const std::string kml = KmlText(table, Captions(c[1]), *NotationOf(c[0]));
    EXPECT_NE(kml.find("\r\n<coordinates>" + c[4] + "</coordinates>\r\n"), std::string::npos) << c.where << kml;
  }
}

TEST(Golden, XyAndKmlDocuments) {
  const ScratchFolder folder;
  for (const testing::Case& c : Table("documents.txt")) {
    PointTable table;
    std::istringstream points(c[2]);
    for (std::string a, x, b, y; points >> a >> x >> b >> y;) table.append(a, Unescape(x), b, Unescape(y.substr(0, y.find(';'))));
    table.removeRow(c.integer(3));
    const std::string path = (folder.path() / c.name).string();
    if (c[0] == "xy") ASSERT_FALSE(WriteXyFile(path, table));
    else ASSERT_FALSE(WriteKmlFile(path, table, Captions(c[1]), *NotationOf(c[0].substr(4))));
    ExpectGolden(kHere / "expected" / c.name, Slurp(path));
  }
}

TEST(Tables, DiskReads) {
  const ScratchFolder folder;
  const fs::path& in = folder.path();
  std::ofstream(in / "ten_bytes") << "0123456789";
  std::ofstream(in / "eleven_bytes") << "0123456789A";
  fs::create_directory(in / "folder");
  fs::create_symlink("ten_bytes", in / "link");
  fs::create_symlink("nowhere", in / "dangling");
  ASSERT_EQ(::mkfifo((in / "pipe").c_str(), 0600), 0);
  for (const testing::Case& c : Table("disk_reads.txt")) {
    const std::string path = c[0].empty() || c[0][0] == '/' ? c[0] : (in / c[0]).string();
    EXPECT_EQ(FileExists(path), c.integer(1)) << c.where;
    const FileContents read = ReadWholeFile(path, 10);
    EXPECT_EQ(KindName(read.error), c[2]) << c.where;
    EXPECT_EQ(read.bytes, read.error ? "" : "0123456789") << c.where;
  }
}

// Every entry below the folder: link or not, mode, bytes.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    struct stat info {};
    ::stat(entry.path().c_str(), &info);
    entries[entry.path().filename()] = (entry.is_symlink() ? "link " : "") + std::to_string(info.st_mode & 0777) +
                                       "|" + (entry.is_regular_file() ? Slurp(entry.path()) : "");
  }
  return entries;
}

std::optional<FileError> SaveWithin(const std::string& path, const std::string& bytes, bool small) {
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limited = saved;
  limited.rlim_cur = small ? 16 : saved.rlim_cur;
  ::signal(SIGXFSZ, SIG_IGN);  // an oversized write fails with EFBIG instead of ending the process
  ::setrlimit(RLIMIT_FSIZE, &limited);
  std::optional<FileError> error = ReplaceFileContents(path, bytes);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  return error;
}

TEST(Tables, SafeWrite) {
  ::umask(022);
  const std::string bytes(100, 'n');
  for (const testing::Case& c : Table("safe_write.txt")) {
    const ScratchFolder folder;
    const fs::path& in = folder.path();
    const auto has = [&c](const char* word) { return (" " + c[0] + " ").find(" " + std::string(word) + " ") != std::string::npos; };
    if (has("old") || has("link")) std::ofstream(in / (has("link") ? "real.txt" : "a.txt")) << "old content";
    if (has("link")) fs::create_symlink("real.txt", in / "a.txt");
    if (has("old")) fs::permissions(in / "a.txt", fs::perms(has("ro_file") ? 0444 : 0640));
    if (has("folder")) fs::create_directory(in / "a.txt");
    if (has("ro_folder")) fs::permissions(in, fs::perms(0555));
    const std::string path = c[1].empty() || c[1][0] == '/' ? c[1] : (in / c[1]).string();
    std::map<std::string, std::string> expected = Snapshot(in);

    EXPECT_EQ(KindName(SaveWithin(path, bytes, has("small"))), c[2]) << c.where;
    if (c[2] == "ok") {
      for (auto& [name, entry] : expected) {
        if (fs::equivalent(in / name, path)) entry = entry.substr(0, entry.find('|') + 1) + bytes;
      }
      expected.try_emplace(fs::path(path).filename(), "420|" + bytes);  // 0644
    }
    EXPECT_EQ(Snapshot(in), expected) << c.where;
  }
}

// Each seed of the info file fuzzer reads as expected/seeds/<seed>.txt says.
TEST(Golden, InfoFileFuzzSeeds) {
  for (const auto& seed : fs::directory_iterator(VELMARO_INFO_SEEDS)) {
    const InfoFileValues v = ParseInfoFile(Slurp(seed.path()));
    const std::string notation = v.notation ? std::to_string(static_cast<int>(*v.notation)) : "none";
    const MapFrame& f = v.frame;
    ExpectGolden(kHere / "expected" / "seeds" / (seed.path().filename().string() + ".txt"),
                 notation + "\n" + v.mapPath + "\n" + f.left + "\n" + f.right + "\n" + f.top + "\n" + f.bottom +
                     "\n" + f.xCaption + "\n" + f.yCaption + "\n");
  }
}

}  // namespace
}  // namespace velmaro::test

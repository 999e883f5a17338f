// The session journal: record bytes against journal.txt, checksums and names against published vectors,
// damaged journals, the map's state, the state folder, the writer, and a writer killed at a random moment.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <random>
#include <sstream>
#include <thread>

#include "files/crc32c.h"
#include "files/journal_writer.h"
#include "files/session_journal.h"
#include "files/state_folder.h"
#include "tests/common/case_table.h"
#include "tests/files/support.h"

namespace velmaro {

static std::string Hex(std::string_view bytes) {
  std::string hex;
  for (const unsigned char byte : bytes) hex += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
  return hex;
}

// A record in a failure message: its bytes on the disk.
static void PrintTo(const JournalRecord& record, std::ostream* os) {
  std::string bytes;
  *os << (AppendEncodedRecord(record, bytes) ? Hex(bytes) : "(fits no kind)");
}

namespace test {
namespace {

namespace fs = std::filesystem;
using Pieces = std::vector<std::string>;
const MapIdentity kMapA{"/maps/a.jpg", 1000, 5};
const MapIdentity kMapB{"/maps/b.jpg", 2000, 7};

// Record i of a sequence through every kind but the Header (the first kind) in turn, with fields that tell
// the records apart: integers, doubles that are not exact in binary, texts with bytes a parser trips on (a
// kind of any fields gets one text).
JournalRecord Sample(int i) {
  const RecordKindInfo& info = kRecordKinds[1 + i % (std::size(kRecordKinds) - 1)];
  JournalRecord record{info.kind, {}};
  for (const char letter : info.signature) {
    if (letter == 'i') record.fields.emplace_back(std::int64_t{i} * 1000003 - 7);
    else if (letter == 'd') record.fields.emplace_back(i / 3.0 - 0.5);
    else record.fields.emplace_back("r" + std::to_string(i) + " \xC3\xA9|\n");
  }
  return record;
}

std::vector<JournalRecord> Samples(int first, int last) {
  std::vector<JournalRecord> records;
  for (int i = first; i <= last; ++i) records.push_back(Sample(i));
  return records;
}

// A folder of its own under the temporary one, removed with everything in it.
struct ScratchFolder {
  std::string name = fs::temp_directory_path() / "velmaro-journal-XXXXXX";
  const fs::path path = ::mkdtemp(name.data());
  ~ScratchFolder() { fs::remove_all(path); }
};

TEST(Journal, RecordBytes) {
  const std::vector<testing::Case> cases = testing::ReadCases(VELMARO_FILES_TESTS "/journal.txt");
  EXPECT_EQ(cases.size(), std::size(kRecordKinds));  // a row for every kind
  for (const testing::Case& c : cases) {
    const RecordKindInfo* info = FindRecordKind(c.name);
    const bool any = info != nullptr && info->signature == "*";  // its fields spelt with their types
    ASSERT_TRUE(info != nullptr && (any || c.fields.size() == info->signature.size() + 1)) << c.where;
    JournalRecord record{info->kind, {}};
    for (std::size_t i = 0; i + 1 < c.fields.size(); ++i) {
      const char letter = any ? c[i][0] : info->signature[i];
      const std::string text = any ? c[i].substr(2) : c[i];
      if (letter == 'i') record.fields.emplace_back(std::int64_t{std::stoll(text)});
      else if (letter == 'd') record.fields.emplace_back(testing::Case{c.where, c.name, {text}}.number(0));
      else record.fields.emplace_back(testing::Unescape(text));
    }
    std::string bytes;
    AppendEncodedRecord(record, bytes);
    EXPECT_EQ(Hex(bytes), c.fields.back()) << c.where;
    const DecodedRecord decoded = DecodeRecord(bytes + "next");  // a record knows its own end
    EXPECT_EQ(decoded.record, record) << c.where;
  }
  // A text that just fills the largest body (kind, type letter and length besides), and one byte more.
  std::string bytes;
  EXPECT_TRUE(AppendEncodedRecord({RecordKind::ReferenceModel, {std::string(kMaxRecordBodyBytes - 6, 'x')}}, bytes));
  EXPECT_FALSE(AppendEncodedRecord({RecordKind::ReferenceModel, {std::string(kMaxRecordBodyBytes - 5, 'x')}}, bytes));
}

// CRC-32C: the CRC catalogue's check value and RFC 3720 appendix B.4 (32 zero bytes). FNV-1a 64: a test
// vector of the hash's authors ("foobar"). Then the state folder's choice between its two variables.
TEST(Journal, ChecksumsNamesFolders) {
  EXPECT_EQ(Crc32c("123456789"), 0xe3069283u);
  EXPECT_EQ(Crc32c(std::string(32, '\0')), 0x8a9136aau);
  EXPECT_EQ(JournalFileName("foobar"), "85944171f73967e8.journal");
  EXPECT_EQ(StateFolderFrom("/x/state/", "/home/u"), "/x/state/velmaro");
  EXPECT_EQ(StateFolderFrom("x/state", "/home/u/"), "/home/u/.local/state/velmaro");
  EXPECT_EQ(StateFolderFrom(nullptr, "/home/u"), "/home/u/.local/state/velmaro");
  EXPECT_EQ(StateFolderFrom("", "u"), "");
}

void SetU32(std::string& piece, std::size_t at, std::size_t value) {
  for (int i = 0; i < 4; ++i) piece[at + i] = static_cast<char>(value >> (8 * i));
}

// The kind byte changed and the checksum made good again, so that only the kind is wrong.
void SetKind(std::string& piece, int kind) {
  piece[8] = static_cast<char>(kind);
  SetU32(piece, 4, Crc32c(std::string_view(piece).substr(8)));
}

std::string Joined(const Pieces& pieces, std::size_t count) { return std::accumulate(pieces.begin(), pieces.begin() + count, std::string()); }

// A damage to the pieces of the sample journal (see Reading): record 6 (an edge field) in the middle of
// the journal, unless the row says otherwise.
struct Damage { const char* name; void (*damage)(Pieces&); JournalDamage why; int kept; };
const Damage kDamages[] = {
    {"bad checksum", [](Pieces& p) { p[8][12] ^= 1; }, JournalDamage::BadChecksum, 6},
    {"length 0", [](Pieces& p) { SetU32(p[8], 0, 0); }, JournalDamage::BadLength, 6},
    // The body would run past the end: refused for the length alone, not as cut short.
    {"length over the limit", [](Pieces& p) { SetU32(p[8], 0, kMaxRecordBodyBytes + 1); }, JournalDamage::BadLength, 6},
    // The limit itself is a length a record may have: the body is looked for, and is not there.
    {"length of the limit", [](Pieces& p) { SetU32(p[11], 0, kMaxRecordBodyBytes); }, JournalDamage::CutShort, 9},
    {"unknown kind", [](Pieces& p) { SetKind(p[8], 200); }, JournalDamage::UnknownKind, 6},
    {"bytes left over", [](Pieces& p) { SetKind(p[8], static_cast<int>(RecordKind::Redo)); }, JournalDamage::Malformed, 6},
    // Record 7 (a notation) as a kind of any fields, its one field of a type no version writes.
    {"unknown type", [](Pieces& p) { p[9][9] = 'x'; SetKind(p[9], static_cast<int>(RecordKind::Snapshot)); }, JournalDamage::Malformed, 7},
    {"second header", [](Pieces& p) { p.insert(p.begin() + 8, p[1]); }, JournalDamage::Malformed, 6},
    {"no header", [](Pieces& p) { p.erase(p.begin() + 1); }, JournalDamage::NotAJournal, 0},
};

// A journal of a Header and ten sample records in pieces: [0] magic, [1] Header, [2 + i] record i.
TEST(Journal, Reading) {
  Pieces pieces{std::string(kJournalMagic), JournalStart(kMapA).substr(kJournalMagic.size())};
  for (const JournalRecord& record : Samples(0, 9)) AppendEncodedRecord(record, pieces.emplace_back());
  std::string journal;
  std::vector<std::size_t> ends;  // where each piece ends
  for (const std::string& piece : pieces) ends.push_back((journal += piece).size());
  for (std::size_t cut = 0; cut <= journal.size() && !HasFailure(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    const std::size_t done = std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin();  // pieces whole
    const std::size_t wholeBytes = done >= 2 ? ends[done - 1] : 0;  // to the end of the Header or a record
    const JournalContents read = ParseJournal(std::string_view(journal).substr(0, cut));
    EXPECT_EQ(read.damage, cut > 0 && cut == wholeBytes ? JournalDamage::None : JournalDamage::CutShort);
    EXPECT_EQ(read.map, done >= 2 ? std::optional(kMapA) : std::nullopt);
    EXPECT_EQ(read.records, Samples(0, static_cast<int>(done) - 3));
    EXPECT_EQ(read.wholeBytes, wholeBytes);
  }
  for (const Damage& row : kDamages) {
    SCOPED_TRACE(row.name);
    Pieces damaged = pieces;
    row.damage(damaged);
    const JournalContents read = ParseJournal(Joined(damaged, damaged.size()));
    const bool header = row.why != JournalDamage::NotAJournal;
    EXPECT_EQ(read.damage, row.why);
    EXPECT_EQ(read.map, header ? std::optional(kMapA) : std::nullopt);
    EXPECT_EQ(read.records, Samples(0, row.kept - 1));
    EXPECT_EQ(read.wholeBytes, header ? Joined(pieces, 2 + row.kept).size() : 0);
  }
  // A pipe in the journal's place is not waited on; a folder there is told apart.
  const ScratchFolder scratch;
  ASSERT_EQ(::mkfifo((scratch.path / "pipe").c_str(), 0600), 0);
  EXPECT_EQ(KindName(ReadJournal(scratch.path / "pipe").error), "NotRegularFile");
  EXPECT_EQ(KindName(ReadJournal(scratch.path).error), "IsFolder");
}

TEST(Journal, MapState) {
  const ScratchFolder scratch;
  const fs::path map = scratch.path / "map.jpg";
  const auto write = [&](const char* bytes, long nanoseconds) {
    std::ofstream(map, std::ios::binary) << bytes;
    const timespec times[2] = {{1'600'000'000, 0}, {1'600'000'000, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, map.c_str(), times, 0), 0);
  };
  write("mm", 5);
  fs::create_symlink("map.jpg", scratch.path / "link.jpg");
  const std::optional<MapIdentity> identity = IdentifyMap(scratch.path / "link.jpg");  // the file, not the link
  ASSERT_EQ(identity, (MapIdentity{fs::canonical(map), 2, 1'600'000'000'000'000'005}));
  EXPECT_EQ(CheckMap(*identity), MapState::Unchanged);
  write("mmm", 5);
  EXPECT_EQ(CheckMap(*identity), MapState::Changed);
  write("mm", 6);
  EXPECT_EQ(CheckMap(*identity), MapState::Changed);
  fs::remove(map);
  EXPECT_EQ(CheckMap(*identity), MapState::Gone);
}

// steps: a, b begin map /maps/a.jpg or /maps/b.jpg; +N appends the next N sample records; big appends a
// record of 2000 bytes; rm removes; wait waits until all is written. reported: what takeFailure gave, each
// time. journals: map:first-last sample records, in order; "" an empty state folder, "-" no folder at all.
struct WriterRow { std::string_view name, setup, steps, reported, journals; };
const WriterRow kWriterRows[] = {
    {"no file before the first record", "", "a", "", "-"},
    {"in order", "", "a +1000", "", "a:0-999"},
    {"two maps, the first again replacing its journal", "", "a +3 b +4 a +2", "", "a:7-8 b:3-6"},
    {"removal of the current map's journal", "", "a +3 b +4 wait rm", "", "a:0-2"},
    {"a fresh journal after removal", "", "a +5 wait rm +2", "", "a:5-6"},
    {"read-only state folder", "read-only", "a +3 wait +3", "PermissionDenied", ""},
    {"write failing part way", "1 KiB files", "a +3 wait big +3", "TooLarge", "a:0-2"},
    {"removal after a failure", "1 KiB files", "a +3 wait big wait rm", "TooLarge", ""},
    {"no state folder at all", "no folder", "a +3", "NoFileName", "-"},
};

TEST(Journal, Writer) {
  const AsNobody nobody;
  ::umask(022);                // so that a mode wider than the writer's own shows
  ::signal(SIGXFSZ, SIG_IGN);  // a write past the file size limit fails with EFBIG instead of ending the process
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  for (const WriterRow& row : kWriterRows) {
    SCOPED_TRACE(row.name);
    const ScratchFolder scratch;
    const fs::path folder = scratch.path / "state" / "velmaro";  // the folder above is made too
    if (row.setup == "read-only" && fs::create_directory(folder.parent_path())) ::mkdir(folder.c_str(), 0555);
    const rlimit small{row.setup == "1 KiB files" ? 1024 : limit.rlim_cur, limit.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    std::string reported;
    {
      JournalWriter writer(row.setup == "no folder" ? "" : folder.string());
      const auto poll = [&] { if (auto failure = writer.takeFailure()) reported += (reported.empty() ? "" : " ") + KindName(failure); };
      std::istringstream steps{std::string(row.steps)};
      int next = 0;
      for (std::string step; steps >> step; poll()) {
        if (step == "a" || step == "b") writer.beginMap(step == "a" ? kMapA : kMapB);
        if (step == "rm") writer.remove();
        if (step == "wait") writer.waitUntilDone();
        if (step == "big") { EXPECT_TRUE(writer.append({RecordKind::ReferenceModel, {std::string(2000, 'x')}})); }
        for (int n = step[0] == '+' ? std::stoi(step.substr(1)) : 0; n > 0; --n) EXPECT_TRUE(writer.append(Sample(next++)));
      }
      EXPECT_FALSE(writer.append({RecordKind::Header, {kMapB.path, kMapB.sizeBytes, kMapB.mtimeNs}}));
      writer.waitUntilDone();
      poll();
    }
    ::setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(reported, row.reported);
    EXPECT_EQ(fs::exists(folder), row.journals != "-");
    if (!fs::exists(folder)) continue;
    EXPECT_EQ(fs::status(folder).permissions(), row.setup == "read-only" ? fs::perms(0555) : fs::perms::owner_all);
    std::istringstream journals{std::string(row.journals)};
    std::ptrdiff_t count = 0;
    for (std::string journal; journals >> journal; ++count) {
      const std::string path = JournalPath(folder, "/maps/" + journal.substr(0, 1) + ".jpg");
      const JournalContents read = ReadJournal(path);
      EXPECT_EQ(read.damage, JournalDamage::None) << path;
      EXPECT_EQ(read.map, journal[0] == 'a' ? kMapA : kMapB);
      EXPECT_EQ(read.records, Samples(std::stoi(journal.substr(2)), std::stoi(journal.substr(journal.find('-') + 1))));
      EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), count);  // and nothing else
  }
}

// A child appends records a few at a time and is killed at a random moment once its journal exists: the
// journal left holds the first records, each whole, in order, and at least the first batch.
TEST(Journal, KilledAtRandomLeavesAWholePrefix) {
  const ScratchFolder scratch;
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  for (int trial = 0; trial < 12; ++trial) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", trial " + std::to_string(trial));
    const fs::path folder = scratch.path / std::to_string(trial);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      JournalWriter writer(folder);
      writer.beginMap(kMapA);
      for (int i = 0; i < 4000; ++i) {
        writer.append(Sample(i));
        if (i % 16 == 15) std::this_thread::sleep_for(std::chrono::microseconds(100));
      }
      for (;;) ::pause();
    }
    const std::string journal = JournalPath(folder, kMapA.path);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(journal) && std::chrono::steady_clock::now() < giveUp) std::this_thread::sleep_for(std::chrono::microseconds(200));
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const JournalContents read = ReadJournal(journal);
    ASSERT_EQ(read.map, kMapA);  // a writer that never made its journal stops here, not after every trial
    EXPECT_TRUE(read.damage == JournalDamage::None || read.damage == JournalDamage::CutShort);
    // The first records in order, and at least one: the journal gets its name only with its first batch.
    EXPECT_EQ(read.records, Samples(0, std::max(static_cast<int>(read.records.size()), 1) - 1));
  }
}

}  // namespace
}  // namespace test
}  // namespace velmaro

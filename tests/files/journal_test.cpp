// The session journal on the rows of journal.txt, and a writer killed at a random moment.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <charconv>
#include <chrono>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "files/crc32c.h"
#include "files/journal_writer.h"
#include "files/session_journal.h"
#include "files/state_folder.h"
#include "tests/common/case_table.h"
#include "tests/files/support.h"

namespace velmaro::test {
namespace {

namespace fs = std::filesystem;
using velmaro::testing::Case;
const fs::path kHere = VELMARO_FILES_TESTS;

std::vector<Case> Rows(const std::string& operation) {
  std::vector<Case> rows;
  for (Case& c : velmaro::testing::ReadCases(kHere / "journal.txt")) {
    if (c[0] == operation) rows.push_back(std::move(c));
  }
  return rows;
}

template <typename Number>
Number Parse(const Case& c, const std::string& text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) Case::Fail(c.where, "not a number: " + text);
  return value;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const unsigned char byte : bytes) hex += {kDigits[byte >> 4], kDigits[byte & 15]};
  return hex;
}

// A record as text, a double by its bits, so that comparing two texts compares what is on the disk.
std::string Describe(const JournalRecord& record) {
  std::ostringstream text;
  text << static_cast<int>(record.kind);
  for (const JournalField& field : record.fields) {
    if (const auto* integer = std::get_if<std::int64_t>(&field)) text << " i" << *integer;
    else if (const auto* number = std::get_if<double>(&field)) text << " d" << std::hex << std::bit_cast<std::uint64_t>(*number) << std::dec;
    else text << " s" << Hex(std::get<std::string>(field));
  }
  return text.str();
}

std::string Describe(const std::vector<JournalRecord>& records) {
  std::string text;
  for (const JournalRecord& record : records) text += Describe(record) + "\n";
  return text;
}

// Record i of a sequence that goes through every kind but the Header in turn, with fields that tell
// the records apart: integers, doubles that are not exact in binary, texts with bytes a parser trips on.
JournalRecord Sample(int i) {
  std::vector<const RecordKindInfo*> kinds;
  for (const RecordKindInfo& info : kRecordKinds) {
    if (info.kind != RecordKind::Header) kinds.push_back(&info);
  }
  const RecordKindInfo& info = *kinds[static_cast<std::size_t>(i) % kinds.size()];
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

const MapIdentity kMapA{"/maps/a.jpg", 1000, 5};
const MapIdentity kMapB{"/maps/b.jpg", 2000, 7};

// A fresh folder under the temporary one, removed again with everything in it.
struct ScratchFolder {
  const fs::path path;
  explicit ScratchFolder(const std::string& name)
      : path(fs::temp_directory_path() / ("velmaro-journal-" + std::to_string(::getpid()) + "-" + name)) {
    Clear();
    fs::create_directories(path);
  }
  ~ScratchFolder() { Clear(); }
  void Clear() {
    std::error_code ignored;
    if (fs::exists(path, ignored)) {
      for (const auto& entry : fs::recursive_directory_iterator(path, ignored)) {
        if (entry.is_directory(ignored)) fs::permissions(entry.path(), fs::perms::owner_all, ignored);
      }
      fs::permissions(path, fs::perms::owner_all, ignored);
    }
    fs::remove_all(path, ignored);
  }
};

TEST(JournalTable, Records) {
  for (const Case& c : Rows("record")) {
    const RecordKindInfo* info = FindRecordKind(c[1]);
    ASSERT_NE(info, nullptr) << c.where;
    ASSERT_EQ(c.fields.size(), info->signature.size() + 3) << c.where;
    JournalRecord record{info->kind, {}};
    for (std::size_t i = 0; i < info->signature.size(); ++i) {
      const std::string text = Unescape(c[2 + i]);
      if (info->signature[i] == 'i') record.fields.emplace_back(Parse<std::int64_t>(c, text));
      else if (info->signature[i] == 'd') record.fields.emplace_back(Parse<double>(c, text));
      else record.fields.emplace_back(text);
    }
    std::string bytes;
    EXPECT_TRUE(AppendEncodedRecord(record, bytes)) << c.where;
    EXPECT_EQ(Hex(bytes), c.fields.back()) << c.where;
    // Bytes after the record belong to the next one: a record knows its own end.
    const DecodedRecord decoded = DecodeRecord(bytes + "next");
    EXPECT_EQ(decoded.damage, JournalDamage::None) << c.where;
    EXPECT_EQ(decoded.bytes, bytes.size()) << c.where;
    EXPECT_EQ(Describe(decoded.record), Describe(record)) << c.where;
  }
}

TEST(JournalTable, ChecksumsNamesFolders) {
  for (const Case& c : Rows("crc")) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", Crc32c(Unescape(c[1])));
    EXPECT_EQ(hex, c[2]) << c.where;
  }
  for (const Case& c : Rows("name")) EXPECT_EQ(JournalFileName(Unescape(c[1])), c[2]) << c.where;
  for (const Case& c : Rows("folder")) {
    const auto variable = [](const std::string& field) { return field == "-" ? nullptr : field.c_str(); };
    EXPECT_EQ(StateFolderFrom(variable(c[1]), variable(c[2])), c[3]) << c.where;
  }
}

// The refusals that no table row reaches: what the writer is given wrongly, and the body limit.
TEST(JournalTable, Refusals) {
  const std::size_t textRoom = kMaxRecordBodyBytes - 6;  // kind, type letter, u32 length
  std::string bytes;
  EXPECT_TRUE(AppendEncodedRecord({RecordKind::Saved, {std::string(textRoom, 'x')}}, bytes));
  EXPECT_EQ(DecodeRecord(bytes).damage, JournalDamage::None);
  bytes.clear();
  EXPECT_FALSE(AppendEncodedRecord({RecordKind::Saved, {std::string(textRoom + 1, 'x')}}, bytes));
  EXPECT_FALSE(AppendEncodedRecord({RecordKind::Capture, {std::int64_t{1}, 2.0}}, bytes));
  EXPECT_FALSE(AppendEncodedRecord({RecordKind::Capture, {1.0, 2.0, 3.0}}, bytes));
  EXPECT_FALSE(AppendEncodedRecord({static_cast<RecordKind>(200), {}}, bytes));
  EXPECT_EQ(bytes, "");

  const ScratchFolder scratch("refusals");
  const fs::path folder = scratch.path / "velmaro";
  JournalWriter writer(folder);
  EXPECT_FALSE(writer.append(Sample(0)));  // no map yet
  writer.beginMap(kMapA);
  EXPECT_FALSE(writer.append({RecordKind::Header, {kMapB.path, kMapB.sizeBytes, kMapB.mtimeNs}}));
  EXPECT_FALSE(writer.append({RecordKind::Undo, {std::int64_t{1}}}));
  writer.waitUntilDone();
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_EQ(writer.takeFailure(), std::nullopt);
}

// The sample journal in pieces: magic, Header, records 0..9.
std::vector<std::string> SamplePieces() {
  std::vector<std::string> pieces{std::string(kJournalMagic), JournalStart(kMapA).substr(kJournalMagic.size())};
  for (const JournalRecord& record : Samples(0, 9)) AppendEncodedRecord(record, pieces.emplace_back());
  return pieces;
}

std::size_t PieceIndex(const std::string& word) {
  if (word == "magic") return 0;
  if (word == "header") return 1;
  return 2 + std::stoul(word);
}

void PutU32(std::string& piece, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) piece[i] = static_cast<char>(value >> (8 * i));
}

std::string Joined(const std::vector<std::string>& pieces, std::size_t count) {
  std::string bytes;
  for (std::size_t i = 0; i < count && i < pieces.size(); ++i) bytes += pieces[i];
  return bytes;
}

// What reading gives, in the words of the table: why it stopped, records kept, header kept.
std::string Outcome(const JournalContents& contents) {
  constexpr const char* kDamage[] = {"None", "CutShort", "BadLength", "BadChecksum", "UnknownKind", "Malformed",
                                     "NotAJournal", "Unreadable"};
  std::string text = kDamage[static_cast<int>(contents.damage)];
  if (contents.error) text += " " + KindName(contents.error);
  return text + " | " + std::to_string(contents.records.size()) + " | " + (contents.map ? "yes" : "no");
}

// Checks one reading against the row: the outcome, the records kept, and where the whole part ends.
void ExpectReading(const Case& c, const JournalContents& contents, const std::vector<std::string>& pieces,
                   const std::string& detail) {
  EXPECT_EQ(Outcome(contents), c[2] + " | " + c[3] + " | " + c[4]) << c.where << detail;
  const std::size_t kept = std::stoul(c[3]);
  EXPECT_EQ(contents.map.value_or(kMapA), kMapA) << c.where;
  EXPECT_EQ(Describe(contents.records), Describe(Samples(0, static_cast<int>(kept) - 1))) << c.where << detail;
  EXPECT_EQ(contents.wholeBytes, contents.map ? Joined(pieces, 2 + kept).size() : 0) << c.where << detail;
}

JournalContents ReadFromDisk(const std::string& how, const std::string& bytes, const fs::path& folder) {
  const fs::path file = folder / "j.journal";
  if (how == "on_disk") std::ofstream(file, std::ios::binary) << bytes;
  if (how == "folder") fs::create_directory(file);
  if (how == "pipe") ::mkfifo(file.c_str(), 0600);
  return ReadJournal(file);
}

TEST(JournalTable, Reading) {
  const ScratchFolder scratch("reading");
  for (const Case& c : Rows("read")) {
    std::vector<std::string> pieces = SamplePieces();
    std::istringstream damage(c[1]);
    std::string how;
    damage >> how;
    if (how == "cut_each") {
      std::string which;
      damage >> which;
      const std::size_t start = Joined(pieces, PieceIndex(which)).size();
      const std::string whole = Joined(pieces, pieces.size());
      for (std::size_t cut = start + 1; cut < start + pieces[PieceIndex(which)].size(); ++cut) {
        ExpectReading(c, ParseJournal(std::string_view(whole).substr(0, cut)), pieces, " cut at " + std::to_string(cut));
      }
      continue;
    }
    std::string which;
    std::size_t number = 0;
    if (how == "flip" || how == "length" || how == "kind") damage >> which >> number;
    if (how == "cut" || how == "zeros" || how == "header_at") damage >> number;
    if (how == "flip") pieces[PieceIndex(which)][number] ^= 1;
    if (how == "length") PutU32(pieces[PieceIndex(which)], static_cast<std::uint32_t>(number));
    if (how == "kind") {
      std::string& piece = pieces[PieceIndex(which)];
      piece[8] = static_cast<char>(number);
      std::string crc(4, '\0');
      PutU32(crc, Crc32c(std::string_view(piece).substr(8)));
      piece.replace(4, 4, crc);
    }
    if (how == "header_at") pieces.insert(pieces.begin() + 2 + number, pieces[1]);
    if (how == "zeros") pieces.emplace_back(number, '\0');
    if (how == "no_header") pieces.erase(pieces.begin() + 1);
    if (how == "magic") pieces[0][0] = 'X';
    std::string bytes = Joined(pieces, pieces.size());
    if (how == "cut") bytes.resize(number);
    const bool onDisk = how == "on_disk" || how == "missing_file" || how == "folder" || how == "pipe";
    ExpectReading(c, onDisk ? ReadFromDisk(how, bytes, scratch.path) : ParseJournal(bytes), pieces, "");
    fs::remove_all(scratch.path / "j.journal");
  }
}

TEST(JournalTable, MapState) {
  constexpr std::int64_t kSeconds = 1'600'000'000;
  const auto setTime = [](const fs::path& file, long nanoseconds) {
    const timespec times[2] = {{kSeconds, 0}, {kSeconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  };
  for (const Case& c : Rows("map")) {
    const ScratchFolder scratch("map");
    const fs::path map = scratch.path / "map.jpg";
    std::ofstream(map, std::ios::binary) << std::string(100, 'm');
    setTime(map, 5);
    fs::create_symlink("map.jpg", scratch.path / "link.jpg");
    const std::optional<MapIdentity> identity = IdentifyMap(scratch.path / "link.jpg");
    ASSERT_TRUE(identity.has_value()) << c.where;
    EXPECT_EQ(*identity, (MapIdentity{fs::canonical(map), 100, kSeconds * 1'000'000'000 + 5})) << c.where;
    if (c[1] == "grow") {
      std::ofstream(map, std::ios::binary | std::ios::app) << 'm';
      setTime(map, 5);  // the size alone tells
    }
    if (c[1] == "touch") setTime(map, 6);
    if (c[1] == "delete" || c[1] == "folder") fs::remove(map);
    if (c[1] == "folder") fs::create_directory(map);
    if (c[1] == "unlink") fs::remove(scratch.path / "link.jpg");
    constexpr const char* kStates[] = {"Unchanged", "Changed", "Gone"};
    EXPECT_EQ(kStates[static_cast<int>(CheckMap(*identity))], c[2]) << c.where;
  }
}

// The state folder after a writer row, in the words of the table; modes checked on the way.
std::string FolderOutcome(const fs::path& folder, bool madeByWriter, const Case& c) {
  if (!fs::exists(folder)) return "no_folder";
  EXPECT_TRUE(!madeByWriter || fs::status(folder).permissions() == fs::perms::owner_all) << c.where << " folder mode";
  std::map<std::string, std::string> journals;  // by file name, as ExpectedFolder orders them
  for (const auto& entry : fs::directory_iterator(folder)) {
    const JournalContents contents = ReadJournal(entry.path());
    const std::string letter = contents.map ? contents.map->path.substr(6, 1) : "?";
    EXPECT_EQ(entry.path().filename(), JournalFileName(contents.map ? contents.map->path : "")) << c.where;
    EXPECT_EQ(contents.damage, JournalDamage::None) << c.where << " " << entry.path();
    EXPECT_EQ(entry.status().permissions(), fs::perms::owner_read | fs::perms::owner_write) << c.where;
    journals[entry.path().filename()] = letter + ":" + Describe(contents.records);
  }
  std::string text;
  for (const auto& [name, journal] : journals) text += (text.empty() ? "" : " ") + journal;
  return text.empty() ? "empty" : text;
}

// "a:0-2 b:3-6" as FolderOutcome writes it, in the order of the journals' names.
std::string ExpectedFolder(const std::string& column) {
  if (column == "empty" || column == "no_folder") return column;
  std::map<std::string, std::string> journals;
  std::istringstream words(column);
  for (std::string word; words >> word;) {
    const std::size_t dash = word.find('-');
    const std::string letter = word.substr(0, 1);
    const std::vector<JournalRecord> records = Samples(std::stoi(word.substr(2, dash - 2)), std::stoi(word.substr(dash + 1)));
    journals[JournalFileName("/maps/" + letter + ".jpg")] = letter + ":" + Describe(records);
  }
  std::string text;
  for (const auto& [name, journal] : journals) text += (text.empty() ? "" : " ") + journal;
  return text;
}

TEST(JournalTable, Writer) {
  const AsNobody nobody;
  ::umask(022);
  ::signal(SIGXFSZ, SIG_IGN);  // a write past the file size limit fails with EFBIG instead of ending the process
  rlimit unlimited{};
  ::getrlimit(RLIMIT_FSIZE, &unlimited);
  const rlimit small{1024, unlimited.rlim_max};
  for (const Case& c : Rows("writer")) {
    const ScratchFolder scratch("writer");
    const fs::path folder = scratch.path / "state" / "velmaro";
    const fs::path readOnly = c[1] == "ro_state" ? folder : folder.parent_path();
    if (c[1] == "ro_state" || c[1] == "ro_parent") {
      fs::create_directories(readOnly);
      fs::permissions(readOnly, fs::perms(0555));
    }
    if (c[1] == "small_files") ::setrlimit(RLIMIT_FSIZE, &small);
    std::optional<FileError> failure;
    int reports = 0;
    {
      JournalWriter writer(c[1] == "no_home" ? "" : folder.string());
      const auto poll = [&] {
        if (auto reported = writer.takeFailure()) failure = reported, ++reports;
      };
      std::istringstream steps(c[2]);
      int next = 0;
      for (std::string step; steps >> step; poll()) {
        if (step == "a" || step == "b") writer.beginMap(step == "a" ? kMapA : kMapB);
        if (step == "rm") writer.remove();
        if (step == "wait") writer.waitUntilDone();
        std::vector<JournalRecord> appended;
        if (step == "big") appended.push_back({RecordKind::ReferenceModel, {std::string(2000, 'x')}});
        for (int n = step[0] == '+' ? std::stoi(step.substr(1)) : 0; n > 0; --n) appended.push_back(Sample(next++));
        for (JournalRecord& record : appended) EXPECT_TRUE(writer.append(std::move(record))) << c.where;
      }
      writer.waitUntilDone();
      poll();
    }
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    EXPECT_EQ(KindName(failure), c[3]) << c.where;
    EXPECT_EQ(reports, c[3] == "ok" ? 0 : 1) << c.where;
    EXPECT_EQ(FolderOutcome(folder, c[1] == "none" || c[1] == "small_files", c), ExpectedFolder(c[4])) << c.where;
  }
}

// A child appends records, a few at a time, and is killed at a random moment once its journal exists:
// the journal left holds the first records, in order, each whole, and at least the first batch.
TEST(JournalWriter, KilledAtRandomLeavesAWholePrefix) {
  constexpr int kTrials = 12;
  constexpr int kRecords = 4000;
  const ScratchFolder scratch("killed");
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delayUs(0, 30000);
  std::string kept;
  for (int trial = 0; trial < kTrials; ++trial) {
    const fs::path folder = scratch.path / std::to_string(trial);
    const std::string journal = JournalPath(folder, kMapA.path);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      JournalWriter writer(folder);
      writer.beginMap(kMapA);
      for (int i = 0; i < kRecords; ++i) {
        writer.append(Sample(i));
        if (i % 16 == 15) std::this_thread::sleep_for(std::chrono::microseconds(100));
      }
      for (;;) ::pause();
    }
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(journal) && std::chrono::steady_clock::now() < giveUp) std::this_thread::sleep_for(std::chrono::microseconds(200));
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    const JournalContents contents = ReadJournal(journal);
    SCOPED_TRACE("seed " + std::to_string(seed) + ", trial " + std::to_string(trial));
    ASSERT_TRUE(contents.map.has_value()) << Outcome(contents);
    EXPECT_EQ(*contents.map, kMapA);
    EXPECT_TRUE(contents.damage == JournalDamage::None || contents.damage == JournalDamage::CutShort) << Outcome(contents);
    EXPECT_GT(contents.records.size(), 0u);
    EXPECT_EQ(Describe(contents.records), Describe(Samples(0, static_cast<int>(contents.records.size()) - 1)));
    kept += " " + std::to_string(contents.records.size());
  }
  std::printf("records kept by each killed writer:%s\n", kept.c_str());
}

}  // namespace
}  // namespace velmaro::test

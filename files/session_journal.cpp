#include "files/session_journal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "files/file_descriptor.h"

namespace velmaro {
namespace {

constexpr std::string_view kJournalSuffix = ".journal";
constexpr std::size_t kHashDigits = 16;

std::int64_t ModificationNs(const struct stat& info) {
  return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

// 64-bit FNV-1a: fixed by its two constants, unlike std::hash, which may change between builds.
std::uint64_t Fnv1a64(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3u;
  }
  return hash;
}

bool IsJournalName(std::string_view name) {
  if (name.size() != kHashDigits + kJournalSuffix.size() || !name.ends_with(kJournalSuffix)) return false;
  return std::all_of(name.begin(), name.begin() + kHashDigits,
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::optional<MapIdentity> HeaderOf(const JournalRecord& record) {
  if (record.kind != RecordKind::Header) return std::nullopt;
  return MapIdentity{record.text(0), record.integer(1), record.integer(2)};
}

struct CloseFolder {
  void operator()(DIR* folder) const { ::closedir(folder); }
};

// At most `limit` bytes from the start of an open ordinary file.
std::optional<FileError> ReadPrefix(int fd, std::size_t limit, std::string& bytes) {
  bytes.resize(limit);
  std::size_t filled = 0;
  while (filled < limit) {
    const ssize_t got = ::read(fd, bytes.data() + filled, limit - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return LastSystemError();
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return std::nullopt;
}

JournalContents Unreadable(FileError error) {
  JournalContents contents;
  contents.damage = JournalDamage::Unreadable;
  contents.error = error;
  return contents;
}

}  // namespace

std::optional<MapIdentity> IdentifyMap(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
  if (!resolved) return std::nullopt;
  struct stat info {};
  if (::stat(resolved.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return MapIdentity{resolved.get(), static_cast<std::int64_t>(info.st_size), ModificationNs(info)};
}

MapState CheckMap(const MapIdentity& map) {
  struct stat info {};
  if (::stat(map.path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return MapState::Gone;
  const bool same = static_cast<std::int64_t>(info.st_size) == map.sizeBytes && ModificationNs(info) == map.mtimeNs;
  return same ? MapState::Unchanged : MapState::Changed;
}

std::string JournalStart(const MapIdentity& map) {
  std::string bytes(kJournalMagic);
  const JournalRecord header{RecordKind::Header, {map.path, map.sizeBytes, map.mtimeNs}};
  return AppendEncodedRecord(header, bytes) ? bytes : std::string();
}

JournalContents ParseJournal(std::string_view bytes) {
  JournalContents contents;
  if (!bytes.starts_with(kJournalMagic)) {
    const bool cutInMagic = bytes.size() < kJournalMagic.size() && kJournalMagic.starts_with(bytes);
    contents.damage = cutInMagic ? JournalDamage::CutShort : JournalDamage::NotAJournal;
    return contents;
  }
  std::size_t at = kJournalMagic.size();
  const DecodedRecord header = DecodeRecord(bytes.substr(at));
  if (header.damage != JournalDamage::None) {
    contents.damage = header.damage;
    return contents;
  }
  contents.map = HeaderOf(header.record);
  if (!contents.map) {
    contents.damage = JournalDamage::NotAJournal;
    return contents;
  }
  at += header.bytes;
  contents.wholeBytes = at;
  while (at < bytes.size()) {
    DecodedRecord next = DecodeRecord(bytes.substr(at));
    if (next.damage == JournalDamage::None && next.record.kind == RecordKind::Header) next.damage = JournalDamage::Malformed;
    if (next.damage != JournalDamage::None) {
      contents.damage = next.damage;
      break;
    }
    contents.records.push_back(std::move(next.record));
    at += next.bytes;
    contents.wholeBytes = at;
  }
  return contents;
}

JournalContents ReadJournal(const std::string& path) {
  // Not blocking: a pipe put in the journal's place must not hang the start-up.
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file.isOpen()) return Unreadable(LastSystemError());
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return Unreadable(LastSystemError());
  if (S_ISDIR(info.st_mode)) return Unreadable(FileError{FileErrorKind::IsFolder, 0});
  if (!S_ISREG(info.st_mode)) return Unreadable(FileError{FileErrorKind::NotRegularFile, 0});
  // What is appended while this reads is left for a later reading.
  const std::size_t size = std::min(static_cast<std::size_t>(info.st_size), kMaxJournalBytes);
  std::string bytes;
  if (auto failure = ReadPrefix(file.get(), size, bytes)) return Unreadable(*failure);
  return ParseJournal(bytes);
}

std::string JournalFileName(std::string_view mapPath) {
  static constexpr char kDigits[] = "0123456789abcdef";
  const std::uint64_t hash = Fnv1a64(mapPath);
  std::string name(kHashDigits, '0');
  for (std::size_t i = 0; i < kHashDigits; ++i) name[kHashDigits - 1 - i] = kDigits[(hash >> (4 * i)) & 0xFu];
  return name + std::string(kJournalSuffix);
}

std::string JournalPath(const std::string& stateFolder, std::string_view mapPath) {
  return stateFolder + "/" + JournalFileName(mapPath);
}

std::vector<std::string> ListJournals(const std::string& stateFolder) {
  std::vector<std::string> journals;
  const std::unique_ptr<DIR, CloseFolder> folder(::opendir(stateFolder.c_str()));
  if (!folder) return journals;
  while (const dirent* entry = ::readdir(folder.get())) {
    if (IsJournalName(entry->d_name)) journals.push_back(stateFolder + "/" + entry->d_name);
  }
  std::sort(journals.begin(), journals.end());
  return journals;
}

std::string PendingJournalPath(const std::string& journalPath) { return journalPath + ".new"; }

std::optional<FileError> RemoveJournal(const std::string& journalPath) {
  std::optional<FileError> failure;
  for (const std::string& path : {journalPath, PendingJournalPath(journalPath)}) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT && !failure) failure = LastSystemError();
  }
  return failure;
}

}  // namespace velmaro

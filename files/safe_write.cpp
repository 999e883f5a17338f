#include "files/safe_write.h"

#include "files/file_descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "files/bounded_file.h"

namespace velmaro {
namespace {

// Room left for ".", ".XXXXXX" within the 255-byte limit of one name on common file systems.
constexpr std::size_t kMaxTemporaryStem = 240;

constexpr std::array<std::string_view, 4> kDialogPresets = {"*.jpg", "*.txt", "*.info", "*.kml"};

FileError ErrorOf(FileErrorKind kind) { return FileError{kind, 0}; }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsDialogPreset(const std::string& path) {
  const std::string name = NameOf(path);
  for (const std::string_view preset : kDialogPresets) {
    if (name == preset) return true;
  }
  return false;
}

// Writing through a link keeps the link: the file it points to is the one replaced. A dangling link
// is replaced by the new file.
std::string FileBehindLinks(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target(resolved);
  std::free(resolved);
  return target;
}

mode_t ModeForNewFile() {
  // umask can only be read by setting it; the program has one thread, so nobody sees the brief 0.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// What the new file should look like: the old file's mode and owners, or a new file's mode.
struct TargetState {
  bool exists = false;
  mode_t mode = 0;
  uid_t owner = 0;
  gid_t group = 0;
};

std::optional<FileError> ReadTargetState(const std::string& path, TargetState& state) {
  if (NameOf(path).empty()) return ErrorOf(FileErrorKind::IsFolder);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT) return LastSystemError();
    state.mode = ModeForNewFile();
    return std::nullopt;
  }
  if (S_ISDIR(info.st_mode)) return ErrorOf(FileErrorKind::IsFolder);
  if (!S_ISREG(info.st_mode)) return ErrorOf(FileErrorKind::NotRegularFile);
  // A file made read-only stays so: the rename alone would replace it wherever the folder is writable.
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return LastSystemError();
  state = TargetState{true, static_cast<mode_t>(info.st_mode & 07777), info.st_uid, info.st_gid};
  return std::nullopt;
}

// The temporary file: removed again unless it was renamed into place.
class PendingFile {
 public:
  explicit PendingFile(const std::string& target) {
    std::string pattern = FolderOf(target) + "/." + NameOf(target).substr(0, kMaxTemporaryStem) + ".XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);  // not inherited by programs the window starts
    if (fd >= 0) {
      file_.emplace(fd);
      name_ = buffer.data();
    }
  }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    file_.reset();
    if (!name_.empty() && !renamed_) ::unlink(name_.c_str());
  }

  bool opened() const { return file_.has_value(); }
  FileDescriptor& file() { return *file_; }
  const std::string& name() const { return name_; }
  void markRenamed() { renamed_ = true; }

 private:
  std::optional<FileDescriptor> file_;
  std::string name_;
  bool renamed_ = false;
};

// Only a privileged process may give a file away; for anyone else the new file simply belongs to the
// writer, as it would after deleting and recreating the file, so a refusal is not a failure.
void KeepOwnersIfAllowed(int fd, const TargetState& state) {
  if (!state.exists) return;
  [[maybe_unused]] const int refused = ::fchown(fd, state.owner, state.group);
}

// Owners first: a change of owner clears the set-user-ID and set-group-ID bits that the mode restores.
bool ApplyTargetState(int fd, const TargetState& state) {
  KeepOwnersIfAllowed(fd, state);
  return ::fchmod(fd, state.mode) == 0;
}

// The rename is recorded by the folder; without this a crash right after saving could bring back the
// old file. The new content is complete either way, so a folder that cannot be synced is no failure.

// The file's whole content from its first byte, flushed to the disk.
bool OverwriteFrom0(int fd, std::string_view bytes) {
  return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes) &&
         ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

std::optional<FileError> ReplaceByRename(PendingFile& pending, const std::string& target, std::string_view bytes,
                                         const TargetState& state) {
  const int fd = pending.file().get();
  if (!WriteAll(fd, bytes) || !ApplyTargetState(fd, state) || ::fsync(fd) != 0) return LastSystemError();
  if (!pending.file().close()) return LastSystemError();
  if (::rename(pending.name().c_str(), target.c_str()) != 0) return LastSystemError();
  pending.markRenamed();
  SyncFolder(FolderOf(target));
  return std::nullopt;
}

// The new bytes are written over the old ones without truncating first, so a disk that fills up
// fails the write while the old bytes are still held in memory to be put back. Once the new bytes are
// flushed they are on the disk, so the close that follows decides nothing.
std::optional<FileError> ReplaceInPlace(const std::string& target, std::string_view bytes) {
  const FileContents old = ReadWholeFile(target, kMaxRestorableBytes);
  if (old.error) return old.error;
  const FileDescriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
  if (file.get() < 0) return LastSystemError();
  if (OverwriteFrom0(file.get(), bytes)) return std::nullopt;
  const FileError error = LastSystemError();
  static_cast<void>(OverwriteFrom0(file.get(), old.bytes));
  return error;
}

bool FolderRefusesNewEntries(int error) { return error == EACCES || error == EPERM; }

}  // namespace

std::optional<FileError> ReplaceFileContents(const std::string& path, std::string_view bytes) {
  if (path.empty()) return ErrorOf(FileErrorKind::NoFileName);
  if (IsDialogPreset(path)) return ErrorOf(FileErrorKind::DialogPreset);
  const std::string target = FileBehindLinks(path);
  TargetState state;
  if (auto failure = ReadTargetState(target, state)) return failure;

  PendingFile pending(target);
  if (pending.opened()) return ReplaceByRename(pending, target, bytes, state);
  const FileError refused = LastSystemError();
  if (state.exists && FolderRefusesNewEntries(refused.systemError)) return ReplaceInPlace(target, bytes);
  return refused;
}

}  // namespace velmaro

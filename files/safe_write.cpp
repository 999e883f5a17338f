#include "files/safe_write.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace velmaro {
namespace {

// Room left for ".", ".XXXXXX" within the 255-byte limit of one name on common file systems.
constexpr std::size_t kMaxTemporaryStem = 240;

WriteFailure FailureOf(int error) {
  // strerror follows LC_MESSAGES, which the window toolkit sets from the user's environment; the
  // reason is meant to be the same words everywhere, so it is looked up in the C locale.
  const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  if (c == static_cast<locale_t>(nullptr)) return WriteFailure{std::strerror(error)};
  WriteFailure failure{strerror_l(error, c)};
  freelocale(c);
  return failure;
}

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
  mode_t mode = 0;
  std::optional<uid_t> owner;
  std::optional<gid_t> group;
};

std::optional<WriteFailure> ReadTargetState(const std::string& path, TargetState& state) {
  if (NameOf(path).empty()) return FailureOf(EISDIR);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT) return FailureOf(errno);
    state.mode = ModeForNewFile();
    return std::nullopt;
  }
  if (S_ISDIR(info.st_mode)) return FailureOf(EISDIR);
  if (!S_ISREG(info.st_mode)) return WriteFailure{"Not a regular file"};
  // A file made read-only stays so: the rename alone would replace it wherever the folder is writable.
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return FailureOf(errno);
  state = TargetState{static_cast<mode_t>(info.st_mode & 07777), info.st_uid, info.st_gid};
  return std::nullopt;
}

// The temporary file: removed again unless it was renamed into place.
class PendingFile {
 public:
  explicit PendingFile(const std::string& target) {
    std::string pattern = FolderOf(target) + "/." + NameOf(target).substr(0, kMaxTemporaryStem) + ".XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    fd_ = ::mkostemp(buffer.data(), O_CLOEXEC);  // not inherited by programs the window starts
    if (fd_ >= 0) name_ = buffer.data();
  }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.empty() && !renamed_) ::unlink(name_.c_str());
  }

  bool opened() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  const std::string& name() const { return name_; }

  // A failed close may be the first report of a full disk on some file systems, so it counts.
  bool close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }
  void markRenamed() { renamed_ = true; }

 private:
  int fd_ = -1;
  std::string name_;
  bool renamed_ = false;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    if (written == 0) {
      errno = ENOSPC;  // a regular file that accepts nothing has no room left
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Only a privileged process may give a file away; for anyone else the new file simply belongs to the
// writer, as it would after deleting and recreating the file, so a refusal is not a failure.
void KeepOwnersIfAllowed(int fd, const TargetState& state) {
  if (!state.owner || !state.group) return;
  [[maybe_unused]] const int refused = ::fchown(fd, *state.owner, *state.group);
}

// Owners first: a change of owner clears the set-user-ID and set-group-ID bits that the mode restores.
bool ApplyTargetState(int fd, const TargetState& state) {
  KeepOwnersIfAllowed(fd, state);
  return ::fchmod(fd, state.mode) == 0;
}

// The rename is recorded by the folder; without this a crash right after saving could bring back the
// old file. The new content is complete either way, so a folder that cannot be synced is no failure.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  [[maybe_unused]] const int unsynced = ::fsync(fd);
  ::close(fd);
}

// The dialogs' preset names ("*.txt", left behind by a cancel) and other patterns name no file the user
// meant; a file literally called "*.txt" would only surprise them.
bool IsPatternName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
  return name.find_first_of("*?") != std::string_view::npos;
}

}  // namespace

std::optional<WriteFailure> ReplaceFileContents(const std::string& path, std::string_view bytes) {
  if (path.empty()) return WriteFailure{"No file name"};
  if (IsPatternName(path)) return WriteFailure{"Not a file name"};
  const std::string target = FileBehindLinks(path);
  TargetState state;
  if (auto failure = ReadTargetState(target, state)) return failure;

  PendingFile pending(target);
  if (!pending.opened()) return FailureOf(errno);
  if (!WriteAll(pending.fd(), bytes)) return FailureOf(errno);
  if (!ApplyTargetState(pending.fd(), state)) return FailureOf(errno);
  if (::fsync(pending.fd()) != 0) return FailureOf(errno);
  if (!pending.close()) return FailureOf(errno);
  if (::rename(pending.name().c_str(), target.c_str()) != 0) return FailureOf(errno);
  pending.markRenamed();
  SyncFolder(FolderOf(target));
  return std::nullopt;
}

}  // namespace velmaro

#include "files/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>

namespace velmaro {
namespace {

// Closes the descriptor however the read ends.
class ReadOnlyFile {
 public:
  // Non-blocking so that opening a pipe cannot hang; regular files ignore the flag.
  explicit ReadOnlyFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
  ~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

FileContents Failed(FileError error) { return FileContents{{}, error}; }

FileContents Failed(FileErrorKind kind) { return Failed(FileError{kind, 0}); }

}  // namespace

FileContents ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  if (path.empty()) return Failed(FileErrorKind::NoFileName);
  const ReadOnlyFile file(path);
  if (file.fd() < 0) return Failed(LastSystemError());
  struct stat info {};
  if (::fstat(file.fd(), &info) != 0) return Failed(LastSystemError());
  if (S_ISDIR(info.st_mode)) return Failed(FileErrorKind::IsFolder);
  if (!S_ISREG(info.st_mode)) return Failed(FileErrorKind::NotRegularFile);
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) return Failed(FileErrorKind::TooLarge);
  FileContents contents;
  contents.bytes.reserve(static_cast<std::size_t>(info.st_size));
  std::array<char, 65536> chunk{};
  for (;;) {
    const ssize_t got = ::read(file.fd(), chunk.data(), chunk.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Failed(LastSystemError());
    if (got == 0) return contents;
    // The count while reading still holds for a file that grows after its size was looked at.
    if (contents.bytes.size() + static_cast<std::size_t>(got) > maxBytes) return Failed(FileErrorKind::TooLarge);
    contents.bytes.append(chunk.data(), static_cast<std::size_t>(got));
  }
}

}  // namespace velmaro

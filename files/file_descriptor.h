#pragma once
// An open file descriptor with one owner: closed when the owner goes, never twice; and the two writes
// every durable file needs.

#include <unistd.h>

#include <string>
#include <string_view>
#include <utility>

namespace velmaro {

class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { reset(); }

  int get() const { return fd_; }
  bool isOpen() const { return fd_ >= 0; }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  // A failed close may be the first report of a full disk on some file systems, so it counts.
  bool close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }

 private:
  int fd_ = -1;
};

// Writes every byte, however many calls it takes. False with errno set on failure; a file that takes
// nothing more is ENOSPC.
bool WriteAll(int fd, std::string_view bytes);

// Flushes the folder's entries, so a file just created or renamed there survives a power cut. A folder
// that cannot be opened or flushed is left as it is: the file's own bytes are on the disk either way.
void SyncFolder(const std::string& folder);

}  // namespace velmaro

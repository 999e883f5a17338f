#include "files/state_folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace velmaro {
namespace {

constexpr const char* kOwnFolder = "/velmaro";

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

// The folder without trailing "/", and "/" itself as "", ready for a "/name" to be added.
std::string Base(std::string path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

std::string Parent(const std::string& folder) {
  const std::size_t slash = folder.rfind('/');
  return slash == std::string::npos || slash == 0 ? std::string("/") : folder.substr(0, slash);
}

// An existing folder is fine, anything else that exists is not; a missing parent is made first.
std::optional<FileError> MakeFolders(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0700) == 0) return std::nullopt;
  if (errno == ENOENT && folder != "/") {
    if (auto failure = MakeFolders(Parent(folder))) return failure;
    if (::mkdir(folder.c_str(), 0700) == 0) return std::nullopt;
  }
  if (errno != EEXIST) return LastSystemError();
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return LastSystemError();
  if (!S_ISDIR(info.st_mode)) return FileError{FileErrorKind::NotFound, ENOTDIR};
  return std::nullopt;
}

}  // namespace

std::string StateFolderFrom(const char* xdgStateHome, const char* home) {
  if (IsAbsolute(xdgStateHome)) return Base(xdgStateHome) + kOwnFolder;
  if (IsAbsolute(home)) return Base(home) + "/.local/state" + kOwnFolder;
  return {};
}

std::string StateFolder() { return StateFolderFrom(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")); }

std::optional<FileError> CreateStateFolder(const std::string& folder) {
  if (folder.empty()) return FileError{FileErrorKind::NoFileName, 0};
  return MakeFolders(Base(folder));
}

}  // namespace velmaro

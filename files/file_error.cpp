#include "files/file_error.h"

#include <cerrno>

namespace velmaro {

FileErrorKind FileErrorKindOf(int systemError) {
  switch (systemError) {
    case ENOENT:
    case ENOTDIR: return FileErrorKind::NotFound;
    case EISDIR: return FileErrorKind::IsFolder;
    case EACCES:
    case EPERM: return FileErrorKind::PermissionDenied;
    case EROFS: return FileErrorKind::ReadOnlyFileSystem;
    case ENOSPC:
    case EDQUOT: return FileErrorKind::DiskFull;
    case EFBIG: return FileErrorKind::TooLarge;
    default: return FileErrorKind::Other;
  }
}

FileError LastSystemError() { return FileError{FileErrorKindOf(errno), errno}; }

}  // namespace velmaro

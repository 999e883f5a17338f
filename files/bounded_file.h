#pragma once
// Reading a whole file into memory, up to a limit: the one way files/ and the window read the files
// that users bring (info files, the manual, a KML document shown in the rich-text box).

#include <cstddef>
#include <optional>
#include <string>

#include "files/file_error.h"

namespace velmaro {

struct FileContents {
  std::string bytes;              // the whole file; empty when error is set
  std::optional<FileError> error;
};

// Only an ordinary file is read (a symbolic link counts as the file it points to); a folder gives
// IsFolder, a device, pipe or socket NotRegularFile without a single read, so a pipe cannot block the
// window. A file of more than maxBytes bytes, also one that grows past them while it is read, gives
// TooLarge. Any failed read makes the whole file unreadable: never half a file.
FileContents ReadWholeFile(const std::string& path, std::size_t maxBytes);

}  // namespace velmaro

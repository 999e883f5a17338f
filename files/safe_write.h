#pragma once
// Replacing a file only once its new content is complete: written to a temporary file in the same
// folder (".<name>.XXXXXX"), flushed to the disk, then renamed over the old one. A failure at any step
// leaves the previous file byte for byte as it was and removes the temporary file.
//
// The replaced file keeps its permission bits (and, where the process may set them, its owner and
// group); a new file gets 0666 less the process umask, as a plain create would. A file the process
// may not write (a read-only file) is refused like a read-only folder. A path that is a
// symbolic link replaces the file the link points to and leaves the link in place.

#include <optional>
#include <string>
#include <string_view>

namespace velmaro {

struct WriteFailure {
  // The system's own words, in English whatever the locale: the C library's text for the error
  // ("Permission denied", "No space left on device", "Is a directory", "No such file or directory",
  // "File too large"), or "No file name" for the empty path and "Not a regular file" for a device,
  // pipe or socket, which is never replaced.
  std::string reason;
};

// Nothing on success.
std::optional<WriteFailure> ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace velmaro

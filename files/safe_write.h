#pragma once
// Replacing a file as a whole: a save either leaves the complete new content or, where the folder
// allows a temporary file, the old file byte for byte as it was.
//
// The new content goes to a temporary file in the same folder (".<name>.XXXXXX"), is flushed to the
// disk and renamed over the old file; a failure at any step removes the temporary file and leaves the
// old one untouched. A folder that refuses new entries (no write permission on it) cannot hold the
// temporary file; an existing file there that the process may write is then written in place, and when
// that write fails its old bytes are put back. An old file that cannot be read whole first (one over
// kMaxRestorableBytes: TooLarge, or one the process may not read) is not risked: the save is refused.
//
// The replaced file keeps its permission bits (and, where the process may set them, its owner and
// group); a new file gets 0666 less the process umask, as a plain create would. A file the process may
// not write (a read-only file) is refused. A path that is a symbolic link replaces the file the link
// points to and leaves the link in place. A name whose last component is one of the file dialogs'
// presets ("*.jpg", "*.txt", "*.info", "*.kml") names no file: it is what a cancelled dialog leaves,
// and is refused with DialogPreset; any other name is taken literally, "why?.jpg" and "a*b.txt" included.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "files/file_error.h"

namespace velmaro {

inline constexpr std::size_t kMaxRestorableBytes = std::size_t{64} * 1024 * 1024;

// Nothing on success.
std::optional<FileError> ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace velmaro

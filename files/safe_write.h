#pragma once
// Replacing a file only once its new content is complete: written to a temporary file in the same
// folder, flushed, then renamed over the old one. A failure at any step leaves the previous file byte
// for byte as it was and removes the temporary file.

#include <optional>
#include <string>
#include <string_view>

namespace velmaro {

struct WriteFailure {
  std::string reason;  // the system's own words, e.g. "Permission denied"
};

// Nothing on success.
std::optional<WriteFailure> ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace velmaro

#pragma once

#include <string>

namespace velmaro {

// 1 when an ordinary file (not a folder, not a device) named exactly Fi exists, 0 otherwise. A number,
// not a bool: callers compare it with 1. A symbolic link counts as the file it points to. Never throws:
// a name that cannot be tested (no permission on a folder of the path, a name too long, the empty
// name) gives 0, so the caller treats the file as missing.
int FileExists(const std::string& Fi);

}  // namespace velmaro

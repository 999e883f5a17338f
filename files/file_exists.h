#pragma once

#include <string>

namespace velmaro {

// 1 when an ordinary file (not a folder) named exactly Fi exists, 0 otherwise. A number, not a bool:
// callers compare it with 1.
int FileExists(const std::string& Fi);

}  // namespace velmaro

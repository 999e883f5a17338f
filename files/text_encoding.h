#pragma once
// Character sets of files written elsewhere: we write UTF-8, and read UTF-8 or, when the bytes are not
// valid UTF-8, Windows-1252 (files written on Windows with accented folder names).

#include <string>
#include <string_view>

namespace velmaro {

bool IsValidUtf8(std::string_view bytes);

// UTF-8 unchanged when valid; otherwise every byte decoded as Windows-1252 into UTF-8.
std::string DecodeUtf8OrWindows1252(std::string_view bytes);

}  // namespace velmaro

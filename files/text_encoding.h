#pragma once
// Character sets of files written elsewhere: we write UTF-8, and read UTF-8 or, when the bytes are not
// valid UTF-8, Windows-1252 (files written on Windows with accented folder names).

#include <cstddef>
#include <string>
#include <string_view>

namespace velmaro {

// Length in bytes (1..4) of the well-formed UTF-8 sequence that starts at bytes[pos], or 0 when the
// bytes there are not one (stray continuation byte, overlong form, surrogate, beyond U+10FFFF,
// sequence cut by the end). pos must be below bytes.size().
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t pos);

bool IsValidUtf8(std::string_view bytes);

// UTF-8 unchanged when valid; otherwise every byte decoded as Windows-1252 into UTF-8. The five bytes
// that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 control of the same
// number, so no byte is ever lost.
std::string DecodeUtf8OrWindows1252(std::string_view bytes);

// The bytes without a leading UTF-8 byte order mark (EF BB BF), which some Windows editors add.
std::string_view WithoutUtf8Bom(std::string_view bytes);

}  // namespace velmaro

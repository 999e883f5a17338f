#pragma once
// Character sets of the files the system reads: it writes UTF-8, and reads UTF-8 or, when the bytes are
// not valid UTF-8, Windows-1252 (files written on Windows, manuals saved by Windows word processors).
// One module for the info file, the plain-text box content and the RTF reader.

#include <cstddef>
#include <string>
#include <string_view>

namespace velmaro {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Length in bytes (1..4) of the well-formed UTF-8 sequence that starts at bytes[pos], or 0 when the
// bytes there are not one (stray continuation byte, overlong form, surrogate, beyond U+10FFFF,
// sequence cut by the end). pos must be below bytes.size().
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t pos);

bool IsValidUtf8(std::string_view bytes);

// The Unicode code point of a Windows-1252 byte. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same number, so no byte is ever lost.
char32_t Windows1252CodePoint(unsigned char byte);

// Appends the UTF-8 form of a code point; a surrogate or a value beyond U+10FFFF appends U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// Every byte read as Windows-1252, written as UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 unchanged when valid; otherwise every byte decoded as Windows-1252.
std::string DecodeUtf8OrWindows1252(std::string_view bytes);

// The bytes without a leading UTF-8 byte order mark (EF BB BF), which some Windows editors add.
std::string_view WithoutUtf8Bom(std::string_view bytes);

}  // namespace velmaro

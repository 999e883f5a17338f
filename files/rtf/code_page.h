#pragma once
// The few character-set conversions the rich-text readers need, kept here so that the reader depends
// on nothing but the standard library.

#include <string>
#include <string_view>

namespace velmaro::rtf {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The Unicode code point of a Windows-1252 byte. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same number, so no byte is lost.
char32_t Windows1252ToCodePoint(unsigned char byte);

// Appends the UTF-8 form of a code point; a surrogate or a value beyond U+10FFFF appends U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF, no sequence cut by the end.
bool IsValidUtf8(std::string_view bytes);

// Every byte read as Windows-1252, written as UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace velmaro::rtf

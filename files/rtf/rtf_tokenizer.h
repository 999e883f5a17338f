#pragma once
// Splits RTF bytes into groups, control words, control symbols, hex escapes and plain text. The
// tokenizer is total: every byte sequence yields a finite token stream ending with End, and each
// call to Next consumes at least one byte until then.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace velmaro::rtf {

enum class TokenKind {
  GroupOpen,      // "{"
  GroupClose,     // "}"
  ControlWord,    // "\b", "\fs24", "\u-3913"
  ControlSymbol,  // "\~", "\*", "\{", "\\", "\<newline>"
  HexByte,        // "\'e9"
  Text,           // plain bytes up to the next "\", "{", "}", CR or LF
  End,
};

// Parameters beyond this magnitude are clamped to it; the digits are still consumed.
inline constexpr std::int32_t kMaxParameter = 2'000'000'000;

struct Token {
  TokenKind kind = TokenKind::End;
  std::string_view word;                // ControlWord: its letters
  std::optional<std::int32_t> parameter;  // ControlWord: the number after the letters, if any
  char symbol = 0;                      // ControlSymbol: the character after the backslash
  unsigned char byte = 0;               // HexByte: the byte it stands for
  std::string_view text;                // Text: never empty
};

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view input) : input_(input) {}

  // The next token. "\binN" is returned as a control word after its N bytes of binary data have been
  // skipped (at most what remains). A backslash at the very end, or "\'" without two hex digits, is
  // dropped together with the hex digits that do follow it, and the next token is returned instead.
  Token Next();

 private:
  Token ReadEscape();
  Token ReadControlWord();
  std::optional<Token> ReadHexByte();
  std::optional<std::int32_t> ReadParameter();
  void SkipBinary(std::optional<std::int32_t> length);

  std::string_view input_;
  std::size_t pos_ = 0;
};

}  // namespace velmaro::rtf

#include "files/rtf/rtf_tokenizer.h"

#include <algorithm>

namespace velmaro::rtf {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool EndsText(char c) { return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n'; }

std::optional<int> HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

Token Simple(TokenKind kind) {
  Token token;
  token.kind = kind;
  return token;
}

}  // namespace

Token Tokenizer::Next() {
  while (pos_ < input_.size()) {
    const char c = input_[pos_];
    if (c == '{' || c == '}') {
      ++pos_;
      return Simple(c == '{' ? TokenKind::GroupOpen : TokenKind::GroupClose);
    }
    if (c == '\r' || c == '\n') {  // line ends in RTF source are not text
      ++pos_;
      continue;
    }
    if (c == '\\') {
      Token escape = ReadEscape();
      if (escape.kind != TokenKind::End) return escape;
      continue;  // a malformed escape: drop it and go on
    }
    const std::size_t start = pos_;
    while (pos_ < input_.size() && !EndsText(input_[pos_])) ++pos_;
    Token text = Simple(TokenKind::Text);
    text.text = input_.substr(start, pos_ - start);
    return text;
  }
  return Token{};
}

// Returns End for an escape that yields nothing.
Token Tokenizer::ReadEscape() {
  ++pos_;  // the backslash
  if (pos_ >= input_.size()) return Token{};
  const char c = input_[pos_];
  if (IsAsciiLetter(c)) return ReadControlWord();
  ++pos_;
  if (c == '\'') return ReadHexByte().value_or(Token{});
  Token symbol = Simple(TokenKind::ControlSymbol);
  symbol.symbol = c;
  return symbol;
}

Token Tokenizer::ReadControlWord() {
  const std::size_t start = pos_;
  while (pos_ < input_.size() && IsAsciiLetter(input_[pos_])) ++pos_;
  Token token = Simple(TokenKind::ControlWord);
  token.word = input_.substr(start, pos_ - start);
  token.parameter = ReadParameter();
  if (pos_ < input_.size() && input_[pos_] == ' ') ++pos_;  // the delimiting blank belongs to the word
  if (token.word == "bin") SkipBinary(token.parameter);
  return token;
}

std::optional<Token> Tokenizer::ReadHexByte() {
  int value = 0;
  for (int digit = 0; digit < 2; ++digit) {
    const auto hex = pos_ < input_.size() ? HexValue(input_[pos_]) : std::nullopt;
    if (!hex) return std::nullopt;
    value = value * 16 + *hex;
    ++pos_;
  }
  Token hex = Simple(TokenKind::HexByte);
  hex.byte = static_cast<unsigned char>(value);
  return hex;
}

std::optional<std::int32_t> Tokenizer::ReadParameter() {
  const bool negative = pos_ + 1 < input_.size() && input_[pos_] == '-' && IsDigit(input_[pos_ + 1]);
  if (negative) ++pos_;
  if (pos_ >= input_.size() || !IsDigit(input_[pos_])) return std::nullopt;
  std::int64_t value = 0;
  while (pos_ < input_.size() && IsDigit(input_[pos_])) {
    value = std::min<std::int64_t>(value * 10 + (input_[pos_] - '0'), kMaxParameter);
    ++pos_;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

void Tokenizer::SkipBinary(std::optional<std::int32_t> length) {
  if (!length || *length <= 0) return;
  pos_ += std::min(static_cast<std::size_t>(*length), input_.size() - pos_);
}

}  // namespace velmaro::rtf

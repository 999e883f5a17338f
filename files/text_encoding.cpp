#include "files/text_encoding.h"

#include <array>
#include <cstdint>

namespace velmaro {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

unsigned char ByteAt(std::string_view bytes, std::size_t pos) { return static_cast<unsigned char>(bytes[pos]); }

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Lowest and highest second byte allowed after a lead byte: the narrower ranges of E0, ED, F0 and F4 are
// what rule out overlong forms, UTF-16 surrogates and code points beyond U+10FFFF.
struct LeadRule {
  std::size_t length;
  unsigned char secondMin;
  unsigned char secondMax;
};

LeadRule RuleFor(unsigned char lead) {
  if (lead < 0x80) return {1, 0, 0};
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

// Code points of Windows-1252 bytes 0x80..0x9F; the five undefined bytes keep their own number.
constexpr std::array<std::uint16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

bool IsSurrogate(char32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

}  // namespace

std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t pos) {
  const LeadRule rule = RuleFor(ByteAt(bytes, pos));
  if (rule.length <= 1) return rule.length;
  if (bytes.size() - pos < rule.length) return 0;
  const unsigned char second = ByteAt(bytes, pos + 1);
  if (second < rule.secondMin || second > rule.secondMax) return 0;
  for (std::size_t k = 2; k < rule.length; ++k) {
    if (!IsContinuation(ByteAt(bytes, pos + k))) return 0;
  }
  return rule.length;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t length = Utf8SequenceLength(bytes, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

char32_t Windows1252CodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kWindows1252High[byte - 0x80];
  return byte;  // the rest of Windows-1252 is Latin-1
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (IsSurrogate(cp) || cp > 0x10FFFF) cp = kReplacementCharacter;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (const char c : bytes) AppendUtf8(out, Windows1252CodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string DecodeUtf8OrWindows1252(std::string_view bytes) {
  return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

std::string_view WithoutUtf8Bom(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  return bytes;
}

}  // namespace velmaro

#include "core/key_filter.h"

#include <string>

namespace velmaro {
namespace {

// Character codes are single bytes of the Windows code page; only ASCII letters have a case that
// matters for the allowed lists, which hold digits, ":" and ".".
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AllowedList(std::string_view validateString, bool editable) {
  std::string list;
  list.reserve(validateString.size() + 1);
  for (const char c : validateString) list += UpperAscii(c);
  if (editable) list += static_cast<char>(kBackspace);
  return list;
}

}  // namespace

std::int16_t ValiText(std::int16_t KeyIn, std::string_view ValidateString, bool Editable) {
  // A key press delivers 0..255; any other code has no character and cannot pass.
  if (KeyIn < 0 || KeyIn > 255) return 0;
  const char typed = UpperAscii(static_cast<char>(static_cast<unsigned char>(KeyIn)));
  const std::string list = AllowedList(ValidateString, Editable);
  return list.find(typed) != std::string::npos ? KeyIn : std::int16_t{0};
}

std::string_view AllowedCharacters(CoordinateType notation) {
  switch (notation) {
    case CoordinateType::Meters:
      return "0123456789";
    case CoordinateType::DegMinSec:
      return ":0123456789";
    case CoordinateType::DecimalDegrees:
      return ".0123456789";
  }
  return "";
}

std::int16_t FilterKey(std::int16_t KeyIn, NotationChoice notation) {
  if (!notation) return KeyIn;
  return ValiText(KeyIn, AllowedCharacters(*notation), true);
}

}  // namespace velmaro

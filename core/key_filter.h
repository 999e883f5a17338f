#pragma once
// Typing filter of the four edge fields.

#include <cstdint>
#include <string_view>

#include "core/coordinate_type.h"

namespace velmaro {

inline constexpr std::int16_t kBackspace = 8;

// KeyIn when the character (compared without regard to case) is in ValidateString, or is Backspace
// and Editable is true; otherwise 0, which the caller answers with a beep. Codes are single bytes of
// the Windows code page (0..255); any other code is refused.
std::int16_t ValiText(std::int16_t KeyIn, std::string_view ValidateString, bool Editable);

// The characters a notation admits: "0123456789", ":0123456789", ".0123456789".
// With no notation selected there is no list at all and every character passes (see FilterKey).
std::string_view AllowedCharacters(CoordinateType notation);

// The verdict for one typed character code (0..255): the code itself, or 0 when refused.
std::int16_t FilterKey(std::int16_t KeyIn, NotationChoice notation);

}  // namespace velmaro

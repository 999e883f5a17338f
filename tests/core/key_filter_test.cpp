#include "core/key_filter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace velmaro {
namespace {

constexpr std::int16_t Code(char c) { return static_cast<std::int16_t>(static_cast<unsigned char>(c)); }

TEST(ValiText, PassesListedCharactersWithoutRegardToCase) {
  const struct {
    const char* name;
    std::int16_t key;
    const char* allowed;
    bool editable;
    std::int16_t expected;
  } rows[] = {
      {"listed digit", Code('5'), "0123456789", true, Code('5')},
      {"unlisted letter", Code('a'), "0123456789", true, 0},
      {"backspace when editable", kBackspace, "0123456789", true, kBackspace},
      {"backspace when not editable", kBackspace, "0123456789", false, 0},
      {"lower case key, upper case list", Code('a'), "ABC", true, Code('a')},
      {"upper case key, lower case list", Code('A'), "abc", true, Code('A')},
      {"code zero", 0, "0123456789", true, 0},
      {"code page letter", 0xE4, "ABC", true, 0},
      {"listed code page byte", 0xB0, "\xB0", false, 0xB0},
      {"code above a byte", 300, "0123456789", true, 0},
      {"negative code", -1, "0123456789", true, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ValiText(row.key, row.allowed, row.editable), row.expected);
  }
}

TEST(AllowedCharacters, ListsDigitsAndTheNotationsSeparator) {
  EXPECT_EQ(AllowedCharacters(CoordinateType::Meters), "0123456789");
  EXPECT_EQ(AllowedCharacters(CoordinateType::DegMinSec), ":0123456789");
  EXPECT_EQ(AllowedCharacters(CoordinateType::DecimalDegrees), ".0123456789");
}

// Types the keys one after the other as a field would take them; counts the refusals (beeps).
struct Typed {
  std::string text;
  int beeps = 0;
};

Typed TypeKeys(const std::string& keys, NotationChoice notation) {
  Typed typed;
  for (const char key : keys) {
    if (FilterKey(Code(key), notation) == 0) {
      ++typed.beeps;
    } else {
      typed.text += key;
    }
  }
  return typed;
}

TEST(FilterKey, KeepsOnlyWhatTheNotationCanContain) {
  const struct {
    const char* name;
    std::string keys;
    NotationChoice notation;
    const char* text;
    int beeps;
  } rows[] = {
      {"letter in metres", "12a3", CoordinateType::Meters, "123", 1},
      {"colon text in degrees", "46:30:00", CoordinateType::DegMinSec, "46:30:00", 0},
      {"colon in decimal degrees", "46:5", CoordinateType::DecimalDegrees, "465", 1},
      {"colon and point in metres", "1:2.3", CoordinateType::Meters, "123", 2},
      {"no structure: points", "1..2", CoordinateType::DecimalDegrees, "1..2", 0},
      {"no structure: colons", ":5 46:30:00:00", CoordinateType::DegMinSec, ":546:30:00:00", 1},
      {"minus in metres", "-5", CoordinateType::Meters, "5", 1},
      {"minus in degrees", "-5", CoordinateType::DegMinSec, "5", 1},
      {"minus in decimal degrees", "-5", CoordinateType::DecimalDegrees, "5", 1},
      {"plus, blank and comma", "+ ,", CoordinateType::DecimalDegrees, "", 3},
      {"backspace in every notation", "\b", CoordinateType::Meters, "\b", 0},
      {"enter, escape and control chords", "\r\x1b\x03\x16\x18\x1a", CoordinateType::DegMinSec, "", 6},
      {"no notation passes everything", "a-:.\r", std::nullopt, "a-:.\r", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const Typed typed = TypeKeys(row.keys, row.notation);
    EXPECT_EQ(typed.text, row.text);
    EXPECT_EQ(typed.beeps, row.beeps);
  }
}

TEST(FilterKey, BackspacePassesInEveryNotation) {
  for (const CoordinateType notation :
       {CoordinateType::Meters, CoordinateType::DegMinSec, CoordinateType::DecimalDegrees}) {
    EXPECT_EQ(FilterKey(kBackspace, notation), kBackspace);
  }
}

}  // namespace
}  // namespace velmaro

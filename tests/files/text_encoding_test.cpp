#include "files/text_encoding.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace velmaro {
namespace {

using namespace std::string_literals;

struct Utf8Case {
  const char* name;
  std::string bytes;
  bool valid;
};

void PrintTo(const Utf8Case& c, std::ostream* os) { *os << c.name; }

class Utf8Validity : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Validity, AcceptsOnlyWellFormedSequences) { EXPECT_EQ(IsValidUtf8(GetParam().bytes), GetParam().valid); }

const Utf8Case kUtf8Cases[] = {
    {"empty", "", true},
    {"ascii", "C:\\maps\\a.jpg", true},
    {"nul_byte", "a\0b"s, true},
    {"two_byte", "r\xC3\xA9gion", true},
    {"three_byte", "\xE2\x82\xAC", true},
    {"four_byte", "\xF0\x9F\x97\xBA", true},
    {"highest_code_point", "\xF4\x8F\xBF\xBF", true},
    {"latin1_byte", "r\xE9gion", false},
    {"stray_continuation", "\x80", false},
    {"overlong_two_byte", "\xC0\xAF", false},
    {"overlong_three_byte", "\xE0\x80\xAF", false},
    {"overlong_four_byte", "\xF0\x80\x80\xAF", false},
    {"surrogate", "\xED\xA0\x80", false},
    {"beyond_unicode", "\xF4\x90\x80\x80", false},
    {"lead_f5", "\xF5\x80\x80\x80", false},
    {"cut_at_end", "ab\xE2\x82", false},
    {"missing_continuation", "\xE2\x28\xA1", false},
    {"byte_ff", "\xFF", false},
};

INSTANTIATE_TEST_SUITE_P(Bytes, Utf8Validity, testing::ValuesIn(kUtf8Cases),
                         [](const testing::TestParamInfo<Utf8Case>& info) { return info.param.name; });

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::string expected;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class Decoding : public testing::TestWithParam<DecodeCase> {};

TEST_P(Decoding, KeepsUtf8OrReadsWindows1252) {
  EXPECT_EQ(DecodeUtf8OrWindows1252(GetParam().bytes), GetParam().expected);
}

const DecodeCase kDecodeCases[] = {
    {"empty", "", ""},
    {"ascii_unchanged", "D:\\maps\\a.jpg", "D:\\maps\\a.jpg"},
    {"utf8_unchanged", "r\xC3\xA9gion", "r\xC3\xA9gion"},
    {"accent_1252", "C:\\Cartes\\r\xE9gion.jpg", "C:\\Cartes\\r\xC3\xA9gion.jpg"},
    {"euro_sign", "\x80", "\xE2\x82\xAC"},
    {"right_quote",
     "l\x92"
     "eau",
     "l\xE2\x80\x99"
     "eau"},
    {"y_diaeresis_9f", "\x9F", "\xC5\xB8"},
    {"y_diaeresis_ff", "\xFF", "\xC3\xBF"},
    {"no_break_space", "\xA0", "\xC2\xA0"},
    {"undefined_bytes_kept_as_c1", "\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
    {"mixed_reads_all_as_1252", "\xC3\xA9\xE9", "\xC3\x83\xC2\xA9\xC3\xA9"},
    {"nul_kept", "a\0\xE9"s, "a\0\xC3\xA9"s},
};

INSTANTIATE_TEST_SUITE_P(Bytes, Decoding, testing::ValuesIn(kDecodeCases),
                         [](const testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

struct BomCase {
  const char* name;
  std::string bytes;
  std::string expected;
};

void PrintTo(const BomCase& c, std::ostream* os) { *os << c.name; }

class ByteOrderMark : public testing::TestWithParam<BomCase> {};

TEST_P(ByteOrderMark, DroppedOnlyAtTheStart) { EXPECT_EQ(WithoutUtf8Bom(GetParam().bytes), GetParam().expected); }

const BomCase kBomCases[] = {
    {"leading_mark", "\xEF\xBB\xBF 1 \r\n", " 1 \r\n"},
    {"only_the_mark", "\xEF\xBB\xBF", ""},
    {"mark_twice_drops_one",
     "\xEF\xBB\xBF\xEF\xBB\xBF"
     "a",
     "\xEF\xBB\xBF"
     "a"},
    {"mark_later_kept", "a\xEF\xBB\xBF", "a\xEF\xBB\xBF"},
    {"partial_mark_kept",
     "\xEF\xBB"
     "a",
     "\xEF\xBB"
     "a"},
    {"no_mark", " 0 \r\n", " 0 \r\n"},
};

INSTANTIATE_TEST_SUITE_P(Bytes, ByteOrderMark, testing::ValuesIn(kBomCases),
                         [](const testing::TestParamInfo<BomCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velmaro

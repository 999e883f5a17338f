#include "core/dms.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/number_text.h"

namespace velmaro {
namespace {

// The value of whole fields, summed in the order the reader uses.
double Fields(double degrees, double minutes, double seconds) { return (degrees + minutes / 60) + seconds / 3600; }

struct ReadRow {
  const char* name;
  std::string text;
  double expected;
};

TEST(Degre2Decimal, ReadsTheFieldsByPosition) {
  const ReadRow rows[] = {
      {"whole minutes", "46:30:00", 46.5},
      {"seconds", "46:30:05", Fields(46, 30, 5)},
      {"leading zero minutes", "7:05:30", Fields(7, 5, 30)},
      {"negative degrees, minutes added", "-12:30:00", -11.5},
      {"no seconds field reads minutes twice", "46:30", Fields(46, 30, 30)},
      {"one-digit seconds read after a colon", "46:30:5", 46.5},
      {"no colon", "46", Fields(0, 46, 46)},
      {"empty", "", 0},
      {"one-digit minutes", "7:5:30", Fields(7, 5, 30)},
      {"short text", "1:2", Fields(1, 2, 0)},
      {"metres text", "12500", Fields(0, 12, 0)},
      {"letters", "abc", 0},
      {"non-ASCII marks", "46\xC2\xB0" "30'", Fields(0, 46, 0)},
      {"many colons", "46:30:00:00", 46.5},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Degre2Decimal(row.text), row.expected);
  }
}

TEST(Degre2Decimal, RoundsFieldsHalfToEvenAndDropsThoseBeyondSixteenBits) {
  const ReadRow rows[] = {
      {"half seconds round down to even", "46:30:0.5", 46.5},
      {"degrees 1.5 to 2", "1.5:00:00", 2},
      {"degrees 2.5 to 2", "2.5:00:00", 2},
      {"degrees 3.5 to 4", "3.5:00:00", 4},
      {"degrees -2.5 to -2", "-2.5:00:00", -2},
      {"half minutes to 0", "0:.5:00", 0},
      {"minutes with a point", "1:2.:00", Fields(1, 2, 0)},
      {"largest degrees", "32767:00:00", 32767},
      {"smallest degrees", "-32768:00:00", -32768},
      {"degrees above the range count 0", "40000:30:00", 0.5},
      {"degrees below the range count 0", "-32769:00:00", 0},
      {"rounding up past the range counts 0", "32767.5:00:00", 0},
      {"rounding down to even stays in range", "32766.5:00:00", 32766},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Degre2Decimal(row.text), row.expected);
  }
}

TEST(Degre2Decimal, SecondsShowFifteenDigits) {
  EXPECT_EQ(NumberText(Degre2Decimal("46:30:05")), "46.5013888888889");
  EXPECT_EQ(NumberText(Degre2Decimal("7:05:30")), "7.09166666666667");
  EXPECT_EQ(NumberText(Degre2Decimal("46:30")), "46.5083333333333");
  EXPECT_EQ(NumberText(Degre2Decimal("46")), "0.779444444444444");
}

struct WriteRow {
  const char* name;
  double value;
  const char* expected;
};

TEST(Decimal2Degre, CutsToWholeSecondsWithTwoDigitFields) {
  const WriteRow rows[] = {
      {"half degree", 46.5, "46:30:00"},
      {"whole degrees", 7, "7:00:00"},
      {"below one second", 0.0002, "0:00:00"},
      {"negative floors the degrees", -11.5, "-12:30:00"},
      {"seconds cut, not rounded", 46.508333333, "46:30:29"},
      {"converter value", 11.36334, "11:21:48"},
      {"one-digit fields get a zero", 46.0855, "46:05:07"},
      {"not a number", std::numeric_limits<double>::quiet_NaN(), "0:00:00"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Decimal2Degre(row.value), row.expected);
  }
}

// Writing cuts the seconds, so a text read and written again can lose one second where the sum of
// the fields lies just below the whole second in double arithmetic.
TEST(Decimal2Degre, RereadsAColonTextToTheSameOrThePreviousSecond) {
  const struct {
    const char* text;
    const char* rewritten;
  } rows[] = {
      {"46:30:00", "46:30:00"}, {"8:30:00", "8:30:00"},   {"-12:30:00", "-12:30:00"},
      {"46:30:29", "46:30:29"}, {"46:05:07", "46:05:07"}, {"0:00:01", "0:00:01"},
      {"11:21:48", "11:21:47"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Decimal2Degre(Degre2Decimal(row.text)), row.rewritten);
  }
}

}  // namespace
}  // namespace velmaro

#include "core/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace velmaro {
namespace {

const std::string kHugeDigits = "1" + std::string(400, '0');
const std::string kTinyFraction = "0." + std::string(400, '0') + "1";

struct LeadingRow {
  const char* name;
  std::string text;
  double expected;
};

TEST(LeadingNumber, ReadsTheNumberATextBeginsWith) {
  const LeadingRow rows[] = {
      {"plain whole", "46", 46},
      {"blanks then colon text", "  46:30", 46},
      {"tab, sign and letters", "\t-12.5abc", -12.5},
      {"plus sign", "+3", 3},
      {"point first", ".5", 0.5},
      {"point last", "5.", 5},
      {"negative point first", "-.25", -0.25},
      {"second point stops", "12.5.3", 12.5},
      {"exponent is not read", "1e5", 1},
      {"comma is not a point", "1,5", 1},
      {"degree sign stops", "11\xC2\xB0 21'", 11},
      {"empty", "", 0},
      {"letters", "abc", 0},
      {"colon first", ":5", 0},
      {"lone point", ".", 0},
      {"lone sign", "-", 0},
      {"blank after sign", "- 5", 0},
      {"too large for a double", kHugeDigits, 0},
      {"too small for a double", kTinyFraction, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(LeadingNumber(row.text), row.expected);
  }
}

struct WholeRow {
  const char* name;
  std::string text;
  std::optional<double> expected;
};

TEST(WholeTextNumber, ReadsOnlyATextThatIsOneNumber) {
  const WholeRow rows[] = {
      {"blanks around", " 11.5 ", 11.5},
      {"tabs around a negative", "\t-3\t", -3},
      {"plus sign", "+7", 7},
      {"point last", "5.", 5},
      {"point first", ".5", 0.5},
      {"many digits", "11.3633388888889", 11.3633388888889},
      {"tiny fraction reads as zero", kTinyFraction, 0.0},
      {"letter after", "11.5x", std::nullopt},
      {"empty", "", std::nullopt},
      {"blanks only", "   ", std::nullopt},
      {"lone point", ".", std::nullopt},
      {"lone sign", "-", std::nullopt},
      {"exponent", "1e5", std::nullopt},
      {"inner blank", "1 000", std::nullopt},
      {"comma", "1,5", std::nullopt},
      {"two numbers", "11 21", std::nullopt},
      {"too large for a double", kHugeDigits, std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(WholeTextNumber(row.text), row.expected);
  }
}

struct TextRow {
  const char* name;
  double value;
  const char* expected;
};

TEST(NumberText, WritesAtMostFifteenSignificantDigitsWithoutExponent) {
  const TextRow rows[] = {
      {"whole", 46, "46"},
      {"negative whole", -12, "-12"},
      {"zero", 0.0, "0"},
      {"negative zero", -0.0, "0"},
      {"fifteen digits", 11.363338888888889, "11.3633388888889"},
      {"rounded at the fifteenth digit", 46.50138888888889, "46.5013888888889"},
      {"binary noise dropped", 0.1 + 0.2, "0.3"},
      {"five decimals", 8.12345, "8.12345"},
      {"small without exponent", 1e-5, "0.00001"},
      {"smaller without exponent", 1.5e-7, "0.00000015"},
      {"negative small", -0.000123, "-0.000123"},
      {"large without exponent", 1e20, "100000000000000000000"},
      {"large cut to fifteen digits", 1234567890123456789.0, "1234567890123460000"},
      {"rounding carries into a new digit", 99999999999999.99, "100000000000000"},
      {"not a number", std::numeric_limits<double>::quiet_NaN(), "0"},
      {"infinite", std::numeric_limits<double>::infinity(), "0"},
      {"negative infinite", -std::numeric_limits<double>::infinity(), "0"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(NumberText(row.value), row.expected);
  }
}

TEST(SignedNumberText, PutsABlankBeforeAValueThatIsNotNegative) {
  const TextRow rows[] = {
      {"positive", 11, " 11"},
      {"zero", 0.0, " 0"},
      {"negative zero", -0.0, " 0"},
      {"negative", -12, "-12"},
      {"fraction", 0.5, " 0.5"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(SignedNumberText(row.value), row.expected);
  }
}

TEST(Floor, GoesTowardMinusInfinity) {
  const struct {
    const char* name;
    double value;
    double expected;
  } rows[] = {
      {"positive fraction", 11.9, 11},
      {"negative half", -11.5, -12},
      {"whole", 5, 5},
      {"small negative", -0.1, -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Floor(row.value), row.expected);
  }
}

// A German process locale writes and reads "3,25"; the number texts must not follow it.
class GermanLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
      if (std::setlocale(LC_ALL, name) != nullptr && std::string(std::localeconv()->decimal_point) == ",") return;
    }
    GTEST_SKIP() << "no German locale installed";
  }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(GermanLocale, NumberTextsKeepThePoint) {
  EXPECT_EQ(NumberText(3.25), "3.25");
  EXPECT_EQ(SignedNumberText(-0.5), "-0.5");
  EXPECT_EQ(LeadingNumber("3.25"), 3.25);
  EXPECT_EQ(WholeTextNumber("3.25"), 3.25);
  EXPECT_EQ(WholeTextNumber("3,25"), std::nullopt);
}

}  // namespace
}  // namespace velmaro

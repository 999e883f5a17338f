#include "core/converter.h"

#include <gtest/gtest.h>

#include <string>

namespace velmaro {
namespace {

struct ToMarkedRow {
  const char* name;
  const char* decimal;
  const char* marked;
};

TEST(DecimalToMarked, WritesSignedFieldsWithMarks) {
  const ToMarkedRow rows[] = {
      {"start text", "11.36334", " 11°  21'  48.02''"},
      {"negative floors the degrees", "-11.5", "-12°  30'  0''"},
      {"half degree", "46.5", " 46°  30'  0''"},
      {"blanks around a whole value", " 7 ", " 7°  0'  0''"},
      {"seconds cut, not rounded", "0.0001388", " 0°  0'  0.49''"},
      {"letters", "abc", ""},
      {"empty", "", ""},
      {"comma", "1,5", ""},
      {"field output text", "OutPut", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(DecimalToMarked(row.decimal), row.marked);
  }
}

struct ToDecimalRow {
  const char* name;
  const char* marked;
  MarkedReadOutcome outcome;
  const char* decimal;
};

TEST(MarkedToDecimal, ReadsDegreesMinutesAndSeconds) {
  const ToDecimalRow rows[] = {
      {"converter form", " 11°  21'  48.02''", MarkedReadOutcome::Ok, " 11.3633388888889"},
      {"no seconds mark", "11° 30'", MarkedReadOutcome::Ok, " 11.5"},
      {"negative degrees", "-12°  30'  0''", MarkedReadOutcome::Ok, "-11.5"},
      {"degrees floored", "11.9° 0'", MarkedReadOutcome::Ok, " 11"},
      {"seconds mark right at the minute mark", "11° 30''", MarkedReadOutcome::Ok, " 11.5"},
      {"seconds without their mark", "11°30'15", MarkedReadOutcome::Ok, " 11.5"},
      {"minutes not a number count 0", "11°x'15''", MarkedReadOutcome::Ok, " 11.0041666666667"},
      {"seconds not a number count 0", "11°30'y''", MarkedReadOutcome::Ok, " 11.5"},
      {"minute mark before the degree sign", "11' 30°", MarkedReadOutcome::Ok, " 11"},
      {"minute mark inside the degree field", "1'1°", MarkedReadOutcome::Ok, " 1"},
      {"no marks", "11 21 48", MarkedReadOutcome::MissingMarks, ""},
      {"no minute mark", "11° 21", MarkedReadOutcome::MissingMarks, ""},
      {"no degree sign", "11 21' 48''", MarkedReadOutcome::MissingMarks, ""},
      {"empty", "", MarkedReadOutcome::MissingMarks, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const MarkedReadResult result = MarkedToDecimal(row.marked);
    EXPECT_EQ(result.outcome, row.outcome);
    EXPECT_EQ(result.text, row.decimal);
  }
}

TEST(Converter, MarkedFormReadsBackUpToTheCutSeconds) {
  const struct {
    const char* decimal;
    const char* readBack;
  } rows[] = {
      {"11.36334", " 11.3633388888889"},
      {"46.5", " 46.5"},
      {"-11.5", "-11.5"},
      {"0.25", " 0.25"},
      {"7", " 7"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.decimal);
    const MarkedReadResult result = MarkedToDecimal(DecimalToMarked(row.decimal));
    EXPECT_EQ(result.outcome, MarkedReadOutcome::Ok);
    EXPECT_EQ(result.text, row.readBack);
  }
}

}  // namespace
}  // namespace velmaro

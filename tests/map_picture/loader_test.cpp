// The map loader against three tables: files decoded by their content or refused, the preview divisor for a
// box, and the memory budget; and the block reduction's refusals. The pictures are the fuzz seeds; the expected
// previews lie in expected/.
#include "tests/common/case_table.h"
#include "ui/map_picture/map_picture_loader.h"
#include "ui/map_picture/memory_budget.h"
#include "ui/map_picture/preview_reduction.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace velmaro::map_picture;
using namespace velmaro::testing;
const std::string kHere = VELMARO_TEST_DIR "/";

QSize Size(const std::string& text) { return {std::stoi(text), std::stoi(text.substr(text.find('x') + 1))}; }

bool SamePixels(const QImage& a, const QImage& b) {  // premultiplied, the loader's format for alpha
  return a.convertToFormat(QImage::Format_ARGB32_Premultiplied) == b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

class Loads : public ::testing::TestWithParam<Case> {};
TEST_P(Loads, DecodeByContentOrRefuse) {
  const Case& row = GetParam();
  const QTemporaryDir folder;
  const QString path = folder.filePath("map.jpg"), seed = QString::fromStdString(VELMARO_SEED_DIR "/" + row[0]);
  ASSERT_TRUE(row[0] == "-" || (row[0] == "/" ? QDir().mkdir(path) : QFile::copy(seed, path)));
  const auto full = LoadFull(path);
  const bool loads = row[2] != "refused";
  ASSERT_EQ(full.has_value(), loads);
  if (!loads) return;
  const auto preview = PreviewOf(*full, Size(row[1]));
  ASSERT_TRUE(preview.has_value());
  EXPECT_EQ(full->size(), Size(row[2]));
  EXPECT_EQ(full->format(), row[3] == "RGB888"   ? QImage::Format_RGB888
                            : row[3] == "RGB32" ? QImage::Format_RGB32
                                                : QImage::Format_ARGB32_Premultiplied);
  EXPECT_TRUE(SamePixels(*full, QImage(seed)));
  EXPECT_TRUE(SamePixels(*preview, QImage(QString::fromStdString(kHere + "expected/" + row[0] + ".png"))));
}
INSTANTIATE_TEST_SUITE_P(Table, Loads, ::testing::ValuesIn(ReadCases(kHere + "loads.txt")));

class PreviewDivisors : public ::testing::TestWithParam<Case> {};
TEST_P(PreviewDivisors, LargestThatStillCoversTheBox) {
  EXPECT_EQ(PreviewDivisor(Size(GetParam()[0]), Size(GetParam()[1])), GetParam().integer(2));
}
INSTANTIATE_TEST_SUITE_P(Table, PreviewDivisors, ::testing::ValuesIn(ReadCases(kHere + "preview_divisors.txt")));

TEST(Reduction, RefusesOtherDivisorsAndFormats) {
  const QImage rgb(8, 8, QImage::Format_RGB32);
  EXPECT_TRUE(ReduceByDivisor(rgb, 3).isNull() && ReduceByDivisor(QImage(8, 8, QImage::Format_Grayscale8), 2).isNull());
}

class Budgets : public ::testing::TestWithParam<Case> {};
TEST_P(Budgets, SidesInRangeAndNeedWithinTheBudget) {
  const Case& row = GetParam();
  const QSize size = Size(row[0]);
  EXPECT_GE(PixelBytes(size), 0);
  const std::int64_t needed = row[1] == "pixels" ? PixelBytes(size) : std::stoll(row[1]);
  EXPECT_EQ(FitsBudget(size, needed, std::stoll(row[2])), row[3] == "fits");
}
INSTANTIATE_TEST_SUITE_P(Table, Budgets, ::testing::ValuesIn(ReadCases(kHere + "budgets.txt")));

// The sample sheet opened as `bash scripts/start` opens it, from the clone's top folder: the picture
// decoded by the map loader, the info file found by its companion name and read by the window's reader,
// and a left press at every labelled grid crossing of samples/crossings.txt captured as the window
// captures it, at the common screen densities. Meters floors, so a value a hair below the round one
// would read a metre less: every capture must give the printed values exactly.

#include <QImage>
#include <filesystem>
#include <gtest/gtest.h>

#include "core/capture.h"
#include "core/zoom.h"
#include "files/info_file.h"
#include "files/map_file_names.h"
#include "tests/common/case_table.h"
#include "map_picture/map_picture_loader.h"

namespace velmaro::test {
namespace {

using velmaro::testing::Case;
namespace fs = std::filesystem;

const std::string kRoot = VELMARO_SOURCE_DIR "/";
const std::string kMapPath = "samples/sample-sheet.jpg";  // as scripts/start passes it

// 1440 / dpi at 96, 120, 144 and 192 pixels an inch: the window's twips a screen pixel.
constexpr double kTwipsPerPixel[] = {15, 12, 10, 7.5};

struct OpenedSheet {
  QImage picture;
  InfoFileValues info;
};

const OpenedSheet& Sheet() {
  static const OpenedSheet sheet = [] {
    const auto picture = map_picture::LoadFull(QString::fromStdString(kRoot + kMapPath));
    return OpenedSheet{picture.value_or(QImage()), ReadInfoFile(InfoFileName(kRoot + kMapPath))};
  }();
  return sheet;
}

std::int64_t Edge(const std::string& text) { return std::stoll(text); }

// The picture's size, the frame and the captions are those the captures below need; what they cannot tell
// apart is checked here: metres (decimal degrees would cut 437000 to the same text) and the file's size.
TEST(SampleSheet, OpensCalibratedInMetres) {
  EXPECT_LE(fs::file_size(kRoot + kMapPath), 1500u * 1000u);
  EXPECT_EQ(Sheet().info.notation, CoordinateType::Meters);
  // Line 4 names the picture as scripts/start opens it, so the path field keeps what it was given.
  EXPECT_EQ(Sheet().info.mapPath, kMapPath);
}

class Crossings : public ::testing::TestWithParam<Case> {};

TEST_P(Crossings, CaptureGivesThePrintedValues) {
  const Case& row = GetParam();
  const OpenedSheet& sheet = Sheet();
  // The row agrees with the frame in whole numbers (the picture's 4000 pixels span R - L metres), so a
  // capture that floors must meet the printed values exactly.
  const MapFrame& frame = sheet.info.frame;
  const std::int64_t width = sheet.picture.width(), height = sheet.picture.height();
  EXPECT_EQ(Edge(frame.left) * width + row.integer(0) * (Edge(frame.right) - Edge(frame.left)), row.integer(2) * width);
  EXPECT_EQ(Edge(frame.top) * height + row.integer(1) * (Edge(frame.bottom) - Edge(frame.top)), row.integer(3) * height);
  for (const double twips : kTwipsPerPixel) {
    SCOPED_TRACE("twips a pixel: " + std::to_string(twips));
    const CanvasSize canvas{sheet.picture.width() * twips, sheet.picture.height() * twips};
    PointTable table;
    Cursor cursor;
    const CaptureResult result =
        CapturePoint(table, cursor, sheet.info.frame, sheet.info.notation, PixelToPicture(row.integer(0), 1.0, twips),
                     PixelToPicture(row.integer(1), 1.0, twips), canvas);
    ASSERT_EQ(result.outcome, CaptureOutcome::Captured);
    const PointRow& point = table.row(1);
    EXPECT_EQ(point.xLetter + " " + point.xText + " " + point.yLetter + " " + point.yText,
              "E " + row[2] + " N " + row[3]);
  }
}

// Mean grey of the pixels from `centre` 150 steps each way, without the 6 nearest it (the other line)
// and any outside `area`.
double MeanGrey(const QImage& picture, QPoint centre, QPoint step, const QRect& area) {
  double sum = 0;
  int count = 0;
  for (int k = -150; k <= 150; ++k) {
    const QPoint p = centre + k * step;
    if (std::abs(k) <= 6 || !area.contains(p)) continue;
    sum += qGray(picture.pixel(p));
    ++count;
  }
  return count ? sum / count : 255;
}

// Across each of the two lines near the crossing the darkest pixel is the listed one, so a press on
// the line as the eye finds it is a press on the round value.
TEST_P(Crossings, PictureShowsTheLinesThere) {
  const Case& row = GetParam();
  const QImage& picture = Sheet().picture;
  ASSERT_FALSE(picture.isNull());
  const QPoint crossing(row.integer(0), row.integer(1));
  const QRect body(QPoint(200, 240), QPoint(3800, 2640));  // the outermost crossings of the table
  int darkestColumn = 0, darkestRow = 0;
  double columnGrey = 256, rowGrey = 256;
  for (int shift = -3; shift <= 3; ++shift) {
    const double down = MeanGrey(picture, crossing + QPoint(shift, 0), QPoint(0, 1), body.adjusted(-4, 0, 4, 0));
    const double across = MeanGrey(picture, crossing + QPoint(0, shift), QPoint(1, 0), body.adjusted(0, -4, 0, 4));
    if (down < columnGrey) columnGrey = down, darkestColumn = shift;
    if (across < rowGrey) rowGrey = across, darkestRow = shift;
  }
  EXPECT_EQ(darkestColumn, 0) << "the line through column " << crossing.x();
  EXPECT_EQ(darkestRow, 0) << "the line through row " << crossing.y();
}

INSTANTIATE_TEST_SUITE_P(Table, Crossings,
                         ::testing::ValuesIn(velmaro::testing::ReadCases(kRoot + "samples/crossings.txt")),
                         [](const auto& info) { return velmaro::testing::CaseTestName(info.param, info.index); });

}  // namespace
}  // namespace velmaro::test

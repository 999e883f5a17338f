// Names that lead to no loadable picture are refused by every entry point without a crash, and pictures whose
// content does not match their name load by content.
#include "tests/map_picture/test_pictures.h"
#include "ui/map_picture/map_picture_loader.h"

#include <turbojpeg.h>

#include <QDir>

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace velmaro::map_picture {
namespace {

using testing::TestFolder;

constexpr QSize kPictureSize{160, 120};

QByteArray SmallJpeg() { return testing::EncodeJpeg(testing::TexturedPicture(kPictureSize, 5), 90, TJSAMP_420); }

QByteArray RandomBytes(int count, unsigned seed) {
  std::mt19937 random(seed);
  QByteArray bytes(count, Qt::Uninitialized);
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

// Overwrites a stretch in the middle of the entropy-coded data, well after the headers.
QByteArray ScrambledJpeg() {
  QByteArray jpeg = SmallJpeg();
  const QByteArray noise = RandomBytes(256, 99);
  jpeg.replace(jpeg.size() / 2, noise.size(), noise);
  return jpeg;
}

struct HostileCase {
  const char* name;
  std::function<QString(const TestFolder&)> make;  // returns the path to load
  std::optional<QSize> loadedSize;                 // nullopt: every load is refused
  std::optional<QSize> headerSize;                 // what PictureSize answers
};

const HostileCase kHostileCases[] = {
    {"MissingFile", [](const TestFolder& f) { return f.Path("absent.jpg"); }, std::nullopt, std::nullopt},
    {"EmptyPath", [](const TestFolder&) { return QString(); }, std::nullopt, std::nullopt},
    {"ZeroBytes", [](const TestFolder& f) { return f.Write("empty.jpg", {}); }, std::nullopt, std::nullopt},
    {"JpegTruncatedAtHalf",
     [](const TestFolder& f) { return f.Write("half.jpg", SmallJpeg().left(SmallJpeg().size() / 2)); }, std::nullopt,
     kPictureSize},
    {"JpegCutInsideHeader", [](const TestFolder& f) { return f.Write("head.jpg", SmallJpeg().left(40)); }, std::nullopt,
     std::nullopt},
    {"JpegWithScrambledData", [](const TestFolder& f) { return f.Write("scrambled.jpg", ScrambledJpeg()); },
     std::nullopt, kPictureSize},
    {"RandomBytes", [](const TestFolder& f) { return f.Write("noise.jpg", RandomBytes(4096, 1234)); }, std::nullopt,
     std::nullopt},
    {"RandomBytesAfterJpegMarker",
     [](const TestFolder& f) { return f.Write("marker.jpg", QByteArray("\xFF\xD8\xFF", 3) + RandomBytes(4096, 77)); },
     std::nullopt, std::nullopt},
    {"TextNamedJpg", [](const TestFolder& f) { return f.Write("notes.jpg", "Map of the valley\r\nsheet 12\r\n"); },
     std::nullopt, std::nullopt},
    {"FolderNamedJpg",
     [](const TestFolder& f) {
       QDir().mkpath(f.Path("x.jpg"));
       return f.Path("x.jpg");
     },
     std::nullopt, std::nullopt},
    {"ClaimsMaximumJpegSize",
     [](const TestFolder& f) { return f.Write("huge.jpg", testing::WithClaimedJpegSize(SmallJpeg(), {65535, 65535})); },
     std::nullopt, std::nullopt},
    {"ClaimsOneSideOverTheLimit",
     [](const TestFolder& f) { return f.Write("wide.jpg", testing::WithClaimedJpegSize(SmallJpeg(), {65001, 10})); },
     std::nullopt, std::nullopt},
    {"ClaimsLargeSizeWithoutTheData",
     [](const TestFolder& f) {
       return f.Write("large.jpg", testing::WithClaimedJpegSize(SmallJpeg(), {60000, 60000}));
     },
     std::nullopt, QSize(60000, 60000)},
    {"ClaimsZeroHeight",
     [](const TestFolder& f) { return f.Write("flat.jpg", testing::WithClaimedJpegSize(SmallJpeg(), {160, 0})); },
     std::nullopt, std::nullopt},
    {"PngNamedJpg",
     [](const TestFolder& f) {
       return f.Write("png.jpg", testing::QtEncoded(testing::TexturedPicture(kPictureSize, 5), "PNG"));
     },
     kPictureSize, kPictureSize},
    {"JpegNamedBmp", [](const TestFolder& f) { return f.Write("jpeg.bmp", SmallJpeg()); }, kPictureSize, kPictureSize},
    {"JpegWithoutExtension", [](const TestFolder& f) { return f.Write("sheet12", SmallJpeg()); }, kPictureSize,
     kPictureSize},
    {"NonAsciiPathWithBlanksCommasAndQuotes",
     [](const TestFolder& f) {
       QDir().mkpath(f.Path(QStringLiteral("Cartes été")));
       return f.Write(QStringLiteral("Cartes été/Ölberg, \"Süd\" 'Ost' 地図.jpg"), SmallJpeg());
     },
     kPictureSize, kPictureSize},
};

class HostileFileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileFileTest, EveryEntryPointRefusesOrLoadsByContent) {
  const HostileCase& row = GetParam();
  TestFolder folder;
  const QString path = row.make(folder);

  const auto full = LoadFull(path);
  const auto preview = LoadPreview(path, kPreviewBoxPixels);
  const auto opened = LoadMapPicture(path, kPreviewBoxPixels);
  EXPECT_EQ(PictureSize(path), row.headerSize);
  ASSERT_EQ(full.has_value(), row.loadedSize.has_value());
  EXPECT_EQ(preview.has_value(), row.loadedSize.has_value());
  EXPECT_EQ(opened.has_value(), row.loadedSize.has_value());
  if (!row.loadedSize) return;
  EXPECT_EQ(full->size(), *row.loadedSize);
  EXPECT_EQ(opened->full.size(), *row.loadedSize);
  EXPECT_EQ(opened->preview.size(), *row.loadedSize);  // smaller than the box: shown unreduced
}

INSTANTIATE_TEST_SUITE_P(Files, HostileFileTest, ::testing::ValuesIn(kHostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmaro::map_picture

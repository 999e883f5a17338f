// The map pictures against their tables: files decoded by their content or refused, decodes in the background,
// the preview divisor for a box, the memory budget and zoomed views sampled from the rows; and the block
// reduction's refusals. The pictures are the fuzz seeds; the expected previews lie in expected/.
#include "tests/common/case_table.h"
#include "map_picture/band_progress.h"
#include "map_picture/map_decode.h"
#include "map_picture/map_picture_loader.h"
#include "map_picture/memory_budget.h"
#include "map_picture/preview_reduction.h"
#include "map_picture/scaled_pixels.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <sstream>

#include <gtest/gtest.h>
#include <jpeglib.h>

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

// A map with lines in every row, so that a cut file ends part way through its rows.
QImage TestMap(QSize size) {
  QImage map(size, QImage::Format_RGB32);
  map.fill(QColor(240, 235, 220));
  QPainter painter(&map);
  for (int y = 0; y < size.height(); y += 7) painter.setPen(QColor(y % 256, 90, 160)), painter.drawLine(0, y, size.width(), y + 40);
  return map;
}

void WriteTestMap(QSize size, const QString& path) { ASSERT_TRUE(TestMap(size).save(path, "JPG", 90)); }

void KeepShare(const QString& path, double percent) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.resize(static_cast<qint64>(file.size() * percent / 100)));
}

class Decodes : public ::testing::TestWithParam<Case> {};
TEST_P(Decodes, InTheBackground) {
  using State = MapDecode::State;
  const Case& row = GetParam();
  const QTemporaryDir folder;
  const QString path = folder.filePath("map.jpg");
  const bool made = row[0].find('x') != std::string::npos && row[0].find('.') == std::string::npos;
  if (made) WriteTestMap(Size(row[0]), path);
  const QString seed = QString::fromStdString(VELMARO_SEED_DIR "/" + row[0]);
  ASSERT_TRUE(made || row[0] == "-" || QFile::copy(seed, path));
  if (row[1] != "whole") KeepShare(path, std::stod(row[1]));
  const QSize box(587, 461);
  std::unique_ptr<MapDecode> decode;
  const MapDecode::Beginning beginning = MapDecode::Begin(path, box, decode);
  if (row[3] == "NotForMe" || row[3] == "Refused") {
    EXPECT_EQ(beginning, row[3] == "Refused" ? MapDecode::Beginning::Refused : MapDecode::Beginning::NotForMe);
    return;
  }
  ASSERT_EQ(beginning, MapDecode::Beginning::Begun);
  QImage picture = decode->takePicture(), preview = decode->takePreview();
  if (row[2] == "drop") return picture = preview = QImage(), decode.reset();
  row[2] == "stop" ? decode->stop() : decode->wait();
  const State expected = row[3] == "Decoded" ? State::Decoded : row[3] == "Failed" ? State::Failed : State::Stopped;
  EXPECT_EQ(decode->state(), expected);
  const bool partWay = decode->readyRows() > 0 && decode->readyRows() < picture.height();
  EXPECT_TRUE(expected != State::Failed || partWay);
  EXPECT_TRUE(expected != State::Stopped || decode->readyRows() < picture.height());
  if (expected != State::Decoded) return;
  const auto whole = LoadFull(path);
  ASSERT_TRUE(whole.has_value());
  EXPECT_EQ(decode->readyRows(), picture.height());
  EXPECT_EQ(decode->previewRows(), preview.height());
  EXPECT_TRUE(picture == *whole);
  EXPECT_TRUE(preview == PreviewOf(*whole, box));
}
INSTANTIATE_TEST_SUITE_P(Table, Decodes, ::testing::ValuesIn(ReadCases(kHere + "decodes.txt")));

// `map` as libjpeg-turbo's cjpeg -quality 90 writes it with `options` (-restart N in MCU rows, -restart NB in
// MCUs, -sample HxV for the first component, -grayscale), through the same library calls. Written here rather
// than by cjpeg itself: a child process does not survive ThreadSanitizer once Qt's pool threads run.
void WriteLikeCjpeg(const QImage& map, const QString& path, const std::string& options) {
  const QImage rgb = map.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);  // an error ends the test program
  jpeg_create_compress(&info);
  std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
  ASSERT_NE(file, nullptr);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(rgb.width());
  info.image_height = static_cast<JDIMENSION>(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  std::istringstream words(options);
  for (std::string option, value; words >> option;) {
    if (option == "-grayscale") jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (option == "-sample" && words >> value) {
      info.comp_info[0].h_samp_factor = std::stoi(value);
      info.comp_info[0].v_samp_factor = std::stoi(value.substr(value.find('x') + 1));
    }
    if (option == "-restart" && words >> value && value.back() == 'B') info.restart_interval = std::stoul(value);
    else if (option == "-restart") info.restart_in_rows = std::stoi(value);
  }
  jpeg_start_compress(&info, TRUE);
  for (int y = 0; y < rgb.height(); ++y) {
    auto* row = const_cast<JSAMPROW>(rgb.constScanLine(y));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

// Restart marker `number` (0 first) of a JPEG gets the next number instead: a marker out of sequence.
void RenumberMarker(const QString& path, int number) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  QByteArray bytes = file.readAll();
  int seen = 0;
  for (qsizetype i = bytes.indexOf("\xFF\xDA"); i + 1 < bytes.size(); ++i) {
    const auto code = static_cast<unsigned char>(bytes[i + 1]);
    if (static_cast<unsigned char>(bytes[i]) != 0xFF || code < 0xD0 || code > 0xD7 || seen++ < number) continue;
    bytes[i + 1] = static_cast<char>(0xD0 + (code - 0xD0 + 1) % 8);
    ASSERT_TRUE(file.seek(0) && file.write(bytes) == bytes.size());
    return;
  }
  FAIL() << "no restart marker " << number;
}

void Damage(const QString& path, const std::string& damage) {
  const std::string amount = damage.substr(damage.find(' ') + 1);
  if (damage.rfind("marker", 0) == 0) return RenumberMarker(path, std::stoi(amount));
  QFile file(path);
  const qint64 kept = damage.rfind("keep", 0) == 0 ? file.size() * std::stoi(amount) / 100 : file.size() - std::stoi(amount);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.resize(kept));
}

class Bands : public ::testing::TestWithParam<Case> {};
TEST_P(Bands, DecodeAsTheWholeFileDoes) {
  const Case& row = GetParam();
  const QTemporaryDir folder;
  const QString path = folder.filePath("map.jpg");
  WriteLikeCjpeg(TestMap(Size(row[0])), path, row[1]);
  QImageReader::setAllocationLimit(0);  // the loader leaves Qt's limit at what its last picture allowed
  const QImage whole = QImage(path).convertToFormat(QImage::Format_RGB888);  // before any damage
  if (row[2] != "-") Damage(path, row[2]);
  MapDecode::SetDecodersForTests(row.integer(3));
  std::unique_ptr<MapDecode> decode;
  const MapDecode::Beginning beginning = MapDecode::Begin(path, QSize(587, 461), decode);
  MapDecode::SetDecodersForTests(0);
  ASSERT_EQ(beginning, MapDecode::Beginning::Begun);
  const QImage picture = decode->takePicture();
  row[4] == "Stopped" ? decode->stop() : decode->wait();
  using State = MapDecode::State;
  EXPECT_EQ(decode->state(), row[4] == "Decoded" ? State::Decoded : row[4] == "Failed" ? State::Failed : State::Stopped);
  if (row[5] != "-") {
    EXPECT_EQ(decode->decodeRuns() > 1, row[5] == "several") << decode->decodeRuns() << " runs";
  }
  const int ready = decode->readyRows();
  EXPECT_TRUE(row[4] == "Decoded" ? ready == picture.height() : ready < picture.height());
  EXPECT_TRUE(picture.copy(0, 0, picture.width(), ready) == whole.copy(0, 0, whole.width(), ready));
}
INSTANTIATE_TEST_SUITE_P(Table, Bands, ::testing::ValuesIn(ReadCases(kHere + "bands.txt")));

// The bands' own rows cover the picture once, with no row left to nobody and none written by two decoders;
// the rows ready are those written without a gap from the top.
class BandRowsReady : public ::testing::TestWithParam<Case> {};
TEST_P(BandRowsReady, OnlyWithoutAGapFromTheTop) {
  const Case& row = GetParam();
  BandProgress progress(row.integer(0), row.integer(1));
  EXPECT_EQ(progress.ownBegin(0), 0);
  for (int band = 1; band < progress.bands(); ++band) EXPECT_EQ(progress.ownBegin(band), progress.ownEnd(band - 1));
  EXPECT_EQ(progress.ownEnd(progress.bands() - 1), row.integer(0));
  std::istringstream writes(row[2] == "-" ? "" : row[2]);
  for (std::string write; writes >> write;)
    progress.written(std::stoi(write), std::stoi(write.substr(write.find(':') + 1)));
  EXPECT_EQ(progress.readyRows(), row.integer(3));
}
INSTANTIATE_TEST_SUITE_P(Table, BandRowsReady, ::testing::ValuesIn(ReadCases(kHere + "band_progress.txt")));

// Every band is decoded by one decoder: a decoder goes on into the band below its own only when nobody has it.
TEST(BandProgress, GivesEachBandOnce) {
  BandProgress progress(5000, 1024);  // bands 0 to 4; band 0 is the first decoder's from the start
  EXPECT_EQ(progress.takeAny(), 1);
  EXPECT_FALSE(progress.takeNext(0));  // band 1 is the other decoder's
  EXPECT_TRUE(progress.takeNext(1));
  EXPECT_EQ(progress.takeAny(), 3);
  EXPECT_FALSE(progress.takeNext(1));  // band 2 taken already, by this decoder
  EXPECT_EQ(progress.takeAny(), 4);
  EXPECT_EQ(progress.takeAny(), -1);
  EXPECT_FALSE(progress.takeNext(4));
}

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

class ScaledViews : public ::testing::TestWithParam<Case> {};
TEST_P(ScaledViews, SampleOnlyTheReadyRows) {
  const Case& row = GetParam();
  QImage source(4, 2, QImage::Format_RGB888);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) source.setPixelColor(x, y, QColor(10 * x, 100 + 10 * y, 7));
  const double factor = row.number(0);
  const QRect shown(0, 0, static_cast<int>(4 * factor), static_cast<int>(2 * factor));
  const auto pair = [](const std::string& text) { return QPoint(std::stoi(text), std::stoi(text.substr(text.find(',') + 1))); };
  const QColor colour = ScaledRgb888(source, QRect(QPoint(0, 0), Size(row[1])), shown, factor).pixelColor(pair(row[2]));
  EXPECT_EQ(QString("%1,%2,%3").arg(colour.red()).arg(colour.green()).arg(colour.blue()).toStdString(), row[3]);
}
INSTANTIATE_TEST_SUITE_P(Table, ScaledViews, ::testing::ValuesIn(ReadCases(kHere + "scaled_views.txt")));
